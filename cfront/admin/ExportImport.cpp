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

// A Date or Time property waiting for the date order of the file.
struct PendingValue {
    size_t object;
    size_t line;
    bool isDate;
    std::string text; // the value
    std::string source; // the whole property line
};

void readProperty(std::string_view line, size_t lineNumber, size_t object, ObjectRow& row,
                  std::vector<PendingValue>& pending)
{
    if (isProperty(line, "Date") || isProperty(line, "Time")) {
        bool isDate = line[0] == 'D';
        std::string_view value = propertyValue(line, isDate ? "Date" : "Time");
        if (!value.empty())
            pending.push_back({object, lineNumber, isDate, std::string(value), std::string(line)});
    } else if (isProperty(line, "Version List")) {
        row.version = std::string(propertyValue(line, "Version List"));
    } else if (isProperty(line, "Modified")) {
        row.flag = propertyValue(line, "Modified") == "Yes" ? 1 : 0;
    }
}

std::string exampleLine(const PendingValue& value)
{
    return "line " + std::to_string(value.line) + " \"" + value.source + "\"";
}

// The one order that reads every date whose form does not fix it; otherwise reading.undecidedOrder
// says why there is none. Without such dates any order will do.
DateOrder decideDateOrder(const std::vector<PendingValue>& pending, ExportReading& reading)
{
    bool fits[2] = {true, true}; // day first, month first
    const PendingValue* example[2] = {nullptr, nullptr}; // the first date only one order reads
    std::vector<const PendingValue*> either;
    for (const PendingValue& value : pending) {
        std::optional<ExportDateText> date = value.isDate ? splitExportDate(value.text) : std::nullopt;
        if (!date || orderIsFixed(*date))
            continue;
        bool reads[2] = {exportDate(*date, DateOrder::DayMonthYear) != 0,
                         exportDate(*date, DateOrder::MonthDayYear) != 0};
        if (!reads[0] && !reads[1])
            continue; // unreadable in any order: reported when the values are read
        for (int o = 0; o < 2; ++o) {
            fits[o] = fits[o] && reads[o];
            if (reads[o] && !reads[1 - o] && !example[o])
                example[o] = &value;
        }
        if (reads[0] && reads[1] && (either.empty() || (either.size() == 1 && either[0]->text != value.text)))
            either.push_back(&value);
    }
    if (fits[0] != fits[1])
        return fits[0] ? DateOrder::DayMonthYear : DateOrder::MonthDayYear;
    if (fits[0] && either.size() >= 1) {
        std::string second = either.size() > 1 ? " and " + exampleLine(*either[1]) : "";
        reading.undecidedOrder = "the order of day, month and year cannot be told from the dates: " +
                                 exampleLine(*either[0]) + second +
                                 " read as day first and as month first; give --date-order dmy|mdy|ymd";
    } else if (!fits[0] && example[0] && example[1]) {
        reading.undecidedOrder = "the dates do not share one order of day, month and year: " +
                                 exampleLine(*example[0]) + " is day first, " + exampleLine(*example[1]) +
                                 " month first; give --date-order dmy|mdy|ymd (with --lenient for the others)";
    }
    return DateOrder::DayMonthYear;
}

void resolveValues(const std::vector<PendingValue>& pending, DateOrder order, ExportReading& reading)
{
    for (const PendingValue& value : pending) {
        ObjectRow& row = reading.objects[value.object];
        int32_t result = 0;
        if (value.isDate) {
            std::optional<ExportDateText> date = splitExportDate(value.text);
            result = date ? exportDate(*date, order) : 0;
            row.date = result;
        } else {
            result = exportTime(value.text);
            row.time = result;
        }
        if (result == 0)
            reading.unreadable.push_back("line " + std::to_string(value.line) + ": " + objectTypeWord(row.type) +
                                         " " + std::to_string(row.id) + " " + row.name + ": " +
                                         (value.isDate ? "date" : "time") + " \"" + value.text +
                                         "\" cannot be read");
    }
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

ExportReading readExport(std::string_view text, const ImportOptions& options)
{
    ExportReading reading;
    std::vector<PendingValue> pending;
    bool inObject = false, inProperties = false;
    size_t lineNumber = 0;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        std::string_view raw = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        if (raw.substr(0, 7) == "OBJECT ") {
            ObjectRow row;
            std::string problem;
            inObject = parseHeader(raw, row, problem);
            if (inObject)
                reading.objects.push_back(row);
            else
                reading.warnings.push_back("line " + std::to_string(lineNumber) + ": " + problem);
            inProperties = false;
        } else if (inObject && trim(raw) == "OBJECT-PROPERTIES") {
            inProperties = true;
        } else if (inProperties && trim(raw) == "}") {
            inProperties = false;
        } else if (inProperties) {
            readProperty(trim(raw), lineNumber, reading.objects.size() - 1, reading.objects.back(), pending);
        }
    }
    DateOrder order = options.dateOrder ? *options.dateOrder : decideDateOrder(pending, reading);
    if (reading.undecidedOrder.empty())
        resolveValues(pending, order, reading);
    return reading;
}

} // namespace cfront
