#include "admin/ExportDates.h"

#include "store/DateTimeCodec.h"

namespace cfront {
namespace {

// Reads 1..maxDigits decimal digits at pos.
bool readDigits(std::string_view text, size_t& pos, int maxDigits, int& value, int& digits)
{
    value = 0;
    digits = 0;
    while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos++] - '0');
        ++digits;
    }
    return digits > 0;
}

int fullYear(int year, int digits)
{
    return digits == 4 ? year : year + (year < 30 ? 2000 : 1900);
}

} // namespace

std::optional<DateOrder> dateOrderNamed(std::string_view name)
{
    if (name == "dmy")
        return DateOrder::DayMonthYear;
    if (name == "mdy")
        return DateOrder::MonthDayYear;
    if (name == "ymd")
        return DateOrder::YearMonthDay;
    return std::nullopt;
}

const char* dateOrderName(DateOrder order)
{
    static const char* const names[] = {"dmy", "mdy", "ymd"};
    return names[static_cast<int>(order)];
}

std::optional<ExportDateText> splitExportDate(std::string_view text)
{
    ExportDateText date;
    size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        if (i == 1) {
            if (pos >= text.size() || (text[pos] != '.' && text[pos] != '/' && text[pos] != '-'))
                return std::nullopt;
            date.separator = text[pos++];
        } else if (i == 2 && (pos >= text.size() || text[pos++] != date.separator)) {
            return std::nullopt;
        }
        if (!readDigits(text, pos, 4, date.parts[i], date.digits[i]) || date.digits[i] == 3)
            return std::nullopt;
    }
    bool fourFirst = date.digits[0] == 4, fourLast = date.digits[2] == 4;
    if (pos != text.size() || date.digits[1] == 4 || (fourFirst && fourLast))
        return std::nullopt;
    return date;
}

bool orderIsFixed(const ExportDateText& date)
{
    return date.separator == '.' || date.digits[0] == 4;
}

int32_t exportDate(const ExportDateText& date, DateOrder order)
{
    if (date.digits[0] == 4)
        order = DateOrder::YearMonthDay;
    else if (date.separator == '.')
        order = DateOrder::DayMonthYear;
    const int* p = date.parts;
    const int* d = date.digits;
    switch (order) {
    case DateOrder::DayMonthYear:
        return d[0] <= 2 ? encodeDate(fullYear(p[2], d[2]), p[1], p[0]) : 0;
    case DateOrder::MonthDayYear:
        return d[0] <= 2 ? encodeDate(fullYear(p[2], d[2]), p[0], p[1]) : 0;
    case DateOrder::YearMonthDay:
        return d[2] <= 2 ? encodeDate(fullYear(p[0], d[0]), p[1], p[2]) : 0;
    }
    return 0;
}

int32_t exportTime(std::string_view text)
{
    int parts[3] = {0, 0, 0};
    size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        int digits = 0;
        if ((i > 0 && (pos >= text.size() || text[pos++] != ':')) || !readDigits(text, pos, 2, parts[i], digits) ||
            (i > 0 && digits != 2))
            return 0;
    }
    if (pos < text.size() && text[pos] == '.') {
        size_t start = ++pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
            ++pos;
        if (pos == start)
            return 0;
    }
    std::string_view rest = text.substr(pos);
    if (rest == " AM" || rest == " PM") {
        if (parts[0] < 1 || parts[0] > 12)
            return 0;
        parts[0] = parts[0] % 12 + (rest == " PM" ? 12 : 0);
    } else if (!rest.empty()) {
        return 0;
    }
    return encodeTime(parts[0], parts[1], parts[2]);
}

} // namespace cfront
