#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One cell as the list text writes it: its first length bytes, every CR LF pair removed, and every
// CR or LF left over written as a blank, so a row of the list text is always one line.
std::string listTextCell(std::string_view cell, std::size_t length);
