#pragma once

#include <string_view>
#include <vector>

namespace srctext {

// Where the names occur in text as plain substrings, overlapping occurrences included, found in one
// pass over the text instead of one search per name: for each name its first and second
// occurrence (-1 when missing) and the number of occurrences. An empty name occurs at every
// position, as find has it.
struct NameHits {
    int first = -1;
    int second = -1;
    int count = 0;
};
std::vector<NameHits> findNames(std::string_view text, const std::vector<std::string_view>& names);

} // namespace srctext
