#include "analysis/ReferenceBuilder.h"
#include "model/WorkerThreads.h"

#include <algorithm>
#include <stdexcept>
#include <cctype>
#include <cstring>
#include <mutex>

using namespace xref;

const char* referenceKindName(ReferenceKind kind)
{
    static const char* const names[] = {"read", "write", "call", "key", "filter", "property", "type"};
    return names[static_cast<int>(kind)];
}

const char* unresolvedReasonText(UnresolvedReason reason)
{
    static const char* const texts[] = {"", "unknown variable", "member not declared", "object not in the export",
                                        "field not in the table", "name declared nowhere", "damaged object"};
    return texts[static_cast<int>(reason)];
}

namespace {

std::string objectKey(std::string_view typeWord, std::string_view rest)
{
    return foldedText(typeWord) + '\t' + foldedText(rest);
}

int findKey(const std::vector<std::pair<std::string, int>>& map, const std::string& key)
{
    auto it = std::lower_bound(map.begin(), map.end(), key, [](const auto& e, const std::string& k) { return e.first < k; });
    return it != map.end() && it->first == key ? it->second : -1;
}

void sortMap(std::vector<std::pair<std::string, int>>& map)
{
    // The first object of a type and number (or name) wins, as in the catalogue's order.
    std::stable_sort(map.begin(), map.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    map.erase(std::unique(map.begin(), map.end(), [](const auto& a, const auto& b) { return a.first == b.first; }), map.end());
}

} // namespace

ReferenceIndex::ReferenceIndex(const CObjektManager& manager) : m_manager(manager)
{
    if (manager.text() != nullptr)
        m_text = manager.text()->view();
    const int count = manager.count();
    m_symbols.resize(static_cast<size_t>(count));
    m_damaged.assign(static_cast<size_t>(count), 0);
    m_lineStarts.assign(static_cast<size_t>(count) + 1, 1);
    for (int i = 0; i < count; ++i) {
        const CObjectRecord& record = manager.get(i);
        std::string_view header = record.headerText();
        size_t s1 = header.find(' ');
        size_t s2 = s1 == std::string_view::npos ? s1 : header.find(' ', s1 + 1);
        XrefSymbol& object = m_symbols[static_cast<size_t>(i)];
        object.kind = SymbolKind::Object;
        object.object = i;
        object.number = record.number;
        object.pos = record.headerSpan.start() + static_cast<int>(s2 == std::string_view::npos ? header.size() : s2 + 1);
        object.length = static_cast<std::uint16_t>(s2 == std::string_view::npos ? 0 : std::min<size_t>(0xffff, header.size() - s2 - 1));
        if (s1 == std::string_view::npos)
            continue;
        const std::string word(header.substr(0, s1));
        m_byNumber.emplace_back(objectKey(word, std::to_string(record.number)), i);
        m_byName.emplace_back(objectKey(word, name(object)), i);
    }
    sortMap(m_byNumber);
    sortMap(m_byName);

    m_objects = m_symbols;
    ReferenceBuilder builder{*this};
    std::vector<ObjectPart> parts(static_cast<size_t>(count));
    std::vector<int> whereOffset(static_cast<size_t>(count), 0);
    m_objectSymbols.assign(static_cast<size_t>(count) + 1, count);
    m_kindStart.assign(static_cast<size_t>(count) * 4 + 1, count);
    auto stop = [&] { return manager.cancelled(); };
    runInOrder(
        count,
        [&](int i, int) {
            // A text damaged in a way the readers did not foresee costs its own declarations only.
            try {
                builder.declare(i, parts[static_cast<size_t>(i)]);
            } catch (const std::out_of_range&) {
                parts[static_cast<size_t>(i)] = ObjectPart();
                parts[static_cast<size_t>(i)].damaged = true;
            }
            const CObjectRecord& record = manager.get(i);
            const char* from = m_text.data() + record.objectSpan.start();
            const char* to = m_text.data() + std::min<size_t>(m_text.size(), static_cast<size_t>(record.objectSpan.end()) + 1);
            int lines = 0;
            while (from < to && (from = static_cast<const char*>(std::memchr(from, '\n', static_cast<size_t>(to - from)))) != nullptr) {
                ++lines;
                ++from;
            }
            m_lineStarts[static_cast<size_t>(i) + 1] = lines;
        },
        [&](int i) {
            ObjectPart& part = parts[static_cast<size_t>(i)];
            const int first = static_cast<int>(m_symbols.size());
            const int offset = static_cast<int>(m_where.size());
            whereOffset[static_cast<size_t>(i)] = offset;
            m_objectSymbols[static_cast<size_t>(i)] = first;
            m_symbols[static_cast<size_t>(i)].target = part.ownTable; // a page's or form's table, for the links to it
            for (int k = 0; k < 4; ++k)
                m_kindStart[static_cast<size_t>(i) * 4 + static_cast<size_t>(k)] = first + part.kindStart[k];
            for (XrefSymbol& s : part.symbols) {
                if (s.scope >= 0)
                    s.scope += offset;
                m_symbols.push_back(s);
            }
            m_objectSymbols[static_cast<size_t>(i) + 1] = static_cast<int>(m_symbols.size());
            m_kindStart[static_cast<size_t>(i) * 4 + 4] = static_cast<int>(m_symbols.size());
            std::vector<XrefSymbol>().swap(part.symbols);
            for (std::string& w : part.where)
                m_where.push_back(std::move(w));
            m_lineStarts[static_cast<size_t>(i) + 1] += m_lineStarts[static_cast<size_t>(i)];
        },
        stop);
    runInOrder(
        count,
        [&](int i, int) {
            ObjectPart& part = parts[static_cast<size_t>(i)];
            try {
                builder.resolve(i, part);
            } catch (const std::out_of_range&) { // its references stay unresolved, as a damaged object's
                part.refs.clear();
                part.damaged = true;
            }
            std::stable_sort(part.refs.begin(), part.refs.end(), [](const XrefReference& a, const XrefReference& b) { return a.pos < b.pos; });
        },
        [&](int i) {
            ObjectPart& part = parts[static_cast<size_t>(i)];
            m_damaged[static_cast<size_t>(i)] = part.damaged ? 1 : 0;
            for (XrefReference& r : part.refs) {
                r.where += whereOffset[static_cast<size_t>(i)];
                m_refs.push_back(r);
            }
            part = ObjectPart{};
        },
        stop);
    m_complete = !manager.cancelled();
    // The runs were appended object by object: give back what their growth left over.
    m_refs.shrink_to_fit();
    m_symbols.shrink_to_fit();
    m_where.shrink_to_fit();
    m_refStart.assign(m_symbols.size() + 1, 0);
    for (const XrefReference& r : m_refs)
        if (r.symbol >= 0)
            ++m_refStart[static_cast<size_t>(r.symbol) + 1];
    for (size_t s = 1; s < m_refStart.size(); ++s)
        m_refStart[s] += m_refStart[s - 1];
    m_refsBySymbol.resize(static_cast<size_t>(m_refStart.back()));
    std::vector<int> fill(m_refStart.begin(), m_refStart.end() - 1);
    for (size_t r = 0; r < m_refs.size(); ++r)
        if (m_refs[r].symbol >= 0)
            m_refsBySymbol[static_cast<size_t>(fill[static_cast<size_t>(m_refs[r].symbol)]++)] = static_cast<int>(r);
}

std::string_view ReferenceIndex::name(const XrefSymbol& symbol) const
{
    if (symbol.pos == -1)
        return "Rec";
    if (symbol.pos == -2)
        return "xRec";
    if (symbol.pos < 0 || static_cast<size_t>(symbol.pos) >= m_text.size())
        return {};
    return m_text.substr(static_cast<size_t>(symbol.pos), symbol.length);
}

std::vector<int> ReferenceIndex::referencesTo(int symbol) const
{
    if (symbol < 0 || static_cast<size_t>(symbol) + 1 >= m_refStart.size())
        return {};
    return std::vector<int>(m_refsBySymbol.begin() + m_refStart[static_cast<size_t>(symbol)],
                            m_refsBySymbol.begin() + m_refStart[static_cast<size_t>(symbol) + 1]);
}

int ReferenceIndex::referenceCount(int symbol) const
{
    if (symbol < 0 || static_cast<size_t>(symbol) + 1 >= m_refStart.size())
        return 0;
    return m_refStart[static_cast<size_t>(symbol) + 1] - m_refStart[static_cast<size_t>(symbol)];
}

std::vector<int> ReferenceIndex::unresolved() const
{
    std::vector<int> out;
    for (size_t r = 0; r < m_refs.size(); ++r)
        if (m_refs[r].symbol < 0)
            out.push_back(static_cast<int>(r));
    return out;
}

std::vector<int> ReferenceIndex::unresolvedCounts() const
{
    std::vector<int> counts(static_cast<size_t>(UnresolvedReason::Count), 0);
    for (const XrefReference& r : m_refs)
        if (r.symbol < 0)
            ++counts[static_cast<size_t>(r.reason)];
    return counts;
}

int ReferenceIndex::findObject(std::string_view typeWord, int number) const
{
    return findKey(m_byNumber, objectKey(typeWord, std::to_string(number)));
}

int ReferenceIndex::findObject(std::string_view typeWord, std::string_view name) const
{
    return findKey(m_byName, objectKey(typeWord, name));
}

std::pair<int, int> ReferenceIndex::objectSymbols(int object, SymbolKind kind) const
{
    if (object < 0 || static_cast<size_t>(object) >= m_objectSymbols.size() - 1)
        return {0, 0};
    const size_t k = kind == SymbolKind::Field ? 0 : (kind == SymbolKind::Procedure ? 1 : 2);
    return {m_kindStart[static_cast<size_t>(object) * 4 + k], m_kindStart[static_cast<size_t>(object) * 4 + k + 1]};
}

int ReferenceIndex::findMember(int object, SymbolKind kind, std::string_view name) const
{
    auto [first, last] = objectSymbols(object, kind);
    while (first < last) {
        const int mid = first + (last - first) / 2;
        const int c = compareFolded(this->name(mid), name);
        if (c == 0)
            return mid;
        if (c < 0)
            first = mid + 1;
        else
            last = mid;
    }
    return -1;
}

int ReferenceIndex::findTarget(std::string_view target) const
{
    target = trimmed(target);
    const size_t blank = target.find(' ');
    if (blank == std::string_view::npos)
        return -1;
    const std::string_view word = target.substr(0, blank);
    std::string_view rest = trimmed(target.substr(blank + 1));
    auto member = [&](int object, std::string_view m) {
        m = trimmed(m);
        if (m.size() >= 2 && m.front() == '"' && m.back() == '"')
            m = m.substr(1, m.size() - 2);
        for (SymbolKind kind : {SymbolKind::Field, SymbolKind::Procedure, SymbolKind::Variable})
            if (int s = findMember(object, kind, m); s >= 0)
                return s;
        return -1;
    };
    size_t digits = 0;
    while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits])))
        ++digits;
    if (digits > 0 && (digits == rest.size() || rest[digits] == '.')) {
        const int object = findObject(word, std::atoi(std::string(rest.substr(0, digits)).c_str()));
        if (object < 0 || digits == rest.size())
            return object;
        return member(object, rest.substr(digits + 1));
    }
    if (!rest.empty() && rest.front() == '"') {
        const size_t close = rest.find('"', 1);
        if (close == std::string_view::npos)
            return -1;
        const int object = findObject(word, rest.substr(1, close - 1));
        if (object < 0 || close + 1 == rest.size())
            return object;
        return rest[close + 1] == '.' ? member(object, rest.substr(close + 2)) : -1;
    }
    if (int object = findObject(word, rest); object >= 0)
        return object;
    for (size_t dot = rest.rfind('.'); dot != std::string_view::npos && dot > 0; dot = rest.rfind('.', dot - 1))
        if (int object = findObject(word, rest.substr(0, dot)); object >= 0)
            return member(object, rest.substr(dot + 1));
    return -1;
}

