#include "store/DateTimeCodec.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace cfront {
namespace {

bool leapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : days[month - 1];
}

// Reads an unsigned decimal number of minDigits..maxDigits digits at pos.
bool readNumber(std::string_view text, size_t& pos, size_t minDigits, size_t maxDigits, int& value)
{
    size_t start = pos;
    value = 0;
    while (pos < text.size() && pos - start < maxDigits && text[pos] >= '0' && text[pos] <= '9')
        value = value * 10 + (text[pos++] - '0');
    return pos - start >= minDigits;
}

bool expect(std::string_view text, size_t& pos, char c)
{
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

// Three numbers joined by separator, the whole text consumed.
bool readTriple(std::string_view text, char separator, const size_t (&digits)[3][2], int (&parts)[3])
{
    size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && !expect(text, pos, separator))
            return false;
        if (!readNumber(text, pos, digits[i][0], digits[i][1], parts[i]))
            return false;
    }
    return pos == text.size();
}

bool decodeDate(int32_t date, int& year, int& month, int& day)
{
    year = date / 10000;
    month = date / 100 % 100;
    day = date % 100;
    return date > 0 && encodeDate(year, month, day) == date;
}

} // namespace

int32_t encodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return 0;
    return year * 10000 + month * 100 + day;
}

int32_t encodeTime(int hours, int minutes, int seconds)
{
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59)
        return 0;
    return 1 + hours * 3600 + minutes * 60 + seconds;
}

std::string dateToText(int32_t date)
{
    int year = 0, month = 0, day = 0;
    if (!decodeDate(date, year, month, day))
        return {};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

std::string timeToText(int32_t time)
{
    if (time < 1 || time > 86400)
        return {};
    int seconds = time - 1;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

bool textToDate(std::string_view text, int32_t& date)
{
    date = 0;
    if (text.empty())
        return true;
    static const size_t digits[3][2] = {{4, 4}, {2, 2}, {2, 2}};
    int parts[3];
    if (!readTriple(text, '-', digits, parts))
        return false;
    date = encodeDate(parts[0], parts[1], parts[2]);
    return date != 0;
}

bool textToTime(std::string_view text, int32_t& time)
{
    time = 0;
    if (text.empty())
        return true;
    static const size_t digits[3][2] = {{2, 2}, {2, 2}, {2, 2}};
    int parts[3];
    if (!readTriple(text, ':', digits, parts))
        return false;
    time = encodeTime(parts[0], parts[1], parts[2]);
    return time != 0;
}

bool parseDayMonthYear(std::string_view text, int32_t& date)
{
    static const size_t digits[3][2] = {{1, 2}, {1, 2}, {4, 4}};
    int parts[3];
    date = readTriple(text, '.', digits, parts) ? encodeDate(parts[2], parts[1], parts[0]) : 0;
    return date != 0;
}

bool parseHoursMinutesSeconds(std::string_view text, int32_t& time)
{
    static const size_t digits[3][2] = {{1, 2}, {1, 2}, {1, 2}};
    int parts[3];
    time = readTriple(text, ':', digits, parts) ? encodeTime(parts[0], parts[1], parts[2]) : 0;
    return time != 0;
}

int64_t currentStamp()
{
    return static_cast<int64_t>(std::time(nullptr));
}

int64_t localStamp(int32_t date, int32_t time)
{
    std::tm local{};
    local.tm_year = date / 10000 - 1900;
    local.tm_mon = date / 100 % 100 - 1;
    local.tm_mday = date % 100;
    local.tm_hour = (time - 1) / 3600;
    local.tm_min = (time - 1) / 60 % 60;
    local.tm_sec = (time - 1) % 60;
    local.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&local));
}

namespace {

void splitTm(const std::tm& parts, int32_t& date, int32_t& time)
{
    date = encodeDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
    time = date == 0 ? 0 : encodeTime(parts.tm_hour, parts.tm_min, std::min(parts.tm_sec, 59));
}

} // namespace

void utcDateTime(int64_t stamp, int32_t& date, int32_t& time)
{
    std::time_t t = static_cast<std::time_t>(stamp);
    std::tm parts{};
    date = time = 0;
    if (gmtime_r(&t, &parts))
        splitTm(parts, date, time);
}

void localDateTime(int64_t stamp, int32_t& date, int32_t& time)
{
    std::time_t t = static_cast<std::time_t>(stamp);
    std::tm parts{};
    date = time = 0;
    if (localtime_r(&t, &parts))
        splitTm(parts, date, time);
}

std::string localDateSql(const char* stampColumn, const char* dateColumn)
{
    std::string stamp = stampColumn;
    return "(CASE WHEN " + stamp + " IS NULL THEN " + dateColumn + " ELSE CAST(strftime('%Y%m%d', " + stamp +
           ", 'unixepoch', 'localtime') AS INTEGER) END)";
}

std::string localTimeSql(const char* stampColumn, const char* timeColumn)
{
    std::string stamp = stampColumn;
    return "(CASE WHEN " + stamp + " IS NULL THEN " + timeColumn + " ELSE 1 + (CAST(strftime('%s', " + stamp +
           ", 'unixepoch', 'localtime') AS INTEGER) % 86400 + 86400) % 86400 END)";
}

} // namespace cfront
