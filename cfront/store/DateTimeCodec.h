#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The stand-in's date and time values and their texts (encodings described in cfront/cfront.h).
namespace cfront {

// Encoded value of a calendar date or a time of day; 0 when the parts are out of range.
int32_t encodeDate(int year, int month, int day);
int32_t encodeTime(int hours, int minutes, int seconds);

// "YYYY-MM-DD" / "HH:MM:SS"; "" for 0 and for any value that is not a valid encoding.
std::string dateToText(int32_t date);
std::string timeToText(int32_t time);

// The inverses: accept exactly what dateToText / timeToText write for a valid value, and "" for 0.
bool textToDate(std::string_view text, int32_t& date);
bool textToTime(std::string_view text, int32_t& time);

// The filter forms: "D.M.YYYY" (one or two digits for day and month) and "H:M:S".
bool parseDayMonthYear(std::string_view text, int32_t& date);
bool parseHoursMinutesSeconds(std::string_view text, int32_t& time);

// Moments in time are kept as stamps: whole seconds since 1970-01-01 00:00:00 UTC.
int64_t currentStamp();
// The stamp of a local date and time (both valid, non-zero values) in this process's time zone;
// a wall-clock time that a daylight-saving change skips or repeats is resolved as mktime does.
int64_t localStamp(int32_t date, int32_t time);
// The UTC date and time of a stamp; both 0 when the stamp lies outside the years 1..9999.
void utcDateTime(int64_t stamp, int32_t& date, int32_t& time);
// The local date and time of a stamp in this process's time zone.
void localDateTime(int64_t stamp, int32_t& date, int32_t& time);

// SQL expressions of the local date and time of a stamp column that may be NULL; when it is,
// the values of the zone-less date and time columns stand as they are.
std::string localDateSql(const char* stampColumn, const char* dateColumn);
std::string localTimeSql(const char* stampColumn, const char* timeColumn);

} // namespace cfront
