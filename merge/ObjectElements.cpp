#include "merge/ObjectElements.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

using Lines = std::vector<std::string_view>;

int indentOf(std::string_view line)
{
    const size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? -1 : static_cast<int>(first);
}

std::string_view trimmed(std::string_view s)
{
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string joinLines(const Lines& lines, size_t from, size_t to)
{
    std::string out;
    for (size_t i = from; i < to; ++i) {
        if (i > from)
            out += "\r\n";
        out += lines[i];
    }
    return out;
}

// Lines from..to without the blank lines at their end.
size_t withoutTrailingBlanks(const Lines& lines, size_t from, size_t to)
{
    while (to > from && indentOf(lines[to - 1]) < 0)
        --to;
    return to;
}

// A property starts where a line, at exactly the property column, holds a name and "=".
bool startsProperty(std::string_view line, int column)
{
    if (indentOf(line) != column || !std::isalpha(static_cast<unsigned char>(line[static_cast<size_t>(column)])))
        return false;
    for (size_t i = static_cast<size_t>(column); i < line.size(); ++i) {
        const char c = line[i];
        if (c == '=')
            return true;
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != ' ' && c != '_' && c != '.')
            return false;
    }
    return false;
}

bool isCodeValue(std::string_view value) { return startsWith(value, "BEGIN") || startsWith(value, "VAR"); }

// The properties in lines: a property starts on the first line at firstColumn, on the others at
// column; the lines between belong to the value. Name, value without the ";" after it.
std::vector<ElementProperty> readProperties(const Lines& lines, int firstColumn, int column)
{
    auto startsAt = [&](size_t i) { return startsProperty(lines[i], i == 0 ? firstColumn : column); };
    std::vector<ElementProperty> out;
    size_t i = 0;
    while (i < lines.size()) {
        if (!startsAt(i)) {
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < lines.size() && !startsAt(end))
            ++end;
        const size_t last = withoutTrailingBlanks(lines, i, end);
        std::string text = joinLines(lines, i, last).substr(static_cast<size_t>(i == 0 ? firstColumn : column));
        const size_t eq = text.find('=');
        ElementProperty property{std::string(trimmed(std::string_view(text).substr(0, eq))), text.substr(eq + 1)};
        while (!property.value.empty() && property.value.back() == ' ')
            property.value.pop_back();
        if (!property.value.empty() && property.value.back() == ';')
            property.value.pop_back();
        property.code = isCodeValue(property.value);
        out.push_back(std::move(property));
        i = end;
    }
    return out;
}

// The column of an entry's properties on its lines from first on: the least indentation, up to
// limit, of a line that starts like a property; limit when there is none. Continuation lines (a
// caption's next language, code) stand deeper than the properties, and a cell wider than its
// padding moves the first line's properties to the right, never the others.
int propertyColumn(const Lines& lines, size_t first, int limit)
{
    int column = -1;
    for (size_t i = first; i < lines.size(); ++i) {
        const int indent = indentOf(lines[i]);
        if (indent >= 0 && indent <= limit && (column < 0 || indent < column) && startsProperty(lines[i], indent))
            column = indent;
    }
    return column < 0 ? limit : column;
}

