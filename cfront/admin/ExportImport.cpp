#include "admin/ExportImport.h"

#include "store/DateTimeCodec.h"

#include <algorithm>
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

std::string exampleLine(size_t line, std::string_view source)
{
    return "line " + std::to_string(line) + " \"" + std::string(source) + "\"";
}

const char* const kOrderNames[] = {"day first", "month first", "year first"};
constexpr int kOrders = 3;
const int32_t kEarliestDate = 19800101;

// The orders of a set (bit o = order o) as a list: "day first, month first or year first" with
// ", " and " or ".
std::string orderNames(unsigned set, const std::string& prefix, const std::string& lastJoint)
{
    std::vector<std::string> names;
    for (int o = 0; o < kOrders; ++o)
        if (set & (1u << o))
            names.push_back(prefix + kOrderNames[o]);
    std::string list = names[0];
    for (size_t i = 1; i < names.size(); ++i)
        list += (i + 1 == names.size() ? lastJoint : ", ") + names[i];
    return list;
}

// Decides the order of day, month and year from the dates of an export whose form does not fix
// it, seen one at a time: the one order that reads every date as a day from 1980 to today.
// Dates no order reads so are left out (reported when the values are read, or kept as read).
class DateOrderVote {
public:
    explicit DateOrderVote(int32_t today) : m_today(today) {}

    void add(const ExportDateText& date, size_t line, std::string_view source)
    {
        unsigned plausible = 0;
        int32_t read[kOrders];
        for (int o = 0; o < kOrders; ++o) {
            read[o] = exportDate(date, static_cast<DateOrder>(o));
            if (read[o] != 0 && read[o] >= kEarliestDate && (m_today == 0 || read[o] <= m_today))
                plausible |= 1u << o;
        }
        if (plausible == 0)
            return;
        for (int o = 0; o < kOrders; ++o)
            if (read[o] != 0 && !(plausible & (1u << o)) && m_ruledOut[o].line == 0)
                m_ruledOut[o] = {line, exampleLine(line, source), read[o]};
        m_fitting &= plausible;
        if (m_firstOfSet[plausible].line == 0)
            m_firstOfSet[plausible] = {line, exampleLine(line, source), 0};
        if (m_distinct.size() < 2 && (m_distinct.empty() || m_firstText != source)) {
            m_firstText = m_distinct.empty() ? std::string(source) : m_firstText;
            m_distinct.push_back(exampleLine(line, source));
        }
    }

    // The order, or none with the reason in why.
    std::optional<DateOrder> decide(std::string& why) const
    {
        if (m_distinct.empty())
            return DateOrder::DayMonthYear; // any order will do
        for (int o = 0; o < kOrders; ++o)
            if (m_fitting == 1u << o)
                return static_cast<DateOrder>(o);
        if (m_fitting != 0) {
            std::string second = m_distinct.size() > 1 ? " and " + m_distinct[1] : "";
            why = "the order of day, month and year cannot be told from the dates: " + m_distinct[0] + second +
                  " read " + orderNames(m_fitting, "as ", " and ") + "; give --date-order dmy|mdy|ymd";
        } else {
            auto [first, second] = twoExamples();
            why = "the dates do not share one order of day, month and year: " + m_firstOfSet[first].source +
                  " is " + orderNames(first, "", " or ") + ", " + m_firstOfSet[second].source + " " +
                  orderNames(second, "", " or ") + "; give --date-order dmy|mdy|ymd (with --lenient for the others)";
        }
        for (int o = 0; o < kOrders; ++o)
            if (!(m_fitting & (1u << o)) && m_ruledOut[o].line != 0)
                why += "; " + std::string(kOrderNames[o]) + " is ruled out by " + m_ruledOut[o].source +
                       ", which it reads as " + dateToText(m_ruledOut[o].date) +
                       (m_ruledOut[o].date < kEarliestDate ? ", before 1980" : ", later than today");
        return std::nullopt;
    }

private:
    struct Example {
        size_t line = 0; // 0: none
        std::string source;
        int32_t date = 0;
    };

    // Two sets of orders with an example each, preferably sharing no order, the earliest first.
    std::pair<unsigned, unsigned> twoExamples() const
    {
        std::vector<unsigned> sets;
        for (unsigned set = 1; set < 8; ++set)
            if (m_firstOfSet[set].line != 0)
                sets.push_back(set);
        std::sort(sets.begin(), sets.end(),
                  [this](unsigned a, unsigned b) { return m_firstOfSet[a].line < m_firstOfSet[b].line; });
        for (size_t i = 0; i < sets.size(); ++i)
            for (size_t j = i + 1; j < sets.size(); ++j)
                if ((sets[i] & sets[j]) == 0)
                    return {sets[i], sets[j]};
        return {sets[0], sets[1]};
    }

