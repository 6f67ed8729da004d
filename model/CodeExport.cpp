#include "model/CodePage.h"
#include "model/FileReplace.h"
#include "model/ObjektManager.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

namespace {

const char* const kCrLf = "\r\n";
const char* const kThreeLineEnds = "\r\n\r\n\r\n";

// Replaces every CR LF followed by n blanks with a bare CR LF; n <= 0 leaves the text as it is.
std::string outdent(std::string_view text, int n)
{
    if (n <= 0)
        return std::string(text);
    const std::string pattern = kCrLf + std::string(static_cast<size_t>(n), ' ');
    std::string out;
    size_t from = 0;
    for (size_t hit; (hit = text.find(pattern, from)) != std::string_view::npos; from = hit + pattern.size()) {
        out.append(text.substr(from, hit - from));
        out += kCrLf;
    }
    out.append(text.substr(from));
    return out;
}

bool hasCodeExport(int type)
{
    return type == OT_FORM || type == OT_REPORT || type == OT_DATAPORT;
}

// The header line, the triggers (outdented) and the procedures of one object.
std::string codeBlock(const CObjectRecord& record)
{
    std::string block(record.headerText());
    block += kCrLf;
    if (!record.triggers.empty()) {
        block += kCrLf;
        for (const CTrigger& trigger : record.triggers) {
            block += outdent(trigger.triggerText(), trigger.indent - 4);
            block += kThreeLineEnds;
        }
    }
    if (!record.procedures.empty()) {
        block += kCrLf;
        for (const CProcedure& procedure : record.procedures) {
            block.append(procedure.procedureText());
            block += kThreeLineEnds;
        }
    }
    block += kThreeLineEnds;
    return block;
}

// The object as it stands in the export: from its "OBJECT" through the CR LF after its closing
// "}". Records after the first start at the CR LF before "OBJECT", and a record's span stops short
// of that line end, so both ends are found in the whole text rather than in objectText().
std::string exactObjectText(std::string_view text, const CObjectRecord& record, int regionEnd)
{
    const int size = static_cast<int>(text.size());
    int start = record.objectSpan.start();
    if (start < 0 || start >= size)
        return std::string();
    if (text.compare(static_cast<size_t>(start), 2, kCrLf) == 0)
        start += 2;
    const int last = std::min(regionEnd, size - 1);
    if (start > last)
        return std::string();
    std::string_view region = text.substr(static_cast<size_t>(start), static_cast<size_t>(last - start + 1));
    const size_t brace = region.rfind('}');
    if (brace == std::string_view::npos)
        return std::string(region);
    // The export's line end after "}" (written also where the file ended right at the brace).
    std::string out(region.substr(0, brace + 1));
    out += kCrLf;
    return out;
}

} // namespace

std::string CObjektManager::sourceText(int index) const
{
    if (m_text == nullptr || index < 0 || index >= count())
        return std::string();
    const CObjectRecord& record = get(index);
    const int regionEnd = index + 1 < count() ? record.objectSpan.end() : m_text->length() - 1;
    return exactObjectText(m_text->str(), record, regionEnd);
}

Outcome CObjektManager::exportCode(const std::string& fileName)
{
    CReplacingFile out(fileName);
    if (!out.ok())
        return Outcome::cannotWrite(fileName, out.failure());
    for (int i = 0; i < count() && !cancelled(); ++i) {
        CObjectRecord& record = get(i);
        if (hasCodeExport(record.type)) {
            record.ensureTriggers();
            if (!record.triggers.empty() || !record.procedures.empty()) {
                if (!out.write(codeBlock(record)))
                    return Outcome::cannotWrite(fileName, out.failure());
            }
        }
        status(std::to_string(i) + " \t Name: " + std::string(record.headerText()));
    }
    // A cancelled export leaves the file as it was; the user asked for that, nothing to report.
    if (cancelled())
        return {};
    if (!out.commit())
        return Outcome::cannotWrite(fileName, out.failure());
    status("Export done");
    return {};
}

namespace {
// The type word of a record's OBJECT line ("Page" for a type-0 Page); the catalogue's word for the
// five known types.
std::string fileTypeWord(const CObjectRecord& record)
{
    if (record.type != OT_NONE)
        return record.typeName();
    std::string_view header = record.headerText();
    // File names are limited (255 bytes on most file systems); no real type word comes near 64.
    std::string word(header.substr(0, std::min<size_t>(header.find(' '), 64)));
    // Any bytes may stand there in a damaged export: a NUL would cut the path short and a control
    // character or separator would name another file than the object's.
    for (char& c : word) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '_';
    }
    return word;
}
} // namespace

Outcome CObjektManager::split(const std::string& folder, int from, int to, IProgress* progress,
                           std::vector<std::string>* written, std::vector<std::string>* renamed)
{
    if (progress != nullptr) {
        progress->setRange(0, count());
        progress->setPos(0);
    }
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '/')
        prefix += '/';
    // Names written in this run: a second object of the same type and number gets " (2)" and so on.
    std::set<std::string> taken;
    Outcome result;
    for (int i = 0; i < count() && result.ok() && !cancelled(); ++i) {
        const CObjectRecord& record = get(i);
        if (from <= record.number && record.number <= to && !prefix.empty()) {
            // A target folder that does not exist yet is made, as a user choosing one expects.
            std::error_code ignored;
            std::filesystem::create_directories(prefix, ignored);
        }
        if (from <= record.number && record.number <= to && m_text != nullptr) {
            std::string content = sourceText(i);
            ansiToOem(content);
            const std::string stem = prefix + fileTypeWord(record) + " " + std::to_string(record.number);
            std::string path = stem + ".txt";
            for (int n = 2; !taken.insert(path).second; ++n)
                path = stem + " (" + std::to_string(n) + ").txt";
            std::string reason;
            if (!replaceFile(path, content, false, &reason)) {
                result = Outcome::cannotWrite(path, reason);
                break;
            }
            if (written != nullptr)
                written->push_back(path);
            if (renamed != nullptr && path != stem + ".txt")
                renamed->push_back(path);
        }
        if (progress != nullptr)
            progress->setPos(i);
    }
    if (progress != nullptr)
        progress->setPos(0);
    return result;
}
