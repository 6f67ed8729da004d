#pragma once

#include <string>

// Writes to copyPath a changed copy of the export at exportPath and to listPath the changes a
// structure-aware comparison must find, one line each: type word, number, change, section,
// element, TAB-separated, sorted. Objects are removed, added (a copy under a new number), get a new
// Date only (noise, not listed), a line in a procedure's code, a field of another type, a key less.
// The choice depends only on each object's place in the export. False when a file fails.
bool writeChangedCopy(const std::string& exportPath, const std::string& copyPath, const std::string& listPath);