// A declaration "Name@1000 : Type;" (or without "@ID"): its key ("@1000" or the name), name and type.
void readDeclaration(std::string_view line, std::string& key, std::string& name, std::string& type)
{
    line = trimmed(line);
    const size_t colon = line.find(" : ");
    std::string_view head = line.substr(0, colon);
    type = colon == std::string_view::npos ? std::string() : std::string(line.substr(colon + 3));
    if (!type.empty() && type.back() == ';')
        type.pop_back();
    const size_t at = head.rfind('@');
    const bool hasId = at != std::string_view::npos && at + 1 < head.size() &&
                       std::all_of(head.begin() + static_cast<long>(at) + 1, head.end(),
                                   [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    name = std::string(hasId ? head.substr(0, at) : head);
    key = hasId ? std::string(head.substr(at)) : name;
}

class Reader {
public:
    explicit Reader(const Lines& lines) : m_lines(lines) {}
    ObjectElements read();

private:
    void add(ObjectElement element, size_t from, size_t to);
    void readPropertySection(const std::string& section, size_t from, size_t to);
    void readEntrySection(const std::string& section, size_t from, size_t to);
    void readEntry(const std::string& section, size_t from, size_t to);
    void readCode(size_t from, size_t to);
    size_t readProcedure(size_t from, size_t to);
    // The variables of a VAR block, lines from..to, as elements under owner (globals without one).
    void readVariables(const std::string& kind, const ObjectElement* owner, size_t from, size_t to);
    void addTrigger(ObjectElement element, const ElementProperty& property, size_t from, size_t to);
    void addWhole(const std::string& section, const std::string& kind, const std::string& key, size_t from, size_t to);

    const Lines& m_lines;
    ObjectElements m_out;
    std::map<std::pair<std::string, std::string>, int> m_seen;
};

void Reader::add(ObjectElement element, size_t from, size_t to)
{
    // An identity that stands twice in a section (a repeated control ID) gets its occurrence.
    const int seen = ++m_seen[{element.section, element.key}];
    if (seen > 1) {
        element.key += " (" + std::to_string(seen) + ")";
        element.label += " (" + std::to_string(seen) + ")";
    }
    element.firstLine = static_cast<int>(from);
    element.lineCount = static_cast<int>(to - from);
    m_out.elements.push_back(std::move(element));
}

void Reader::addWhole(const std::string& section, const std::string& kind, const std::string& key, size_t from,
                      size_t to)
{
    ObjectElement element{section, kind, key, key, {{"Text", joinLines(m_lines, from, to), true}}};
    add(std::move(element), from, to);
}

ObjectElements Reader::read()
{
    size_t end = withoutTrailingBlanks(m_lines, 0, m_lines.size());
    if (end < 3 || !startsWith(m_lines[0], "OBJECT ") || m_lines[1] != "{" || m_lines[end - 1] != "}") {
        m_out.damaged = true;
        return std::move(m_out);
    }
    std::string_view header = m_lines[0].substr(7);
    for (int word = 0; word < 2 && header.find(' ') != std::string_view::npos; ++word)
        header = header.substr(header.find(' ') + 1);
    add({"OBJECT", "Property", "Name", "Name", {{"Value", std::string(header)}}}, 0, 1);
    size_t i = 2;
    while (i < end - 1) {
        if (indentOf(m_lines[i]) < 0) {
            ++i;
            continue;
        }
        const std::string section(trimmed(m_lines[i]));
        if (indentOf(m_lines[i]) != 2 || i + 1 >= end || m_lines[i + 1] != "  {") {
            m_out.damaged = true;
            return std::move(m_out);
        }
        size_t close = i + 2;
        while (close < end - 1 && m_lines[close] != "  }")
            ++close;
        if (close >= end - 1) {
            m_out.damaged = true;
            return std::move(m_out);
        }
        if (section == "OBJECT-PROPERTIES" || section == "PROPERTIES")
            readPropertySection(section, i + 2, close);
        else if (section == "CODE")
            readCode(i + 2, close);
        else
            readEntrySection(section, i + 2, close);
        i = close + 1;
    }
    return std::move(m_out);
}

void Reader::readPropertySection(const std::string& section, size_t from, size_t to)
{
    const Lines lines(m_lines.begin() + static_cast<long>(from), m_lines.begin() + static_cast<long>(to));
    size_t line = 0;
    for (ElementProperty& property : readProperties(lines, 4, 4)) {
        while (!startsProperty(lines[line], 4))
            ++line;
        size_t next = line + 1;
        while (next < lines.size() && !startsProperty(lines[next], 4))
            ++next;
        const size_t last = withoutTrailingBlanks(lines, line, next);
        ObjectElement element{section, property.code ? "Trigger" : "Property", property.name, property.name, {}};
        if (property.code) {
            addTrigger(std::move(element), property, from + line, from + last);
        } else {
            element.properties.push_back({"Value", std::move(property.value)});
            add(std::move(element), from + line, from + last);
        }
        line = next;
    }
}

// A trigger's code, with the variables of its VAR block as elements of their own.
void Reader::addTrigger(ObjectElement element, const ElementProperty& property, size_t from, size_t to)
{
    std::string code = property.value;
    size_t bodyLine = from;
    if (startsWith(property.value, "VAR")) {
        // The value's lines: "Name=VAR", the variables, then BEGIN in the column of VAR.
        const int column = indentOf(m_lines[from]) + static_cast<int>(element.key.size()) + 1;
        size_t begin = from + 1;
        while (begin < to && !(indentOf(m_lines[begin]) == column && trimmed(m_lines[begin]) == "BEGIN"))
            ++begin;
        if (begin < to) {
            code = joinLines(m_lines, begin, to).substr(static_cast<size_t>(column));
            bodyLine = begin;
            while (!code.empty() && code.back() == ';')
                code.pop_back();
            element.properties.push_back({"Code", code, true});
            const ObjectElement owner = element;
            add(std::move(element), from, to);
            readVariables("Local", &owner, from + 1, bodyLine);
            return;
        }
    }
    element.properties.push_back({"Code", code, true});
    add(std::move(element), from, to);
}

void Reader::readVariables(const std::string& kind, const ObjectElement* owner, size_t from, size_t to)
{
    int column = -1;
    for (size_t i = from; i < to; ++i) {
        const int indent = indentOf(m_lines[i]);
        if (indent < 0)
            continue;
        if (column < 0)
            column = indent;
        if (indent != column)
            continue;
        size_t end = i + 1;
        while (end < to && indentOf(m_lines[end]) > column)
            ++end;
        std::string key, name, type;
        readDeclaration(joinLines(m_lines, i, end), key, name, type);
        ObjectElement element{owner != nullptr ? owner->section : "CODE", kind, key, name,
                              {{"Name", name}, {"Type", type}}};
        if (owner != nullptr) {
            element.key = owner->key + "/" + key;
            element.label = owner->label + "." + name;
        }
        add(std::move(element), i, end);
        i = end - 1;
    }
}


// The names of an entry's cells before its properties, by section and count; "Cell N" otherwise.
std::string cellName(const std::string& section, size_t count, size_t index)
{
    static const std::map<std::pair<std::string, size_t>, std::vector<const char*>> names = {
        {{"FIELDS", 4}, {"No.", "Enabled", "Name", "Type"}},
        {{"KEYS", 2}, {"Enabled", "Fields"}},
        {{"FIELDGROUPS", 3}, {"ID", "Name", "Fields"}},
        {{"CONTROLS", 6}, {"ID", "Type", "XPos", "YPos", "Width", "Height"}},
        {{"CONTROLS", 3}, {"ID", "Indentation", "Type"}},
        {{"ACTIONS", 3}, {"ID", "Indentation", "Type"}},
        {{"ELEMENTS", 5}, {"ID", "Indentation", "Name", "NodeType", "SourceType"}},
        {{"ELEMENTS", 4}, {"ID", "Indentation", "Type", "Name"}},
        {{"DATASET", 4}, {"ID", "Indentation", "Type", "Name"}},
        {{"MENUNODES", 2}, {"Type", "ID"}},
    };
    auto it = names.find({section, count});
    if (it != names.end() && index < it->second.size())
        return it->second[index];
    return "Cell " + std::to_string(index + 1);
}

std::string entryKind(const std::string& section)
{
    static const std::map<std::string, std::string> kinds = {
        {"FIELDS", "Field"},         {"KEYS", "Key"},         {"FIELDGROUPS", "FieldGroup"}, {"CONTROLS", "Control"},
        {"ACTIONS", "Action"},       {"ELEMENTS", "Element"}, {"DATASET", "DataItem"},     {"DATAITEMS", "DataItem"},
        {"MENUNODES", "MenuNode"},   {"LABELS", "Label"},     {"EVENTS", "Event"}};
    auto it = kinds.find(section);
    return it != kinds.end() ? it->second : "Entry";
}

// The cells of an entry's first line up to its first property: where the properties begin on
// that line (its column), or -1 when they begin on the next line, or none follow.
int readCells(std::string_view line, std::vector<std::string>& cells)
{
    size_t p = line.find('{') + 1;
    while (p <= line.size()) {
        size_t semi = p;
        int depth = 0;
        bool quoted = false;
        while (semi < line.size() && (line[semi] != ';' || depth > 0 || quoted)) {
            const char c = line[semi];
            if (c == '"')
                quoted = !quoted;
            else if (!quoted && c == '[')
                ++depth;
            else if (!quoted && c == ']')
                depth = std::max(0, depth - 1);
            ++semi;
        }
        std::string_view cell = line.substr(p, semi - p);
        if (trimmed(cell).find('=') != std::string_view::npos)
            return static_cast<int>(p + cell.find_first_not_of(' '));
        if (semi >= line.size()) {
            cell = trimmed(cell);
            if (!cell.empty() && cell.back() == '}')
                cell = trimmed(cell.substr(0, cell.size() - 1));
            if (!cell.empty() || !cells.empty())
                cells.emplace_back(cell);
            return -1;
        }
        cells.emplace_back(trimmed(cell));
        p = semi + 1;
        if (trimmed(line.substr(p)).empty())
            return -1;
    }
    return -1;
}

void Reader::readEntrySection(const std::string& section, size_t from, size_t to)
{
    size_t first = from;
    while (first < to && indentOf(m_lines[first]) < 0)
        ++first;
    if (first == to)
        return;
    if (indentOf(m_lines[first]) != 4 || m_lines[first][4] != '{') {
        addWhole(section, "Section", section, from, withoutTrailingBlanks(m_lines, from, to));
        return;
    }
    for (size_t i = first; i < to;) {
        size_t end = i + 1;
        while (end < to && !(indentOf(m_lines[end]) == 4 && m_lines[end][4] == '{'))
            ++end;
        readEntry(section, i, withoutTrailingBlanks(m_lines, i, end));
        i = end;
    }
}

void Reader::readEntry(const std::string& section, size_t from, size_t to)
{
    Lines lines(m_lines.begin() + static_cast<long>(from), m_lines.begin() + static_cast<long>(to));
    const std::string kind = entryKind(section);
    if (trimmed(lines[0]) == "{ PROPERTIES") {
        // A data item of a classic report: a block of its own, named by its table or name.
        std::string key = "DataItem";
        for (std::string_view line : lines) {
            const std::string_view t = trimmed(line);
            if (startsWith(t, "Name=") || (key == "DataItem" && startsWith(t, "DataItemTable=")))
                key = std::string(t.substr(t.find('=') + 1, t.size() - t.find('=') - 2));
        }
        addWhole(section, kind, key, from, to);
        return;
    }
    std::vector<std::string> cells;
    int column = readCells(lines[0], cells);
    // The closing brace of the entry ends its last line.
    std::string last(lines.back());
    while (!last.empty() && last.back() == ' ')
        last.pop_back();
    if (!last.empty() && last.back() == '}')
        last.pop_back();
    while (!last.empty() && last.back() == ' ')
        last.pop_back();
    std::vector<ElementProperty> properties;
    if (column >= 0) {
        std::string head = std::string(static_cast<size_t>(column), ' ') + std::string(lines[0].substr(static_cast<size_t>(column)));
        Lines withHead = lines;
        withHead[0] = head;
        if (lines.size() == 1)
            withHead[0] = head = head.substr(0, std::min(head.size(), last.size()));
        else
            withHead.back() = last;
        properties = readProperties(withHead, column, propertyColumn(withHead, 1, column));
    } else if (lines.size() > 1) {
        Lines rest(lines.begin() + 1, lines.end());
        rest.back() = last;
        properties = readProperties(rest, indentOf(rest[0]), indentOf(rest[0]));
    }
    ObjectElement element{section, kind, "", "", {}};
    for (size_t c = 0; c < cells.size(); ++c)
        element.properties.push_back({cellName(section, cells.size(), c), cells[c]});
    const size_t keyCell = (section == "KEYS" || section == "MENUNODES") && cells.size() > 1 ? 1 : 0;
    for (size_t c = keyCell; c < cells.size() && element.key.empty(); ++c)
        element.key = cells[c];
    if (element.key.empty())
        element.key = "entry";
    element.label = element.key;
    if (section == "FIELDS" && cells.size() > 2)
        element.label += " " + cells[2];
    else if (section == "ELEMENTS" && cells.size() > 2 && startsWith(element.key, "["))
        element.label = cells[2];
    for (ElementProperty& p : properties) {
        if (section == "MENUNODES" && p.name == "Name")
            element.label = p.value;
        element.properties.push_back(std::move(p));
    }
    add(std::move(element), from, to);
}

bool startsProcedure(std::string_view line)
{
    if (indentOf(line) != 4)
        return false;
    const std::string_view t = line.substr(4);
    return startsWith(t, "PROCEDURE ") || startsWith(t, "LOCAL PROCEDURE ") || startsWith(t, "EVENT ") ||
           startsWith(t, "[");
}

void Reader::readCode(size_t from, size_t to)
{
    std::vector<size_t> other;
    for (size_t i = from; i < to;) {
        const std::string_view line = m_lines[i];
        if (indentOf(line) < 0) {
            ++i;
        } else if (line == "    VAR") {
            size_t end = i + 1;
            while (end < to && indentOf(m_lines[end]) != 4)
                ++end;
            readVariables("Variable", nullptr, i + 1, withoutTrailingBlanks(m_lines, i + 1, end));
            i = end;
        } else if (startsProcedure(line)) {
            i = readProcedure(i, to);
        } else if (line == "    BEGIN") {
            size_t end = i + 1;
            while (end < to && m_lines[end] != "    END.")
                ++end;
            end = std::min(end + 1, to);
            addWhole("CODE", "Documentation", "Documentation", i, end);
            i = end;
        } else {
            other.push_back(i++);
        }
    }
    // Lines of no known shape are compared together, as lines.
    if (!other.empty()) {
        ObjectElement element{"CODE", "Text", "Text", "Text", {{"Text", "", true}}};
        for (size_t k = 0; k < other.size(); ++k)
            element.properties[0].value.append(k ? "\r\n" : "").append(m_lines[other[k]]);
        add(std::move(element), other.front(), other.back() + 1);
    }
}

size_t Reader::readProcedure(size_t from, size_t to)
{
    size_t header = from;
    while (header < to && indentOf(m_lines[header]) == 4 && m_lines[header][4] == '[')
        ++header;
    if (header == to)
        return to;
    size_t body = header + 1;
    while (body < to && m_lines[body] != "    VAR" && m_lines[body] != "    BEGIN" && !startsProcedure(m_lines[body]))
        ++body;
    size_t begin = body;
    while (begin < to && m_lines[begin] != "    BEGIN" && !startsProcedure(m_lines[begin]))
        ++begin;
    size_t end = begin;
    while (end < to && m_lines[end] != "    END;" && !startsProcedure(m_lines[end]))
        ++end;
    end = end < to && m_lines[end] == "    END;" ? end + 1 : end;

    std::string_view declaration = trimmed(m_lines[header]);
    const bool isLocal = startsWith(declaration, "LOCAL ");
    if (isLocal)
        declaration = declaration.substr(6);
    declaration = declaration.substr(declaration.find(' ') + 1);
    const size_t nameEnd = std::min(declaration.find('('), declaration.find("::"));
    std::string key, name, type;
    readDeclaration(declaration.substr(0, nameEnd), key, name, type);
    std::string signature = joinLines(m_lines, from, header);
    signature += std::string(signature.empty() ? "" : "\r\n") + (isLocal ? "LOCAL " : "") +
                 std::string(declaration.substr(std::min(nameEnd, declaration.size())));
    for (size_t i = header + 1; i < body; ++i)
        signature.append("\r\n").append(m_lines[i]);
    ObjectElement element{"CODE", "Procedure", key, name,
                          {{"Name", name}, {"Declaration", signature}, {"Code", joinLines(m_lines, begin, end), true}}};
    const ObjectElement owner = element;
    add(std::move(element), from, end);
    if (body < begin)
        readVariables("Local", &owner, body + 1, begin);
    return end;
}

} // namespace

const ElementProperty* ObjectElement::property(std::string_view name) const
{
    for (const ElementProperty& p : properties)
        if (p.name == name)
            return &p;
    return nullptr;
}

std::vector<std::string_view> textLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start && text[end - 1] == '\r')
            --end;
        lines.push_back(text.substr(start, end - start));
        start = next;
    }
    return lines;
}

ObjectElements readObjectElements(std::string_view objectText)
{
    const Lines lines = textLines(objectText);
    ObjectElements out = Reader(lines).read();
    if (out.damaged) {
        out.elements.clear();
        const std::string text = [&] {
            std::string all;
            for (size_t i = 0; i < lines.size(); ++i)
                all.append(lines[i]).append(i + 1 < lines.size() ? "\r\n" : "");
            return all;
        }();
        out.elements.push_back({"TEXT", "Text", "Text", "Text", {{"Text", text, true}}, 0, static_cast<int>(lines.size())});
    }
    return out;
}


std::string oneLineValue(std::string_view value)
{
    std::string out;
    for (std::string_view line : textLines(value)) {
        const size_t first = line.find_first_not_of(' ');
        if (first == std::string_view::npos)
            continue;
        line = line.substr(first, line.find_last_not_of(' ') - first + 1);
        out.append(out.empty() ? "" : " ").append(line);
    }
    return out;
}
