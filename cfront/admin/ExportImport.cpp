#include "admin/ExportImport.h"

#include "store/DateTimeCodec.h"

#include <charconv>
#include <strings.h>

namespace cfront {
namespace {

const char* const kTypeWords[] = {"", "Table", "Form", "Report", "Dataport", "Codeunit",
                                  "XMLport", "MenuSuite", "Page", "Query"};

std::string_view trim(std::string_view text)
{
    size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

// The value of a property line "Name=value;": without the ';', the brackets Navision puts
// around values with leading blanks, and the blanks.
std::string_view propertyValue(std::string_view line, std::string_view name)
{
    std::string_view value = line.substr(name.size() + 1);
    if (!value.empty() && value.back() == ';')
        value.remove_suffix(1);
    if (value.size() >= 2 && value.front() == '[' && value.back() == ']')
        value = value.substr(1, value.size() - 2);
    return trim(value);
}

bool isProperty(std::string_view line, std::string_view name)
{
    return line.size() > name.size() && line.substr(0, name.size()) == name && line[name.size()] == '=';
}

bool parseHeader(std::string_view line, ObjectRow& row, std::string& problem)
{
    std::string_view rest = line.substr(7);
    size_t space = rest.find(' ');
    std::string_view word = rest.substr(0, space);
    row = ObjectRow{};
    row.type = objectTypeCode(word);
    if (row.type == 0) {
        problem = "unknown object type \"" + std::string(word) + "\"";
        return false;
    }
    rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), row.id);
    if (error != std::errc() || (end != rest.data() + rest.size() && *end != ' ')) {
        problem = "no object number";
        return false;
    }
    size_t nameStart = static_cast<size_t>(end - rest.data()) + 1;
    row.name = nameStart < rest.size() ? std::string(rest.substr(nameStart)) : std::string();
    row.dbmTable = row.type == 1 ? row.id : 0;
    return true;
}

void readProperty(std::string_view line, ObjectRow& row, std::string& problem)
{
    if (isProperty(line, "Date") && !parseExportDate(propertyValue(line, "Date"), row.date))
        problem = "unreadable date";
    else if (isProperty(line, "Time") && !parseHoursMinutesSeconds(propertyValue(line, "Time"), row.time))
        problem = "unreadable time";
    else if (isProperty(line, "Version List"))
        row.version = std::string(propertyValue(line, "Version List"));
    else if (isProperty(line, "Modified"))
        row.flag = propertyValue(line, "Modified") == "Yes" ? 1 : 0;
}

} // namespace

int32_t objectTypeCode(std::string_view word)
{
    for (int32_t code = 1; code <= 9; ++code) {
        std::string_view candidate = kTypeWords[code];
        if (word.size() == candidate.size() && strncasecmp(word.data(), candidate.data(), word.size()) == 0)
            return code;
    }
    return 0;
}

const char* objectTypeWord(int32_t code)
{
    return code >= 1 && code <= 9 ? kTypeWords[code] : "";
}

std::vector<ObjectRow> readExportObjects(std::string_view text, std::vector<std::string>& warnings)
{
    std::vector<ObjectRow> rows;
    bool inObject = false, inProperties = false;
    size_t lineNumber = 0;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        std::string_view raw = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        std::string problem;
        if (raw.substr(0, 7) == "OBJECT ") {
            rows.emplace_back();
            inObject = parseHeader(raw, rows.back(), problem);
            if (!inObject)
                rows.pop_back();
            inProperties = false;
        } else if (inObject && trim(raw) == "OBJECT-PROPERTIES") {
            inProperties = true;
        } else if (inProperties && trim(raw) == "}") {
            inProperties = false;
        } else if (inProperties) {
            readProperty(trim(raw), rows.back(), problem);
        }
        if (!problem.empty())
            warnings.push_back("line " + std::to_string(lineNumber) + ": " + problem);
    }
    return rows;
}

} // namespace cfront
