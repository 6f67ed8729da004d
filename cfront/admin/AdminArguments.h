#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The argument rules of cfront-db: whole numbers only, type words or codes, options after the
// positional arguments, texts converted to the OEM code page without substitution.
namespace cfront {

// A command line the command cannot use; cfront-db prints the message and its usage (exit 2).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A whole decimal number in min..max: digits only, a leading '-' when min < 0; no blanks, no
// '+', no fraction or exponent. Throws UsageError naming what.
int64_t parseWholeNumber(std::string_view text, int64_t min, int64_t max, const std::string& what);
// An object type: a type word (any letter case) or its code 1..9. Throws UsageError.
int32_t parseObjectType(std::string_view text);

// The positional arguments and "--name value" options of one command.
struct CommandArguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values; // option -> value
    std::set<std::string> flags;               // options without a value

    bool has(const std::string& option) const { return values.count(option) || flags.count(option); }
    const std::string* value(const std::string& option) const;
};

// Splits args: words starting with "--" are options; those in valueOptions take the next word
// as value, those in flagOptions stand alone. Unknown options, a missing value, a repeated
// option or a positional count outside minPositional..maxPositional throw UsageError.
CommandArguments splitArguments(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                                const std::set<std::string>& flagOptions, size_t minPositional,
                                size_t maxPositional);

// UTF-8 text in the OEM code page chosen for the run; a character that page lacks throws
// std::runtime_error naming the character and what.
std::string utf8ToOemText(std::string_view utf8, const std::string& what);

} // namespace cfront
