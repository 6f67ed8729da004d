#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The date and time texts of Navision object text exports, as real exports of several
// countries and versions write them.
namespace cfront {

// The order of day, month and year in a date text.
enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// "dmy", "mdy" or "ymd".
std::optional<DateOrder> dateOrderNamed(std::string_view name);
const char* dateOrderName(DateOrder order);

// A date text split into its three numbers: "05.07.23", "09/06/18", "01-06-08", "2023-07-05",
// "5.7.2023". Each part has 1 or 2 digits, except one year part of 4 digits (first or last).
struct ExportDateText {
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    char separator = '.';
};
std::optional<ExportDateText> splitExportDate(std::string_view text);

// The encoded date of a split text read in the given order; 0 when it names no valid date. A
// four-digit first part is always the year (year first); dotted dates are always day first;
// two-digit years 30..99 are 1930..1999, 00..29 are 2000..2029.
int32_t exportDate(const ExportDateText& date, DateOrder order);
// Whether the text's own form fixes its order (dotted, or four-digit year first).
bool orderIsFixed(const ExportDateText& date);

// An export time: "04:59:48", "4:59:48", "10:06:14 PM", "12:00:00 AM", fractions of a second
// dropped. The encoded time, or 0 when the text is no time of day.
int32_t exportTime(std::string_view text);

} // namespace cfront
