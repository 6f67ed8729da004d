#pragma once

#include <string_view>

// The date-time parser of the result list and the database comparison. It accepts a whole text
// as a date and/or a time: ISO dates (YYYY-MM-DD) always, plus the numeric spelling of the user's
// locale (LC_ALL, LC_TIME or LANG): day.month[.year] for German-style locales, month/day[/year]
// for en_US, day/month[/year] for other en_ locales; times HH:MM or HH:MM:SS after or without a
// date. The value is in days since 30 December 1899 (time of day as the fraction).
enum class DateStyle { IsoOnly, DayMonthDot, MonthDaySlash, DayMonthSlash };

DateStyle localeDateStyle();
void setDateStyleOverride(DateStyle style); // for tests
void clearDateStyleOverride();

bool parseDateTime(std::string_view text, double& value);
bool parseDateTime(std::string_view text, double& value, DateStyle style);
