#pragma once

#include <string>

// The number fields of the number-range and split dialogs: a whole decimal number, blanks around
// it allowed. Unsigned fields refuse a minus sign and take 0 .. 2^31-1, the object numbers the
// searches compare them with; signed fields take what fits an int.
bool parseUnsignedField(const std::string& text, unsigned& value);
bool parseSignedField(const std::string& text, int& value);
