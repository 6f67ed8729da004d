#include "analysis/ReferenceBuilder.h"

#include <algorithm>
#include <cctype>
#include <cstring>

// The first pass over one object: what it declares and where its code and its naming properties
// stand. The export's fixed layout carries the structure: sections at two blanks ("  FIELDS",
// "  CODE"), each between "  {" and "  }"; elements (fields, keys, controls, data items) begin at
// four blanks with "{"; a trigger's END stands in the column of its BEGIN or VAR; procedures,
// VAR and BEGIN of the CODE section at four blanks.

namespace xref {

namespace {

constexpr std::string_view kKindWords[] = {"table", "form", "report", "dataport", "codeunit", "xmlport", "menusuite", "page", "query"};

int foldChar(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

} // namespace

int objectKindOf(std::string_view word)
{
    if (equalFolded(word, "record"))
        return OK_TABLE;
    for (int i = 0; i < 9; ++i)
        if (equalFolded(word, kKindWords[i]))
            return i;
    return OK_NONE;
}

const char* objectKindWord(int kind)
{
    static const char* const words[] = {"Table", "Form", "Report", "Dataport", "Codeunit", "XMLport", "MenuSuite", "Page", "Query"};
    return kind >= 0 && kind < 9 ? words[kind] : "";
}

bool equalFolded(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldChar(static_cast<unsigned char>(a[i])) != foldChar(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

int compareFolded(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int d = foldChar(static_cast<unsigned char>(a[i])) - foldChar(static_cast<unsigned char>(b[i]));
        if (d != 0)
            return d;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::string foldedText(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(foldChar(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

} // namespace xref

using namespace xref;

namespace {

using Part = ReferenceIndex::ObjectPart;

// Lines of one object, absolute positions.
struct Lines {
    std::string_view text; // the whole export
    int end;               // end of the object
    int lineEnd(int pos) const
    {
        if (pos >= end) // a record without text (an empty file's) ends before it starts
            return end;
        const void* cr = std::memchr(text.data() + pos, '\n', static_cast<size_t>(end - pos));
        return cr ? static_cast<int>(static_cast<const char*>(cr) - text.data()) : end;
    }
    // Line [pos, lineEnd) without its CR.
    std::string_view line(int pos) const
    {
        if (pos >= end)
            return {};
        std::string_view l = text.substr(static_cast<size_t>(pos), static_cast<size_t>(lineEnd(pos) - pos));
        if (!l.empty() && l.back() == '\r')
            l.remove_suffix(1);
        return l;
    }
    int next(int pos) const { return std::min(end, lineEnd(pos) + 1); }
};

int indentOf(std::string_view line)
{
    size_t i = 0;
    while (i < line.size() && line[i] == ' ')
        ++i;
    return static_cast<int>(i);
}

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Length of "Name" when a property "Name=" starts at text[at], else 0.
int propertyNameAt(std::string_view text, size_t at)
{
    size_t i = at;
    if (i >= text.size() || !std::isalpha(static_cast<unsigned char>(text[i])))
        return 0;
    while (i < text.size() && isNameChar(text[i]))
        ++i;
    return i < text.size() && text[i] == '=' ? static_cast<int>(i - at) : 0;
}

// End of a property value starting at pos: the ";" before a line end or the " }" of its element,
// brackets and quotes kept together, a line ending in "," (a list the export wraps: CalcFormula's
// WHERE, SubPageLink) going on to the next; never past end.
int valueEnd(std::string_view text, int pos, int end)
{
    int depth = 0;
    bool quoted = false;
    for (int i = pos; i < end; ++i) {
        const char c = text[static_cast<size_t>(i)];
        if (c == '"')
            quoted = !quoted;
        if (quoted)
            continue;
        if (c == '[')
            ++depth;
        else if (c == ']' && depth > 0)
            --depth;
        else if (c == '\n' && depth == 0 && !(i >= 2 && text[static_cast<size_t>(i - 2)] == ','))
            return i - 1;
        else if (depth == 0 && c == ';' && i + 1 < end && text[static_cast<size_t>(i + 1)] == '\r')
            return i;
        else if (depth == 0 && c == '}' && i + 1 < end && text[static_cast<size_t>(i + 1)] == '\r' &&
                 text[static_cast<size_t>(i - 1)] == ' ')
            return i - 1;
    }
    return end;
}

bool interestingProperty(std::string_view name)
{
    static constexpr std::string_view names[] = {"TableRelation", "CalcFormula", "SourceExpr", "SourceTableView",
                                        "DataItemTableView", "DataItemLink", "ReqFilterFields", "CalcFields",
                                        "SumIndexFields", "SourceTable", "DataItemTable", "LookupPageID",
                                        "DrillDownPageID", "LookupFormID", "DrillDownFormID", "CardPageID",
                                        "SourceField", "DataSource", "PagePartID", "SubFormID", "RunObject",
                                        "DataCaptionFields", "SubPageLink", "RunPageLink", "SubFormLink",
                                        "RunFormLink"};
    for (std::string_view n : names)
        if (equalFolded(name, n))
            return true;
    return false;
}

class Declarations {
public:
    Declarations(const ReferenceIndex& index, const CObjectRecord& record, int object, Part& part)
        : m_index(index), m_lines{{}, 0}, m_object(object), m_part(part), m_record(record)
    {
        const std::string& whole = *record.text;
        m_lines.text = whole;
        m_lines.end = std::min<int>(static_cast<int>(whole.size()), record.objectSpan.end() + 1);
        m_kind = objectKindOf(record.headerTypeWord());
    }

    void run()
    {
        if (m_kind == OK_TABLE)
            m_part.ownTable = m_object;
        int pos = m_lines.next(m_record.objectSpan.start());
        while (pos < m_lines.end) {
            std::string_view l = m_lines.line(pos);
            if (l.size() > 2 && l[0] == ' ' && l[1] == ' ' && std::isupper(static_cast<unsigned char>(l[2]))) {
                pos = section(trimmed(l), m_lines.next(pos));
                continue;
            }
            pos = m_lines.next(pos);
        }
        finishElement();
        addImplicitRecords();
        assemble();
    }

private:
    const ReferenceIndex& m_index;
    Lines m_lines;
    int m_object;
    Part& m_part;
    const CObjectRecord& m_record;
    int m_kind = OK_NONE;
    std::vector<XrefSymbol> m_fields, m_procedures, m_globals, m_locals;
    // The element being read (a data item, an XMLport table element, a query data item).
    struct Element {
        std::string_view varName;
        int varPos = -1;
        int table = -1;
        int indent = 0;
        size_t firstProperty = 0;
        size_t firstRegion = 0;
    } m_element;
    std::vector<std::pair<int, int>> m_dataItems; // indent, table

    int where(std::string text)
    {
        m_part.where.push_back(std::move(text));
        return static_cast<int>(m_part.where.size()) - 1;
    }

    // Reads the section starting after its name line; returns the position after its "  }".
    int section(std::string_view name, int pos)
    {
        if (pos >= m_lines.end || trimmed(m_lines.line(pos)) != "{")
            return pos;
        const int bodyStart = m_lines.next(pos);
        int bodyEnd = bodyStart;
        while (bodyEnd < m_lines.end && m_lines.line(bodyEnd) != "  }")
            bodyEnd = m_lines.next(bodyEnd);
        if (bodyEnd >= m_lines.end)
            m_part.damaged = true;
        m_section = std::string(name);
        if (name == "CODE")
            codeSection(bodyStart, bodyEnd);
        else if (name != "OBJECT-PROPERTIES" && name != "RDLDATA" && name != "WORDLAYOUT" && name != "MENUNODES")
            propertySection(bodyStart, bodyEnd);
        return m_lines.next(bodyEnd);
    }
    std::string m_section;

    void propertySection(int pos, int end)
    {
        const bool dataItems = m_section == "DATAITEMS" || m_section == "DATASET" || m_section == "ELEMENTS";
        while (pos < end) {
            std::string_view l = m_lines.line(pos);
            const int indent = indentOf(l);
            if (static_cast<size_t>(indent) < l.size() && l[static_cast<size_t>(indent)] == '{' && indent == 4) {
                finishElement();
                m_currentElement.clear();
                if (dataItems)
                    startElement();
                pos = elementLine(pos, l, indent, end);
                continue;
            }
            if (static_cast<size_t>(indent) < l.size() && l[static_cast<size_t>(indent)] == '{') {
                pos = elementLine(pos, l, indent, end);
                continue;
            }
            if (int n = propertyNameAt(l, static_cast<size_t>(indent)); n > 0) {
                pos = property(pos + indent, n, end);
                continue;
            }
            pos = m_lines.next(pos);
        }
        finishElement();
    }

    // An element line "{ a ;b ;c ;Prop=...": its fixed cells, then its first property.
    int elementLine(int pos, std::string_view l, int indent, int end)
    {
        std::vector<std::pair<int, std::string_view>> cells; // position, text (untrimmed)
        ++m_elementNumber;
        size_t from = static_cast<size_t>(indent) + 1;
        while (from <= l.size()) {
            size_t semi = l.find(';', from);
            size_t stop = semi == std::string_view::npos ? l.size() : semi;
            std::string_view cell = l.substr(from, stop - from);
            size_t lead = cell.find_first_not_of(' ');
            if (lead != std::string_view::npos && propertyNameAt(cell, lead) > 0) {
                elementCells(cells);
                return property(pos + static_cast<int>(from + lead), propertyNameAt(cell, lead), end);
            }
            cells.emplace_back(pos + static_cast<int>(from), cell);
            if (semi == std::string_view::npos)
                break;
            from = semi + 1;
        }
        elementCells(cells);
        return m_lines.next(pos);
    }

    void elementCells(const std::vector<std::pair<int, std::string_view>>& cells)
    {
        auto cellName = [&](size_t i) {
            if (i >= cells.size()) // a damaged element line has fewer cells than its section's
                return std::pair<int, std::string_view>(cells.empty() ? 0 : cells.back().first, std::string_view());
            std::string_view c = cells[i].second;
            if (!c.empty() && c.back() == '}')
                c.remove_suffix(1);
            const size_t lead = c.find_first_not_of(' ');
            std::string_view t = trimmed(c);
            return std::pair<int, std::string_view>(cells[i].first + static_cast<int>(lead == std::string_view::npos ? 0 : lead), t);
        };
        if (m_section == "FIELDS" && cells.size() >= 4) {
            auto [namePos, name] = cellName(2);
            if (name.empty())
                return;
            XrefSymbol field;
            field.kind = SymbolKind::Field;
            field.pos = namePos;
            field.length = static_cast<std::uint16_t>(name.size());
            field.object = m_object;
            field.number = std::atoi(std::string(trimmed(cells[0].second)).c_str());
            m_fields.push_back(field);
            m_currentElement = std::string(name);
        } else if (m_section == "KEYS" && cells.size() >= 2) {
            auto [listPos, list] = cellName(1);
            m_currentElement = "Key " + std::string(list);
            addProperty(listPos, listPos + static_cast<int>(list.size()), "Key");
            m_part.where.back() = m_currentElement;
        } else if ((m_section == "DATASET" || m_section == "ELEMENTS") && cells.size() >= 4) {
            auto [kindPos, kind] = cellName(m_section == "ELEMENTS" && m_kind == OK_XMLPORT ? 4 : 2);
            (void)kindPos;
            auto [namePos, name] = cellName(m_section == "ELEMENTS" && m_kind == OK_XMLPORT ? 2 : 3);
            m_currentElement = std::string(name);
            m_element.indent = std::atoi(std::string(trimmed(cells[1].second)).c_str());
            // An XMLport's table element is named by its VariableName, else by its table.
            if (equalFolded(kind, "DataItem")) {
                m_element.varName = name;
                m_element.varPos = namePos;
            }
        } else if (m_kind == OK_DATAPORT && m_section == "DATAITEMS" && cells.size() >= 3) {
            // A dataport field "{ StartPos ;Width ;SourceExpr": an expression over the data item's record.
            auto [exprPos, expr] = cellName(2);
            if (expr.empty())
                return;
            m_currentElement = "FIELDS";
            addProperty(exprPos, exprPos + static_cast<int>(expr.size()), "SourceExpr");
        } else if (!cells.empty()) {
            auto [idPos, id] = cellName(0);
            (void)idPos;
            if (!id.empty() && id != "PROPERTIES")
                m_currentElement = "Control " + std::string(id);
        }
    }
    std::string m_currentElement;
    int m_elementNumber = 0;

    std::string whereOf(std::string_view property) const
    {
        return m_currentElement.empty() ? std::string(property) : m_currentElement + " - " + std::string(property);
    }

    // The property whose name (n characters) stands at pos; returns the position of the line after it.
    int property(int pos, int n, int end)
    {
        std::string_view name = m_lines.text.substr(static_cast<size_t>(pos), static_cast<size_t>(n));
        const int valueStart = pos + n + 1;
        std::string_view rest = m_lines.line(valueStart);
        std::string_view value = trimmed(rest);
        if (value == "BEGIN" || value == "VAR")
            return trigger(name, valueStart + static_cast<int>(rest.find_first_not_of(' ')), value == "VAR", end);
        const int stop = valueEnd(m_lines.text, valueStart, end);
        std::string_view v = trimmed(m_lines.text.substr(static_cast<size_t>(valueStart), static_cast<size_t>(std::max(0, stop - valueStart))));
        if (equalFolded(name, "DataItemTable") || (equalFolded(name, "SourceTable") && m_section != "PROPERTIES"))
            m_element.table = objectValue(v, OK_TABLE);
        else if (equalFolded(name, "SourceTable") || (equalFolded(name, "TableNo") && m_kind == OK_CODEUNIT))
            m_part.ownTable = objectValue(v, OK_TABLE);
        else if (equalFolded(name, "DataItemVarName") || equalFolded(name, "VariableName")) {
            m_element.varName = v;
            m_element.varPos = valueStart + static_cast<int>(m_lines.text.substr(static_cast<size_t>(valueStart)).find_first_not_of(' '));
        } else if (equalFolded(name, "DataItemIndent"))
            m_element.indent = std::atoi(std::string(v).c_str());
        if (interestingProperty(name))
            addProperty(valueStart, stop, name);
        return stop >= end ? end : m_lines.next(stop);
    }

    void addProperty(int start, int stop, std::string_view name)
    {
        PropertyItem item;
        item.start = start;
        item.end = stop;
        item.name = std::string(name);
        item.where = where(whereOf(name));
        item.table = m_part.ownTable;
        item.element = m_elementNumber;
        m_part.properties.push_back(std::move(item));
    }

    // The catalogue index a property value such as "Table18", "Page21", "Customer" names, or -1.
    int objectValue(std::string_view value, int defaultKind) const
    {
        if (!value.empty() && value.back() == ';')
            value.remove_suffix(1);
        value = trimmed(value);
        size_t letters = 0;
        while (letters < value.size() && std::isalpha(static_cast<unsigned char>(value[letters])))
            ++letters;
        const int kind = objectKindOf(value.substr(0, letters));
        std::string_view rest = trimmed(value.substr(letters));
        const bool digits = !rest.empty() && std::all_of(rest.begin(), rest.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
        if ((kind != OK_NONE || letters == 0) && digits)
            return m_index.findObject(objectKindWord(kind != OK_NONE ? kind : defaultKind), std::atoi(std::string(rest).c_str()));
        if (!value.empty() && value.front() == '"' && value.back() == '"' && value.size() >= 2)
            value = value.substr(1, value.size() - 2);
        return m_index.findObject(objectKindWord(defaultKind), value);
    }

    // A trigger whose BEGIN or VAR keyword stands at keyword; returns the position after its END line.
    int trigger(std::string_view name, int keyword, bool withVar, int end)
    {
        const int column = keyword - lineStartOf(keyword);
        int pos = m_lines.next(keyword);
        int scope = -1;
        const int w = where(whereOf(name));
        if (withVar) {
            scope = static_cast<int>(m_part.scopes.size());
            m_part.scopes.push_back({static_cast<int>(m_locals.size()), 0});
            while (pos < end) {
                std::string_view l = m_lines.line(pos);
                if (indentOf(l) <= column && !trimmed(l).empty())
                    break;
                declaration(pos, l, w, true);
                pos = m_lines.next(pos);
            }
            m_part.scopes.back().last = static_cast<int>(m_locals.size());
            if (pos >= end || trimmed(m_lines.line(pos)) != "BEGIN" || indentOf(m_lines.line(pos)) != column) {
                m_part.damaged = true;
                return pos;
            }
            keyword = pos + column;
            pos = m_lines.next(pos);
        }
        const int bodyStart = keyword;
        while (pos < end) {
            std::string_view l = m_lines.line(pos);
            std::string_view t = trimmed(l);
            // END stands in the column of BEGIN; some writers put it a little to the left.
            if (indentOf(l) <= column && (t.substr(0, 4) == "END;" || t == "END"))
                break;
            pos = m_lines.next(pos);
        }
        if (pos >= end)
            m_part.damaged = true;
        CodeRegion region;
        region.start = bodyStart;
        region.end = std::min(end, pos + indentOf(m_lines.line(std::min(pos, end - 1))) + 3);
        region.scope = scope;
        region.where = w;
        m_part.code.push_back(region);
        return pos >= end ? end : m_lines.next(pos);
    }

    int lineStartOf(int pos) const
    {
        while (pos > 0 && m_lines.text[static_cast<size_t>(pos - 1)] != '\n')
            --pos;
        return pos;
    }

    // One declaration "Name@1000 : Type ...;" (or a parameter) at pos; where: the declaring scope.
    void declaration(int linePos, std::string_view l, int whereIndex, bool local)
    {
        size_t at = l.find_first_not_of(' ');
        if (at == std::string_view::npos)
            return;
        variable(linePos + static_cast<int>(at), l.substr(at), whereIndex, local);
    }

    void variable(int pos, std::string_view decl, int whereIndex, bool local, bool parameter = false)
    {
        if (decl.substr(0, 4) == "VAR ")
            decl.remove_prefix(4), pos += 4;
        size_t colon = decl.find(" : ");
        if (colon == std::string_view::npos)
            return;
        std::string_view name = decl.substr(0, colon);
        int namePos = pos;
        if (size_t atSign = name.rfind('@'); atSign != std::string_view::npos)
            name = name.substr(0, atSign);
        name = trimmed(name);
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
            name = name.substr(1, name.size() - 2), ++namePos;
        if (name.empty() || name.size() > 0xffff)
            return;
        XrefSymbol v;
        v.kind = SymbolKind::Variable;
        v.pos = namePos;
        v.length = static_cast<std::uint16_t>(name.size());
        v.object = m_object;
        v.scope = local ? whereIndex : -1;
        v.number = -1;
        v.parameter = parameter;
        const int typePos = pos + static_cast<int>(colon + 3);
        typeOf(decl.substr(colon + 3), typePos, v, whereIndex);
        (local ? m_locals : m_globals).push_back(v);
    }

    // The object a declared type names: "Record 18", "Record \"Sales Header\" TEMPORARY",
    // "ARRAY [10] OF Codeunit 80"; records a reference of kind Type to it.
    void typeOf(std::string_view type, int pos, XrefSymbol& v, int whereIndex)
    {
        if (type.substr(0, 6) == "ARRAY ") {
            size_t of = type.find(" OF ");
            if (of == std::string_view::npos)
                return;
            type.remove_prefix(of + 4);
            pos += static_cast<int>(of + 4);
        }
        size_t blank = type.find(' ');
        if (blank == std::string_view::npos)
            return;
        const int kind = objectKindOf(type.substr(0, blank));
        if (kind == OK_NONE || kind == OK_MENUSUITE)
            return;
        std::string_view sub = type.substr(blank + 1);
        int subPos = pos + static_cast<int>(blank + 1);
        size_t stop = sub.find(';');
        if (!sub.empty() && sub.front() == '"') {
            size_t close = sub.find('"', 1);
            stop = close == std::string_view::npos ? std::string_view::npos : close + 1;
        } else if (size_t b = sub.find(' '); b != std::string_view::npos && b < stop)
            stop = b;
        sub = sub.substr(0, stop == std::string_view::npos ? sub.size() : stop);
        v.number = kind;
        if (!sub.empty() && std::all_of(sub.begin(), sub.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
            v.target = m_index.findObject(objectKindWord(kind), std::atoi(std::string(sub).c_str()));
        else {
            if (sub.size() >= 2 && sub.front() == '"')
                sub = sub.substr(1, sub.size() - 2), ++subPos;
            v.target = m_index.findObject(objectKindWord(kind), sub);
        }
        XrefReference ref;
        ref.pos = subPos;
        ref.kind = ReferenceKind::Type;
        ref.symbol = v.target;
        ref.reason = v.target < 0 ? UnresolvedReason::ObjectNotInExport : UnresolvedReason::None;
        ref.where = whereIndex;
        m_part.refs.push_back(ref);
    }

    void codeSection(int pos, int end)
    {
        m_currentElement.clear();
        const int globalWhere = where("VAR");
        std::vector<int> attributes;
        while (pos < end) {
            std::string_view l = m_lines.line(pos);
            std::string_view t = trimmed(l);
            if (indentOf(l) != 4 || t.empty()) {
                pos = m_lines.next(pos);
                continue;
            }
            if (t == "VAR") {
                pos = m_lines.next(pos);
                while (pos < end && (indentOf(m_lines.line(pos)) >= 6 || trimmed(m_lines.line(pos)).empty())) {
                    if (indentOf(m_lines.line(pos)) == 6)
                        declaration(pos, m_lines.line(pos), globalWhere, false);
                    pos = m_lines.next(pos);
                }
            } else if (t.front() == '[') {
                attributes.push_back(pos + 4);
                pos = m_lines.next(pos);
            } else if (t.substr(0, 10) == "PROCEDURE " || t.substr(0, 16) == "LOCAL PROCEDURE " || t.substr(0, 6) == "EVENT ") {
                pos = procedure(pos, l, end, attributes);
                attributes.clear();
            } else if (t == "BEGIN") {
                break; // the documentation trigger: a comment
            } else {
                pos = m_lines.next(pos);
            }
        }
    }

    int procedure(int pos, std::string_view l, int end, const std::vector<int>& attributes)
    {
        std::string_view t = trimmed(l);
        const bool event = t.substr(0, 6) == "EVENT ";
        const size_t keyword = t.find(event ? "EVENT " : "PROCEDURE ") + (event ? 6 : 10);
        const int namePos = pos + 4 + static_cast<int>(keyword);
        std::string_view sig = t.substr(keyword);
        size_t nameEnd = sig.find_first_of("@(;");
        if (nameEnd == std::string_view::npos)
            nameEnd = sig.size();
        std::string_view name = trimmed(sig.substr(0, nameEnd));
        int symbolPos = namePos;
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
            name = name.substr(1, name.size() - 2), ++symbolPos;
        const int w = where(std::string(name));
        if (!event) {
            XrefSymbol p;
            p.kind = SymbolKind::Procedure;
            p.pos = symbolPos;
            p.length = static_cast<std::uint16_t>(std::min<size_t>(name.size(), 0xffff));
            p.object = m_object;
            m_procedures.push_back(p);
        }
        for (int attribute : attributes) {
            std::string_view a = trimmed(m_lines.line(attribute));
            if (a.size() > 17 && equalFolded(a.substr(0, 16), "[EventSubscriber"))
                m_part.properties.push_back({attribute, attribute + static_cast<int>(a.size()), "EventSubscriber", w, -1, -1, -1});
        }
        const int scope = static_cast<int>(m_part.scopes.size());
        m_part.scopes.push_back({static_cast<int>(m_locals.size()), 0});
        parameters(sig, namePos, w);
        pos = m_lines.next(pos);
        if (pos < end && trimmed(m_lines.line(pos)) == "VAR") {
            pos = m_lines.next(pos);
            while (pos < end && indentOf(m_lines.line(pos)) >= 6) {
                if (indentOf(m_lines.line(pos)) == 6)
                    declaration(pos, m_lines.line(pos), w, true);
                pos = m_lines.next(pos);
            }
        }
        m_part.scopes.back().last = static_cast<int>(m_locals.size());
        if (pos >= end || trimmed(m_lines.line(pos)) != "BEGIN" || indentOf(m_lines.line(pos)) != 4) {
            m_part.damaged = true; // a procedure without a body
            return pos;
        }
        const int bodyStart = pos + 4;
        while (pos < end) {
            std::string_view b = m_lines.line(pos);
            if (indentOf(b) == 4 && trimmed(b).substr(0, 4) == "END;")
                break;
            pos = m_lines.next(pos);
        }
        if (pos >= end)
            m_part.damaged = true;
        m_part.code.push_back({bodyStart, std::min(end, pos + 7), scope, w, -1});
        return pos >= end ? end : m_lines.next(pos);
    }

    // "(VAR A@1 : Record 18;B@2 : Integer)" of a signature whose name starts at namePos.
    void parameters(std::string_view sig, int sigPos, int whereIndex)
    {
        size_t open = sig.find('(');
        if (open == std::string_view::npos)
            return;
        size_t close = sig.rfind(')');
        if (close == std::string_view::npos || close < open)
            return;
        size_t from = open + 1;
        while (from < close) {
            size_t semi = sig.find(';', from);
            if (semi == std::string_view::npos || semi > close)
                semi = close;
            std::string_view param = sig.substr(from, semi - from);
            variable(sigPos + static_cast<int>(from), param, whereIndex, true, true);
            from = semi + 1;
        }
    }

    void startElement()
    {
        m_element = Element{};
        m_element.firstProperty = m_part.properties.size();
        m_element.firstRegion = m_part.code.size();
    }

    // A data item's record variable (its DataItemVarName, or the table's name), its table given to
    // its properties and triggers.
    void finishElement()
    {
        if (m_element.table < 0) {
            m_element = Element{};
            m_element.firstProperty = m_part.properties.size();
            m_element.firstRegion = m_part.code.size();
            return;
        }
        int parent = -1;
        for (auto it = m_dataItems.rbegin(); it != m_dataItems.rend(); ++it)
            if (it->first < m_element.indent) {
                parent = it->second;
                break;
            }
        m_dataItems.emplace_back(m_element.indent, m_element.table);
        XrefSymbol v;
        v.kind = SymbolKind::Variable;
        v.object = m_object;
        v.number = OK_TABLE;
        v.target = m_element.table;
        v.implicit = true;
        if (m_element.varPos >= 0 && !m_element.varName.empty()) {
            v.pos = m_element.varPos;
            v.length = static_cast<std::uint16_t>(m_element.varName.size());
        } else {
            std::string_view tableName = m_index.objectName(m_element.table);
            v.pos = static_cast<int>(tableName.data() - m_lines.text.data());
            v.length = static_cast<std::uint16_t>(tableName.size());
        }
        const int var = static_cast<int>(m_globals.size());
        m_globals.push_back(v);
        for (size_t i = m_element.firstProperty; i < m_part.properties.size(); ++i) {
            m_part.properties[i].table = m_element.table;
            m_part.properties[i].parent = parent;
            m_part.properties[i].record = -2 - var; // a global, numbered before sorting
        }
        for (size_t i = m_element.firstRegion; i < m_part.code.size(); ++i)
            m_part.code[i].record = -2 - var;
        m_element = Element{};
        m_element.firstProperty = m_part.properties.size();
        m_element.firstRegion = m_part.code.size();
    }

    // Rec and xRec: the table itself, or the SourceTable of a page or form.
    void addImplicitRecords()
    {
        if (m_part.ownTable < 0)
            return;
        for (int i = 1; i <= 2; ++i) {
            XrefSymbol v;
            v.kind = SymbolKind::Variable;
            v.pos = -i;
            v.length = static_cast<std::uint16_t>(i == 1 ? 3 : 4);
            v.object = m_object;
            v.number = OK_TABLE;
            v.target = m_part.ownTable;
            v.implicit = true;
            m_globals.push_back(v);
        }
    }

    // Orders each run by folded name and puts the runs together; renumbers what refers to globals.
    void assemble()
    {
        auto byName = [&](const XrefSymbol& a, const XrefSymbol& b) { return compareFolded(m_index.name(a), m_index.name(b)) < 0; };
        std::stable_sort(m_fields.begin(), m_fields.end(), byName);
        std::stable_sort(m_procedures.begin(), m_procedures.end(), byName);
        std::vector<int> order(m_globals.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int>(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return byName(m_globals[static_cast<size_t>(a)], m_globals[static_cast<size_t>(b)]); });
        std::vector<int> newIndex(m_globals.size());
        for (size_t i = 0; i < order.size(); ++i)
            newIndex[static_cast<size_t>(order[i])] = static_cast<int>(i);
        std::vector<XrefSymbol>& out = m_part.symbols;
        out.clear();
        out.reserve(m_fields.size() + m_procedures.size() + m_globals.size() + m_locals.size());
        m_part.kindStart[0] = 0;
        out.insert(out.end(), m_fields.begin(), m_fields.end());
        m_part.kindStart[1] = static_cast<int>(out.size());
        out.insert(out.end(), m_procedures.begin(), m_procedures.end());
        m_part.kindStart[2] = static_cast<int>(out.size());
        for (int i : order)
            out.push_back(m_globals[static_cast<size_t>(i)]);
        m_part.kindStart[3] = static_cast<int>(out.size());
        out.insert(out.end(), m_locals.begin(), m_locals.end());
        m_part.kindStart[4] = static_cast<int>(out.size());
        for (ScopeRange& s : m_part.scopes) {
            s.first += m_part.kindStart[3];
            s.last += m_part.kindStart[3];
        }
        auto renumber = [&](int& record) {
            if (record <= -2)
                record = m_part.kindStart[2] + newIndex[static_cast<size_t>(-2 - record)];
        };
        for (PropertyItem& p : m_part.properties)
            renumber(p.record);
        for (CodeRegion& c : m_part.code)
            renumber(c.record);
    }
};

} // namespace

void ReferenceBuilder::declare(int object, ReferenceIndex::ObjectPart& part) const
{
    Declarations(index, index.m_manager.get(object), object, part).run();
}
