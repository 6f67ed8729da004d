#include "layout/DialogValues.h"

#include <climits>

namespace {
// Digits with an optional sign between optional blanks; false for anything else or overflow.
bool parseWhole(const std::string& text, bool allowMinus, long long limitLow, long long limitHigh, long long& out)
{
    size_t i = 0, n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        if (negative && !allowMinus)
            return false;
        ++i;
    }
    size_t digits = i;
    long long value = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i] - '0');
        if (value > limitHigh + 1)
            return false;
        ++i;
    }
    if (i == digits)
        return false;
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i != n)
        return false;
    out = negative ? -value : value;
    return out >= limitLow && out <= limitHigh;
}
} // namespace

bool parseUnsignedField(const std::string& text, unsigned& value)
{
    long long parsed = 0;
    if (!parseWhole(text, false, 0, INT_MAX, parsed))
        return false;
    value = static_cast<unsigned>(parsed);
    return true;
}

bool parseSignedField(const std::string& text, int& value)
{
    long long parsed = 0;
    if (!parseWhole(text, true, INT_MIN, INT_MAX, parsed))
        return false;
    value = static_cast<int>(parsed);
    return true;
}

std::string withTextExtension(const std::string& path)
{
    const size_t nameStart = path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1;
    if (path.find('.', nameStart) != std::string::npos)
        return path;
    return path + ".txt";
}
