#pragma once

#include "admin/ExportDates.h"
#include "store/Records.h"

#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading the objects of a Navision object text export into Object table rows.
namespace cfront {

// Type code of an export's type word (case-insensitive): Table 1, Form 2, Report 3,
// Dataport 4, Codeunit 5, XMLport 6, MenuSuite 7, Page 8, Query 9; 0 for any other word.
int32_t objectTypeCode(std::string_view word);
// The type word of a code, "" for codes outside 1..9.
const char* objectTypeWord(int32_t code);

// How dates are read: the order of day, month and year for all dates whose form does not fix
// it (none: decided from the file); lenient stores unreadable dates and times as undefined.
// today (encoded date) is the latest date an export can hold: an order that reads a date after
// it or before 1980 is not the file's order.
struct ImportOptions {
    std::optional<DateOrder> dateOrder;
    bool lenient = false;
    int32_t today = 0;
};

// What the import of an export found.
struct ExportReading {
    // Objects handed to the store.
    size_t objects = 0;
    // Header lines of unknown object types, skipped: "line N: ...".
    std::vector<std::string> warnings;
    // The first kShownUnreadable dates and times that could not be read, "line N: <Type> <No>
    // <Name>: ...", and how many there were in all.
    std::vector<std::string> unreadable;
    size_t unreadableCount = 0;
    // Not empty when the order of day, month and year cannot be decided from the file: why,
    // with two example lines; then nothing was handed to the store.
    std::string undecidedOrder;
};
inline constexpr size_t kShownUnreadable = 20;

// Reads the export in `in` (OEM bytes, CR LF or LF line ends) one line at a time and hands each
// object's row to store once its text has been read: one row per "OBJECT <Type> <No> <Name>"
// header, name as it stands; Date, Time, Version List and Modified from the object's
// OBJECT-PROPERTIES block (an empty or unreadable date or time is 0, undefined); DBM table
// number = the number for tables. Without a date order in options, the stream is read twice
// (it must be seekable): first to decide the order. Unless lenient, no row is handed on after
// the first unreadable value.
ExportReading importExport(std::istream& in, const ImportOptions& options,
                           const std::function<void(const ObjectRow&)>& store);

} // namespace cfront
