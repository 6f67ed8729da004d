#include "model/ObjectViewerModel.h"

#include "model/ObjectRecord.h"
#include "model/ObjektManager.h"
#include "model/SourceText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

using srctext::find;

namespace {
constexpr int kLinesAboveHit = 10;

std::string formatInt(const char* format, int value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// Object-relative positions of the key entries, in the order the key reader finds them.
std::vector<int> keyEntryPositions(std::string_view text)
{
    std::vector<int> positions;
    const std::string_view start = "\r\n  KEYS\r\n  {\r\n";
    int blockStart = find(text, start, 0);
    if (blockStart < 0)
        return positions;
    blockStart += static_cast<int>(start.size());
    int blockEnd = find(text, "  }\r\n  CODE\r\n", blockStart);
    if (blockEnd < 0)
        return positions;
    std::string_view block = text.substr(static_cast<size_t>(blockStart), static_cast<size_t>(blockEnd - blockStart));
    for (int p = 0;;) {
        int s = find(block, "  {", p);
        int e = s < 0 ? -1 : find(block, "}\r\n", s + 3);
        if (e < 0)
            return positions;
        positions.push_back(blockStart + s + 2);
        p = e + 3;
    }
}

OutlineItem keysItem(const CObjectRecord& object)
{
    OutlineItem root{"Keys", -1, {}};
    std::vector<int> positions = keyEntryPositions(object.objectText());
    bool positionsFit = static_cast<int>(positions.size()) == object.keys.count();
    for (int k = 0; k < object.keys.count(); ++k) {
        const CTableKey& key = object.keys[k];
        OutlineItem item{formatInt("Key%d", k) + (key.enabled ? " active" : " passive"),
                         positionsFit ? positions[static_cast<size_t>(k)] : -1, {}};
        for (const CTableField& field : key.keyFields)
            item.children.push_back(OutlineItem{field.name, item.declPos, {}});
        root.children.push_back(std::move(item));
    }
    return root;
}
} // namespace

std::vector<OutlineItem> buildOutline(const CObjectRecord& object)
{
    std::vector<OutlineItem> roots;
    const int start = object.objectSpan.start();
    if (object.keys.count() > 0)
        roots.push_back(keysItem(object));
    if (object.procedures.count() > 0) {
        OutlineItem root{"Procedures", -1, {}};
        for (const CProcedure& proc : object.procedures)
            // the span starts at the CR LF before the keyword's line
            root.children.push_back(
                OutlineItem{proc.signature + formatInt(" Id %d ", proc.id), proc.span.start() + 2 - start, {}});
        roots.push_back(std::move(root));
    }
    if (object.globals.count() > 0) {
        OutlineItem root{"globale Variablen", -1, {}};
        for (const CVariable& global : object.globals)
            root.children.push_back(
                OutlineItem{global.name + " " + variableTypeName(global.type), global.declPos - start, {}});
        roots.push_back(std::move(root));
    }
    return roots;
}

CObjectViewerModel::CObjectViewerModel(const CResultLocation& chosen) : m_location(chosen), m_object(chosen.object)
{
    if (m_object == nullptr)
        return;
    m_object->ensureCode();
    m_object->readKeys();
    m_outline = buildOutline(*m_object);
    if (m_object->manager == nullptr)
        return;
    const CTextSpan& span = m_object->objectSpan;
    const int textLength = static_cast<int>(objectText().size());
    const auto& results = m_object->manager->results;
    for (int i = 0; i < results.count(); ++i) {
        const CResultLocation& location = results[i];
        if (!span.contains(location.position))
            continue;
        ViewerHit hit;
        hit.index = i;
        hit.offset = location.position - span.start();
        hit.length = std::clamp(static_cast<int>(location.term.size()), 0, std::max(0, textLength - hit.offset));
        if (location.position == chosen.position && m_chosen < 0)
            m_chosen = static_cast<int>(m_hits.size());
        m_hits.push_back(hit);
    }
    m_current = std::max(m_chosen, 0);
}

std::string_view CObjectViewerModel::objectText() const
{
    return m_object ? m_object->objectText() : std::string_view();
}

std::string CObjectViewerModel::title() const
{
    if (m_object == nullptr)
        return m_location.where;
    return std::string(m_object->headerText()) + " - " + m_location.where;
}

bool CObjectViewerModel::showHit(int n)
{
    if (m_hits.empty())
        return false;
    m_current = std::clamp(n, 0, static_cast<int>(m_hits.size()) - 1);
    return true;
}

bool CObjectViewerModel::step(Step step)
{
    switch (step) {
    case Step::First: return showHit(0);
    case Step::Previous: return showHit(m_current - 1);
    case Step::Next: return showHit(m_current + 1);
    case Step::Last: return showHit(static_cast<int>(m_hits.size()) - 1);
    }
    return false;
}

int CObjectViewerModel::firstVisibleLine() const
{
    if (m_hits.empty())
        return 0;
    return firstVisibleLineFor(m_hits[static_cast<size_t>(m_current)].offset);
}

int CObjectViewerModel::firstVisibleLineFor(int offset) const
{
    // Every object but the first starts with the CR LF that ends the line before its header.
    // lineOf skips a pair at position 0; the text control shows it as an empty first line, so it
    // is counted here and the rule holds for the line numbers the control shows.
    std::string_view text = objectText();
    int line = srctext::lineOf(text, offset) + (text.substr(0, 2) == "\r\n" && offset >= 2 ? 1 : 0);
    // A hit on line n (from 1) gets n - 10 lines above it.
    return std::max(0, line - kLinesAboveHit);
}

int ShownText::at(int offset) const
{
    if (positions.empty())
        return 0;
    return positions[static_cast<size_t>(std::clamp(offset, 0, static_cast<int>(positions.size()) - 1))];
}

ShownText makeShownText(std::string_view ansi, OemCodePage page)
{
    struct Utf8Char {
        char bytes[4];
        int size;
    };
    std::array<Utf8Char, 256> characters{};
    for (int b = 0; b < 256; ++b) {
        std::string utf8 = ansiToUtf8ViaOem(std::string(1, static_cast<char>(b)), page);
        Utf8Char& c = characters[static_cast<size_t>(b)];
        c.size = static_cast<int>(std::min<size_t>(utf8.size(), sizeof c.bytes));
        std::copy_n(utf8.begin(), c.size, c.bytes);
    }
    ShownText shown;
    shown.positions.resize(ansi.size() + 1);
    size_t length = 0;
    for (size_t i = 0; i < ansi.size(); ++i) {
        shown.positions[i] = static_cast<int>(length);
        length += static_cast<size_t>(characters[static_cast<unsigned char>(ansi[i])].size);
    }
    shown.positions[ansi.size()] = static_cast<int>(length);
    shown.utf8.resize(length);
    char* out = shown.utf8.data();
    for (char a : ansi) {
        const Utf8Char& c = characters[static_cast<unsigned char>(a)];
        for (int k = 0; k < c.size; ++k)
            *out++ = c.bytes[k];
    }
    return shown;
}

void markHits(std::vector<char>& styles, const std::vector<ViewerHit>& hits)
{
    const int size = static_cast<int>(styles.size());
    for (const ViewerHit& hit : hits)
        for (int i = std::max(0, hit.offset); i < std::min(size, hit.offset + hit.length); ++i)
            styles[static_cast<size_t>(i)] = CAL_HIT;
}

std::string styleBytes(const ShownText& shown, const std::vector<char>& styles)
{
    std::string bytes(shown.utf8.size(), CAL_DEFAULT);
    const size_t count = std::min(styles.size(), shown.positions.size() - (shown.positions.empty() ? 0 : 1));
    for (size_t i = 0; i < count; ++i)
        std::fill(bytes.begin() + shown.positions[i], bytes.begin() + shown.positions[i + 1], styles[i]);
    return bytes;
}
