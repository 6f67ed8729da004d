#pragma once

#include <string>

// The number fields of the number-range and split dialogs: a whole decimal number, blanks around
// it allowed. Unsigned fields refuse a minus sign; values must fit their type.
bool parseUnsignedField(const std::string& text, unsigned& value);
bool parseSignedField(const std::string& text, int& value);
