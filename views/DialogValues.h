#pragma once

#include <string>

// The number fields of the number-range and split dialogs: a whole decimal number, blanks around
// it allowed. Unsigned fields refuse a minus sign; values must fit their type.
bool parseUnsignedField(const std::string& text, unsigned& value);
bool parseSignedField(const std::string& text, int& value);

inline constexpr const char* POSITIVE_NUMBER_MESSAGE = "Geben Sie bitte eine positive ganze Zahl ein.";
inline constexpr const char* WHOLE_NUMBER_MESSAGE = "Geben Sie bitte eine ganze Zahl ein.";
