#pragma once

#include <string>

// The number fields of the number-range and split dialogs: a whole decimal number, blanks around
// it allowed. Unsigned fields refuse a minus sign and take 0 .. 2^31-1, the object numbers the
// searches compare them with; signed fields take what fits an int.
bool parseUnsignedField(const std::string& text, unsigned& value);
bool parseSignedField(const std::string& text, int& value);

// path with ".txt" added when its file name (not its folders) has no dot: "dir.v1/codeexport"
// becomes "dir.v1/codeexport.txt", "list.csv" stays.
std::string withTextExtension(const std::string& path);
