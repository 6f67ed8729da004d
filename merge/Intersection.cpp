#include "merge/Intersection.h"

#include "model/CodePage.h"
#include "model/FileReplace.h"
#include "model/ReadExport.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

namespace {

const char* const kCrLf = "\r\n";

bool beginsWithObjectLine(const CObjektManager& manager, const CObjectRecord& record)
{
    const CSourceText* text = manager.text();
    if (text == nullptr)
        return false;
    std::string_view whole(text->str());
    size_t start = static_cast<size_t>(std::max(0, record.objectSpan.start()));
    if (start >= whole.size())
        return false;
    if (whole.compare(start, 2, kCrLf) == 0)
        start += 2;
    return whole.compare(start, 7, "OBJECT ") == 0;
}

bool cancelled(const std::atomic<bool>* cancel)
{
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

} // namespace

std::string_view objectLineTypeWord(const CObjectRecord& record)
{
    std::string_view header = record.headerText();
    return header.substr(0, header.find(' '));
}

size_t CObjectIndex::KeyHash::operator()(const Key& key) const
{
    size_t h = std::hash<long long>()((static_cast<long long>(key.type) << 32) ^ static_cast<unsigned>(key.number));
    return key.word.empty() ? h : h ^ (std::hash<std::string>()(key.word) * 31);
}

bool CObjectIndex::keyOf(const CObjectRecord& record, Key& key)
{
    if (record.manager == nullptr || !beginsWithObjectLine(*record.manager, record))
        return false;
    key.type = record.type;
    key.number = record.number;
    key.word = record.type == OT_NONE ? std::string(objectLineTypeWord(record)) : std::string();
    return true;
}

CObjectIndex::CObjectIndex(const CObjektManager& manager)
{
    m_first.reserve(static_cast<size_t>(manager.count()));
    Key key;
    for (int i = 0; i < manager.count(); ++i)
        if (keyOf(manager.get(i), key))
            m_first.emplace(std::move(key), i); // keeps the first of equal keys
}

int CObjectIndex::find(const CObjectRecord& record) const
{
    Key key;
    if (!keyOf(record, key))
        return -1;
    auto it = m_first.find(key);
    return it == m_first.end() ? -1 : it->second;
}

namespace {

struct LineRange {
    size_t start = std::string::npos; // first character after the indentation
    size_t end = std::string::npos;   // the CR of the line end
};

// The Date, Time and Version List lines inside the OBJECT-PROPERTIES block of an object text.
std::array<LineRange, 3> noiseLines(const std::string& text)
{
    static const char* const keys[] = {"Date=", "Time=", "Version List="};
    std::array<LineRange, 3> found;
    const size_t block = text.find("OBJECT-PROPERTIES");
    if (block == std::string::npos)
        return found;
    const size_t blockEnd = text.find('}', block);
    for (size_t line = text.find(kCrLf, block); line != std::string::npos && line < blockEnd;
         line = text.find(kCrLf, line + 2)) {
        size_t start = line + 2;
        while (start < text.size() && text[start] == ' ')
            ++start;
        size_t end = text.find(kCrLf, start);
        if (end == std::string::npos)
            end = text.size();
        for (size_t k = 0; k < found.size(); ++k)
            if (found[k].start == std::string::npos && text.compare(start, std::strlen(keys[k]), keys[k]) == 0)
                found[k] = {start, end};
    }
    return found;
}

} // namespace

std::string withPropertyNoiseOf(const std::string& target, const std::string& source)
{
    const std::array<LineRange, 3> to = noiseLines(target);
    const std::array<LineRange, 3> from = noiseLines(source);
    std::vector<std::pair<LineRange, LineRange>> edits;
    for (size_t k = 0; k < to.size(); ++k)
        if (to[k].start != std::string::npos && from[k].start != std::string::npos)
            edits.emplace_back(to[k], from[k]);
    // From the back, so earlier ranges keep their positions.
    std::sort(edits.begin(), edits.end(), [](const auto& a, const auto& b) { return a.first.start > b.first.start; });
    std::string out = target;
    for (const auto& [t, s] : edits)
        out.replace(t.start, t.end - t.start, source, s.start, s.end - s.start);
    return out;
}

int writeIntersectionFile(const CObjektManager& order, const CObjektManager& searched,
                          const CObjectIndex& searchedIndex, const std::string& path, bool noiseFromOrder,
                          IProgress* progress, int progressBase, const std::atomic<bool>* cancel, std::string* failure)
{
    // Under a temporary name and renamed over path only when complete: a cancel or a write error
    // leaves the old file.
    CReplacingFile out(path, false);
    int written = 0;
    for (int i = 0; i < order.count() && out.ok() && !cancelled(cancel); ++i) {
        if (progress != nullptr)
            progress->setPos(progressBase + i);
        const int partner = searchedIndex.find(order.get(i));
        if (partner < 0)
            continue;
        std::string text = searched.sourceText(partner);
        if (noiseFromOrder)
            text = withPropertyNoiseOf(text, order.sourceText(i));
        ansiToOem(text);
        if (written > 0)
            out.write(std::string_view(kCrLf, 2));
        out.write(text);
        ++written;
    }
    if (cancelled(cancel))
        return -1;
    if (!out.commit()) {
        if (failure != nullptr)
            *failure = out.failure();
        return -1;
    }
    return written;
}

namespace {

bool readSource(const std::string& path, std::string& text, IntersectionResult& result)
{
    result.status = readExportFile(path, text);
    return result.status.ok();
}

bool stopped(const std::atomic<bool>* cancel, IntersectionResult& result)
{
    result.cancelled = cancelled(cancel);
    return result.cancelled;
}

bool writeTarget(const CObjektManager& order, const CObjektManager& searched, const std::string& path,
                 bool noiseFromOrder, IProgress* progress, int base, const std::atomic<bool>* cancel,
                 int& count, IntersectionResult& result)
{
    const CObjectIndex index(searched);
    std::string failure;
    count = writeIntersectionFile(order, searched, index, path, noiseFromOrder, progress, base, cancel, &failure);
    if (count >= 0)
        return true;
    count = 0;
    if (stopped(cancel, result))
        return false;
    result.status = Outcome::cannotWrite(path, failure);
    return false;
}

} // namespace

void buildIntersectionFiles(const IntersectionRequest& request, CSourceText& s1Text, CObjektManager& s1,
                            IStatusText* status, IProgress* progress, const std::atomic<bool>* cancel,
                            IntersectionResult& result)
{
    result = IntersectionResult();
    for (const std::string* source : {&request.source1, &request.source2}) {
        result.status = checkSourceReadable(*source);
        if (!result.status.ok())
            return;
    }
    std::string text;
    if (!readSource(request.source2, text, result) || stopped(cancel, result))
        return;
    // Always a fresh load: the file may have changed since the last build under the same name,
    // and the catalogue must never keep spans into a text that was replaced.
    s1.load(nullptr, std::string());
    s1Text.str().swap(text);
    s1.setStatusSink(status);
    s1.load(&s1Text, request.source2);
    s1.setStatusSink(nullptr);

    CSourceText s2Text;
    if (!readSource(request.source1, s2Text.str(), result) || stopped(cancel, result))
        return;
    CObjektManager s2;
    s2.setStatusSink(status);
    s2.load(&s2Text, request.source1);
    s2.setStatusSink(nullptr);

    if (progress != nullptr)
        progress->setRange(0, std::max(1, s1.count() + s2.count()));
    (void)(writeTarget(s1, s2, request.target1, false, progress, 0, cancel, result.target1Objects, result) &&
           writeTarget(s2, s1, request.target2, request.ignoreNoise, progress, s1.count(), cancel,
                       result.target2Objects, result));
    if (progress != nullptr)
        progress->setPos(0);
}
