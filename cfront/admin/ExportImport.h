#pragma once

#include "store/Records.h"

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

// One row per "OBJECT <Type> <No> <Name>" header line of text (OEM bytes, CR LF or LF line
// ends): name as it stands; Date, Time, Version List and Modified from the object's
// OBJECT-PROPERTIES block; DBM table number = the number for tables, 0 otherwise. Lines it
// cannot use are described in warnings and skipped.
std::vector<ObjectRow> readExportObjects(std::string_view text, std::vector<std::string>& warnings);

} // namespace cfront
