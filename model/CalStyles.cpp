// The object viewer's C/AL colouring: one pass over the object text, no tokenizer beyond words.
#include "model/ObjectViewerModel.h"

#include "model/SourceText.h"

#include <algorithm>
#include <string>

namespace {
const char* const kKeywords[] = {
    "AND",  "BEGIN",  "CASE", "DIV", "DO",        "DOWNTO", "ELSE",  "END",  "EXIT", "FALSE", "FOR",
    "IF",   "LOCAL",  "MOD",  "NOT", "OF",        "OR",     "PROCEDURE", "REPEAT", "THEN", "TO",
    "TRUE", "UNTIL",  "VAR",  "WHILE", "WITH",    "XOR",
};

bool isWordByte(char c)
{
    return srctext::isWordChar(static_cast<unsigned char>(c)) || c == '_';
}

constexpr size_t kLongestKeyword = 9; // "PROCEDURE"

// The keyword a word spells, "" for none; upper-case only unless anyCase.
std::string_view keywordOf(std::string_view word, bool anyCase)
{
    if (word.size() > kLongestKeyword)
        return {};
    char up[kLongestKeyword];
    for (size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        if (c >= 'a' && c <= 'z') {
            if (!anyCase)
                return {};
            c = static_cast<char>(c - 'a' + 'A');
        }
        up[i] = c;
    }
    std::string_view candidate(up, word.size());
    for (const char* keyword : kKeywords)
        if (candidate == keyword)
            return keyword;
    return {};
}

bool allDigits(std::string_view word)
{
    return std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The end of a comment or string that starts at i; inside the line only for strings and "//".
size_t endOfRun(std::string_view text, size_t i)
{
    if (text[i] == '{') {
        size_t close = text.find('}', i + 1);
        return close == std::string_view::npos ? text.size() : close + 1;
    }
    size_t lineEnd = text.find_first_of("\r\n", i);
    if (lineEnd == std::string_view::npos)
        lineEnd = text.size();
    if (text[i] == '\'') {
        size_t close = text.find('\'', i + 1);
        return close == std::string_view::npos || close > lineEnd ? lineEnd : close + 1;
    }
    return lineEnd; // "//"
}
} // namespace

std::vector<char> calStyles(std::string_view text)
{
    std::vector<char> styles(text.size(), CAL_DEFAULT);
    // Code nests BEGIN/CASE .. END. Outside code only the upper-case words count, so an option
    // text such as "Begin,End" in a property does not start code.
    int depth = 0;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        bool inCode = depth > 0;
        if (inCode && (c == '{' || c == '\'' || (c == '/' && i + 1 < text.size() && text[i + 1] == '/'))) {
            size_t end = endOfRun(text, i);
            std::fill(styles.begin() + static_cast<long>(i), styles.begin() + static_cast<long>(end),
                      c == '\'' ? CAL_STRING : CAL_COMMENT);
            i = end;
            continue;
        }
        if (!isWordByte(c)) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && isWordByte(text[end]))
            ++end;
        std::string_view word = text.substr(i, end - i);
        std::string_view keyword = keywordOf(word, inCode);
        char style = CAL_DEFAULT;
        if (allDigits(word))
            style = CAL_NUMBER;
        else if (!keyword.empty()) {
            style = CAL_KEYWORD;
            if (keyword == "BEGIN" || keyword == "CASE")
                ++depth;
            else if (keyword == "END")
                depth = std::max(0, depth - 1);
        }
        std::fill(styles.begin() + static_cast<long>(i), styles.begin() + static_cast<long>(end), style);
        i = end;
    }
    return styles;
}