int ReferenceIndex::symbolAt(int pos) const
{
    auto it = std::upper_bound(m_refs.begin(), m_refs.end(), pos, [](int p, const XrefReference& r) { return p < r.pos; });
    if (it != m_refs.begin()) {
        --it;
        if (it->symbol >= 0) {
            const XrefSymbol& s = m_symbols[static_cast<size_t>(it->symbol)];
            const int length = s.kind == SymbolKind::Object ? 1 : std::max<int>(1, s.length);
            if (pos < it->pos + std::max(length, s.kind == SymbolKind::Object ? 12 : length))
                return it->symbol;
        }
    }
    const int object = m_manager.objectAt(pos);
    if (object < 0)
        return -1;
    for (int s = m_objectSymbols[static_cast<size_t>(object)]; s < m_objectSymbols[static_cast<size_t>(object) + 1]; ++s) {
        const XrefSymbol& sym = m_symbols[static_cast<size_t>(s)];
        if (sym.pos >= 0 && sym.pos <= pos && pos < sym.pos + sym.length)
            return s;
    }
    return -1;
}

int ReferenceIndex::lineOf(int pos) const
{
    LineCursor cursor;
    return lineOf(pos, cursor);
}

int ReferenceIndex::lineOf(int pos, LineCursor& cursor) const
{
    const int object = m_manager.objectAt(pos);
    if (object < 0)
        return 0;
    if (object != cursor.object || pos < cursor.pos) {
        cursor.object = object;
        cursor.pos = m_manager.get(object).objectSpan.start();
        cursor.line = m_lineStarts[static_cast<size_t>(object)];
    }
    const char* from = m_text.data() + cursor.pos;
    const char* to = m_text.data() + pos;
    while (from < to && (from = static_cast<const char*>(std::memchr(from, '\n', static_cast<size_t>(to - from)))) != nullptr) {
        ++cursor.line;
        ++from;
    }
    cursor.pos = pos;
    return cursor.line;
}

