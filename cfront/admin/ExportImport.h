#pragma once

#include "admin/ExportDates.h"
#include "store/Records.h"

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
struct ImportOptions {
    std::optional<DateOrder> dateOrder;
    bool lenient = false;
};

// What an export holds for the Object table.
struct ExportReading {
    // One row per "OBJECT <Type> <No> <Name>" header line: name as it stands; Date, Time,
    // Version List and Modified from the object's OBJECT-PROPERTIES block (an empty or
    // unreadable date or time is 0, undefined); DBM table number = the number for tables.
    std::vector<ObjectRow> objects;
    // Header lines of unknown object types, skipped: "line N: ...".
    std::vector<std::string> warnings;
    // Dates and times that could not be read: "line N: <Type> <No> <Name>: ...".
    std::vector<std::string> unreadable;
    // Not empty when the order of day, month and year cannot be decided from the file: why,
    // with two example lines.
    std::string undecidedOrder;
};

// Reads the objects of text (OEM bytes, CR LF or LF line ends).
ExportReading readExport(std::string_view text, const ImportOptions& options);

} // namespace cfront
