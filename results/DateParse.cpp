#include "results/DateParse.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <string>

namespace {

// -1 means no override; otherwise the DateStyle value forced by a test.
std::atomic<int> g_styleOverride{-1};

struct DateParts {
    int year = 0;
    int month = 0;
    int day = 0;
};

struct TimeParts {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// A cursor over the text that reads runs of ASCII digits.
struct Scanner {
    std::string_view text;
    std::size_t pos = 0;

    bool atEnd() const { return pos == text.size(); }
    bool accept(char c)
    {
        if (atEnd() || text[pos] != c)
            return false;
        ++pos;
        return true;
    }
    // Reads minDigits..maxDigits digits; fails without a digit run of that length.
    bool number(int minDigits, int maxDigits, int& value)
    {
        std::size_t start = pos;
        value = 0;
        while (!atEnd() && pos - start < static_cast<std::size_t>(maxDigits) && text[pos] >= '0'
               && text[pos] <= '9')
            value = value * 10 + (text[pos++] - '0');
        bool digitFollows = !atEnd() && text[pos] >= '0' && text[pos] <= '9';
        return pos - start >= static_cast<std::size_t>(minDigits) && !digitFollows;
    }
};

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool validDate(const DateParts& d)
{
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1
        && d.day <= daysInMonth(d.year, d.month);
}

// Days since 1970-01-01 in the proleptic Gregorian calendar.
long daysFromCivil(int year, int month, int day)
{
    long y = month <= 2 ? year - 1 : year;
    long era = (y >= 0 ? y : y - 399) / 400;
    long yearOfEra = y - era * 400;
    long dayOfYear = (153L * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int currentYear()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

bool parseIsoDate(Scanner& s, DateParts& d)
{
    return s.number(4, 4, d.year) && s.accept('-') && s.number(1, 2, d.month) && s.accept('-')
        && s.number(1, 2, d.day);
}

// A two-digit year means 2000..2029 or 1930..1999, as the locale spellings are read.
bool parseYear(Scanner& s, int& year)
{
    std::size_t start = s.pos;
    if (!s.number(2, 4, year) || s.pos - start == 3)
        return false;
    if (s.pos - start == 2)
        year += year < 30 ? 2000 : 1900;
    return true;
}

bool parseLocaleDate(Scanner& s, DateStyle style, DateParts& d)
{
    char sep = style == DateStyle::DayMonthDot ? '.' : '/';
    int first = 0;
    int second = 0;
    if (!s.number(1, 2, first) || !s.accept(sep) || !s.number(1, 2, second))
        return false;
    d.day = style == DateStyle::MonthDaySlash ? second : first;
    d.month = style == DateStyle::MonthDaySlash ? first : second;
    if (!s.accept(sep)) {
        d.year = currentYear();
        return true;
    }
    return parseYear(s, d.year);
}

// Leaves the cursor and d untouched when no date is found.
bool parseDate(Scanner& s, DateStyle style, DateParts& d)
{
    std::size_t start = s.pos;
    DateParts found;
    if (parseIsoDate(s, found)) {
        d = found;
        return true;
    }
    s.pos = start;
    if (style != DateStyle::IsoOnly && parseLocaleDate(s, style, found)) {
        d = found;
        return true;
    }
    s.pos = start;
    return false;
}

bool parseTime(Scanner& s, TimeParts& t)
{
    std::size_t start = s.pos;
    t = TimeParts{};
    bool ok = s.number(1, 2, t.hour) && s.accept(':') && s.number(2, 2, t.minute);
    if (ok && s.accept(':'))
        ok = s.number(2, 2, t.second);
    ok = ok && t.hour <= 23 && t.minute <= 59 && t.second <= 59;
    if (!ok)
        s.pos = start;
    return ok;
}

std::string_view trimBlanks(std::string_view text)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Language and territory of a locale name such as "de_CH.UTF-8@euro".
void splitLocaleName(const std::string& name, std::string& language, std::string& territory)
{
    std::size_t end = name.find_first_of(".@");
    std::string base = name.substr(0, end);
    std::size_t underscore = base.find('_');
    language = base.substr(0, underscore);
    territory = underscore == std::string::npos ? "" : base.substr(underscore + 1);
}

bool isOneOf(const std::string& value, std::initializer_list<const char*> list)
{
    return std::any_of(list.begin(), list.end(), [&](const char* v) { return value == v; });
}

DateStyle styleOfLocaleName(const std::string& name)
{
    std::string language;
    std::string territory;
    splitLocaleName(name, language, territory);
    if (isOneOf(territory, {"DE", "AT", "CH", "LI"}))
        return DateStyle::DayMonthDot;
    if (language == "en")
        return territory == "US" ? DateStyle::MonthDaySlash : DateStyle::DayMonthSlash;
    if (isOneOf(language, {"de", "da", "nb", "nn", "no", "fi", "is", "pl", "cs", "sk", "sl", "hr",
                           "bs", "sr", "ru", "uk", "be", "bg", "ro", "tr", "et", "lv", "mk", "sq"}))
        return DateStyle::DayMonthDot;
    if (isOneOf(language, {"fr", "es", "it", "pt", "ca", "el", "ga", "cy", "mt"}))
        return DateStyle::DayMonthSlash;
    return DateStyle::IsoOnly;
}

} // namespace

DateStyle localeDateStyle()
{
    int forced = g_styleOverride.load();
    if (forced >= 0)
        return static_cast<DateStyle>(forced);
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return styleOfLocaleName(value);
    }
    return DateStyle::IsoOnly;
}

void setDateStyleOverride(DateStyle style)
{
    g_styleOverride.store(static_cast<int>(style));
}

void clearDateStyleOverride()
{
    g_styleOverride.store(-1);
}

bool parseDateTime(std::string_view text, double& value)
{
    return parseDateTime(text, value, localeDateStyle());
}

bool parseDateTime(std::string_view text, double& value, DateStyle style)
{
    Scanner s{trimBlanks(text)};
    DateParts date{1899, 12, 30};
    TimeParts time;
    bool hasDate = parseDate(s, style, date);
    bool hasTime = false;
    if (hasDate) {
        std::size_t afterDate = s.pos;
        hasTime = s.accept(' ') && parseTime(s, time);
        if (!hasTime)
            s.pos = afterDate;
    } else {
        hasTime = parseTime(s, time);
    }
    if ((!hasDate && !hasTime) || !s.atEnd() || !validDate(date))
        return false;
    double days = static_cast<double>(daysFromCivil(date.year, date.month, date.day)
                                      - daysFromCivil(1899, 12, 30));
    double seconds = time.hour * 3600.0 + time.minute * 60.0 + time.second;
    // The fraction is always added, so values before 1899 stay in time order.
    value = days + seconds / 86400.0;
    return true;
}