size_t ReferenceIndex::memoryBytes() const
{
    size_t bytes = m_symbols.capacity() * sizeof(XrefSymbol) + m_refs.capacity() * sizeof(XrefReference) +
                   (m_objectSymbols.capacity() + m_kindStart.capacity() + m_refStart.capacity() + m_refsBySymbol.capacity() +
                    m_lineStarts.capacity()) * sizeof(int) + m_damaged.capacity();
    for (const std::string& w : m_where)
        bytes += sizeof(std::string) + (w.capacity() > 15 ? w.capacity() : 0);
    for (const auto& e : m_byNumber)
        bytes += sizeof(e) + (e.first.capacity() > 15 ? e.first.capacity() : 0);
    for (const auto& e : m_byName)
        bytes += sizeof(e) + (e.first.capacity() > 15 ? e.first.capacity() : 0);
    return bytes;
}

const ReferenceIndex& referenceIndex(CObjektManager& manager)
{
    static std::mutex building;
    std::lock_guard lock(building);
    auto* kept = dynamic_cast<ReferenceIndex*>(manager.keptIndex().get());
    if (kept == nullptr || !kept->complete()) {
        manager.keptIndex() = std::make_unique<ReferenceIndex>(manager);
        kept = static_cast<ReferenceIndex*>(manager.keptIndex().get());
    }
    return *kept;
}