    int32_t m_today;
    unsigned m_fitting = 7;
    Example m_ruledOut[kOrders];
    Example m_firstOfSet[8];
    std::vector<std::string> m_distinct; // the first two dates of different texts
    std::string m_firstText;
};

// Walks the lines of an export: onHeader for each OBJECT line (true when it starts an object of a
// known type), onProperty for each trimmed line inside such an object's OBJECT-PROPERTIES block.
void scanExport(std::istream& in, const std::function<bool(size_t, std::string_view)>& onHeader,
                const std::function<void(size_t, std::string_view)>& onProperty)
{
    bool inObject = false, inProperties = false;
    size_t lineNumber = 0;
    std::string line;
    while (std::getline(in, line)) {
        ++lineNumber;
        std::string_view raw = line;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        if (raw.substr(0, 7) == "OBJECT ") {
            inObject = onHeader(lineNumber, raw);
            inProperties = false;
        } else if (inObject && trim(raw) == "OBJECT-PROPERTIES") {
            inProperties = true;
        } else if (inProperties && trim(raw) == "}") {
            inProperties = false;
        } else if (inProperties) {
            onProperty(lineNumber, trim(raw));
        }
    }
}

// The date order of the export, from its dates; none when they do not decide it.
std::optional<DateOrder> decideDateOrder(std::istream& in, int32_t today, std::string& why)
{
    DateOrderVote vote(today);
    ObjectRow row;
    std::string problem;
    scanExport(
        in, [&](size_t, std::string_view line) { return parseHeader(line, row, problem); },
        [&](size_t lineNumber, std::string_view line) {
            if (!isProperty(line, "Date"))
                return;
            std::optional<ExportDateText> date = splitExportDate(propertyValue(line, "Date"));
            if (date && !orderIsFixed(*date))
                vote.add(*date, lineNumber, line);
        });
    return vote.decide(why);
}

// Reads one property of the current object into row; a date or time that cannot be read is
// counted in reading.
void readProperty(std::string_view line, size_t lineNumber, DateOrder order, ObjectRow& row,
                  ExportReading& reading)
{
    if (isProperty(line, "Date") || isProperty(line, "Time")) {
        bool isDate = line[0] == 'D';
        std::string_view value = propertyValue(line, isDate ? "Date" : "Time");
        if (value.empty())
            return;
        int32_t result = 0;
        if (isDate) {
            std::optional<ExportDateText> date = splitExportDate(value);
            result = row.date = date ? exportDate(*date, order) : 0;
        } else {
            result = row.time = exportTime(value);
        }
        if (result == 0 && reading.unreadableCount++ < kShownUnreadable)
            reading.unreadable.push_back("line " + std::to_string(lineNumber) + ": " + objectTypeWord(row.type) +
                                         " " + std::to_string(row.id) + " " + row.name + ": " +
                                         (isDate ? "date" : "time") + " \"" + std::string(value) +
                                         "\" cannot be read");
    } else if (isProperty(line, "Version List")) {
        row.version = std::string(propertyValue(line, "Version List"));
    } else if (isProperty(line, "Modified")) {
        row.flag = propertyValue(line, "Modified") == "Yes" ? 1 : 0;
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

ExportReading importExport(std::istream& in, const ImportOptions& options,
                           const std::function<void(const ObjectRow&)>& store)
{
    ExportReading reading;
    std::optional<DateOrder> order = options.dateOrder;
    if (!order) {
        order = decideDateOrder(in, options.today, reading.undecidedOrder);
        if (!order)
            return reading;
        in.clear();
        in.seekg(0);
    }
    std::optional<ObjectRow> row;
    auto handOn = [&] {
        if (row && (options.lenient || reading.unreadableCount == 0)) {
            store(*row);
            ++reading.objects;
        }
        row.reset();
    };
    scanExport(
        in,
        [&](size_t lineNumber, std::string_view line) {
            handOn();
            ObjectRow next;
            std::string problem;
            if (!parseHeader(line, next, problem)) {
                reading.warnings.push_back("line " + std::to_string(lineNumber) + ": " + problem);
                return false;
            }
            row = std::move(next);
            return true;
        },
        [&](size_t lineNumber, std::string_view line) { readProperty(line, lineNumber, *order, *row, reading); });
    handOn();
    return reading;
}

} // namespace cfront
