#pragma once

#include <string>

// The three texts of the search view's option combo.
inline constexpr const char* kSearchOptionNormal = "normal";
inline constexpr const char* kSearchOptionCase = "Case sensitiv";
inline constexpr const char* kSearchOptionRegex = "regular Expression";

// Sets the two text-search flags from an option text; any other text leaves them and gives false.
bool applySearchOption(const std::string& option, bool& caseSensitive, bool& useRegex);
