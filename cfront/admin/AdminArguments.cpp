#include "admin/AdminArguments.h"

#include "admin/ExportImport.h"
#include "model/CodePage.h"

#include <cstdio>

namespace cfront {

int64_t parseWholeNumber(std::string_view text, int64_t min, int64_t max, const std::string& what)
{
    std::string_view digits = min < 0 && !text.empty() && text[0] == '-' ? text.substr(1) : text;
    bool ok = !digits.empty() && digits.size() <= 18;
    int64_t value = 0;
    for (char c : digits) {
        ok = ok && c >= '0' && c <= '9';
        value = ok ? value * 10 + (c - '0') : 0;
    }
    value = digits.size() < text.size() ? -value : value;
    if (!ok || value < min || value > max)
        throw UsageError("not a whole number from " + std::to_string(min) + " to " + std::to_string(max) + " for " +
                         what + ": \"" + std::string(text) + "\"");
    return value;
}

int32_t parseObjectType(std::string_view text)
{
    if (int32_t code = objectTypeCode(text))
        return code;
    if (!text.empty() && text[0] >= '0' && text[0] <= '9')
        return static_cast<int32_t>(parseWholeNumber(text, 1, 9, "the object type"));
    throw UsageError("unknown object type \"" + std::string(text) +
                     "\" (Table, Form, Report, Dataport, Codeunit, XMLport, MenuSuite, Page, Query or 1..9)");
}

const std::string* CommandArguments::value(const std::string& option) const
{
    auto it = values.find(option);
    return it == values.end() ? nullptr : &it->second;
}

CommandArguments splitArguments(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                                const std::set<std::string>& flagOptions, size_t minPositional,
                                size_t maxPositional)
{
    CommandArguments result;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.size() < 3 || word.compare(0, 2, "--") != 0) {
            result.positional.push_back(word);
            continue;
        }
        if (result.has(word))
            throw UsageError("option " + word + " given twice");
        if (flagOptions.count(word)) {
            result.flags.insert(word);
        } else if (valueOptions.count(word)) {
            if (i + 1 >= args.size())
                throw UsageError("missing value after " + word);
            result.values[word] = args[++i];
        } else {
            throw UsageError("unknown option " + word);
        }
    }
    if (result.positional.size() < minPositional || result.positional.size() > maxPositional)
        throw UsageError("wrong number of arguments");
    return result;
}

std::string utf8ToOemText(std::string_view utf8, const std::string& what)
{
    std::string oem;
    char32_t missing = 0;
    if (utf8ToOemExact(utf8, oemCodePage(), oem, &missing))
        return oem;
    throw std::runtime_error(what + " holds the character " + characterText(missing) + ", which the OEM code page " +
                             std::to_string(static_cast<int>(oemCodePage())) +
                             " cannot hold; use characters of that code page only");
}

} // namespace cfront
