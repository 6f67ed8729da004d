#include "model/SourceText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace srctext {

namespace {
#if defined(__SSE2__)
// The patterns searched most begin with a line break and go on with blanks ("\r\n    END;"):
// the first byte and the last one that is no blank or line break are compared for 16 positions
// at once, and only where both agree is the whole pattern compared. Returns the offset in hay
// or -1; the last positions, too few for a block, are left to memmem.
std::ptrdiff_t findInBlocks(const char* hay, size_t length, std::string_view pattern)
{
    const size_t m = pattern.size();
    size_t k = m - 1;
    while (k > 0 && (pattern[k] == ' ' || pattern[k] == '\r' || pattern[k] == '\n'))
        --k;
    if (k == 0)
        k = m - 1;
    const __m128i first = _mm_set1_epi8(pattern[0]);
    const __m128i other = _mm_set1_epi8(pattern[k]);
    size_t i = 0;
    for (; i + m - 1 + 16 <= length; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i + k));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, other))));
        while (mask != 0) {
            const size_t at = i + static_cast<size_t>(__builtin_ctz(mask));
            if (std::memcmp(hay + at, pattern.data(), m) == 0)
                return static_cast<std::ptrdiff_t>(at);
            mask &= mask - 1;
        }
    }
    const void* hit = memmem(hay + i, length - i, pattern.data(), m);
    return hit ? static_cast<const char*>(hit) - hay : -1;
}
#endif
} // namespace

int find(std::string_view text, std::string_view pattern, int from)
{
    const int n = static_cast<int>(text.size());
    if (from < 0 || from > n)
        return -1;
    if (pattern.empty())
        return from;
    const char* hay = text.data() + from;
    const auto length = static_cast<size_t>(n - from);
#if defined(__SSE2__)
    if (pattern.size() >= 2) {
        if (pattern.size() > length)
            return -1;
        const std::ptrdiff_t at = findInBlocks(hay, length, pattern);
        return at < 0 ? -1 : from + static_cast<int>(at);
    }
#endif
    const void* hit = memmem(hay, length, pattern.data(), pattern.size());
    return hit ? static_cast<int>(static_cast<const char*>(hit) - text.data()) : -1;
}

namespace {
inline unsigned char foldAZ(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }
} // namespace

// Horspool search over the folded bytes: the shift table is built from the folded pattern.
int findNoCase(std::string_view text, std::string_view pattern, int from)
{
    const int n = static_cast<int>(text.size());
    const int m = static_cast<int>(pattern.size());
    if (from < 0 || from > n || m == 0 || m > n - from)
        return -1;
    std::string folded(pattern);
    for (char& c : folded)
        c = static_cast<char>(foldAZ(static_cast<unsigned char>(c)));
    std::array<int, 256> shift;
    shift.fill(m);
    for (int i = 0; i < m - 1; ++i) {
        auto c = static_cast<unsigned char>(folded[i]);
        shift[c] = m - 1 - i;
        if (c >= 'a' && c <= 'z')
            shift[c - ('a' - 'A')] = m - 1 - i;
    }
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const auto last = static_cast<unsigned char>(folded[m - 1]);
    for (int p = from; p <= n - m;) {
        unsigned char c = t[p + m - 1];
        if (foldAZ(c) == last) {
            int k = m - 2;
            while (k >= 0 && foldAZ(t[p + k]) == static_cast<unsigned char>(folded[k]))
                --k;
            if (k < 0)
                return p;
        }
        p += shift[c];
    }
    return -1;
}

std::string_view cut(std::string_view text, int first, int count)
{
    const int n = static_cast<int>(text.size());
    first = std::clamp(first, 0, n);
    if (count < 0)
        count = 0;
    count = std::min(count, n - first);
    return text.substr(static_cast<size_t>(first), static_cast<size_t>(count));
}

std::string_view cutFrom(std::string_view text, int first)
{
    const int n = static_cast<int>(text.size());
    first = std::clamp(first, 0, n);
    return text.substr(static_cast<size_t>(first));
}

int lineOf(std::string_view text, int pos)
{
    int line = 1;
    for (int p = find(text, "\r\n", 1); p != -1 && p < pos; p = find(text, "\r\n", p + 1))
        ++line;
    return line;
}

int indentOf(std::string_view text, int pos)
{
    const int n = static_cast<int>(text.size());
    if (pos > n - 2)
        pos = n - 2;
    for (int i = pos; i >= 0; --i) {
        if (text[i] == '\r' || (i + 1 < n && text[i + 1] == '\n'))
            return pos - i;
    }
    return pos + 1;
}

bool isAlnumOnly(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return isWordChar(static_cast<unsigned char>(c)); });
}

int findWholeWord(std::string_view text, std::string_view name, int from)
{
    if (name.empty())
        return -1;
    const int n = static_cast<int>(text.size());
    const int len = static_cast<int>(name.size());
    for (int p = find(text, name, from); p != -1; p = find(text, name, p + 1)) {
        bool before = p == 0 || !isWordChar(static_cast<unsigned char>(text[p - 1]));
        bool after = p + len >= n || !isWordChar(static_cast<unsigned char>(text[p + len]));
        if (before && after)
            return p;
    }
    return -1;
}

int split(std::string_view text, std::string_view separator, std::vector<std::string>& out)
{
    if (separator.empty()) {
        out.emplace_back(text);
        return 1;
    }
    int pieces = 0;
    size_t start = 0;
    for (;;) {
        size_t hit = text.find(separator, start);
        if (hit == std::string_view::npos) {
            out.emplace_back(text.substr(start));
            return pieces + 1;
        }
        out.emplace_back(text.substr(start, hit - start));
        ++pieces;
        start = hit + separator.size();
    }
}

std::string between(std::string_view text, std::string_view startMarker, std::string_view endMarker, int& pos)
{
    int s = startMarker.empty() ? 0 : find(text, startMarker, pos);
    if (s < 0)
        return {};
    s += static_cast<int>(startMarker.size());
    int e = endMarker.empty() ? static_cast<int>(text.size()) : find(text, endMarker, s);
    if (e < 0)
        return {};
    pos = e + static_cast<int>(endMarker.size());
    return std::string(text.substr(static_cast<size_t>(s), static_cast<size_t>(e - s)));
}

int extractItems(std::string_view text, std::vector<std::string>& out, std::string_view outerStart,
                 std::string_view outerEnd, std::string_view itemStart, std::string_view itemEnd)
{
    int pos = 0;
    std::string block = between(text, outerStart, outerEnd, pos);
    if (block.empty())
        return 0;
    int pieces = 0;
    int p = 0;
    for (;;) {
        int before = p;
        std::string item = between(block, itemStart, itemEnd, p);
        if (p == before)
            return pieces;
        out.push_back(std::move(item));
        ++pieces;
    }
}

int splitAfter(std::string_view text, std::vector<std::string>& out, std::string_view marker,
               std::string_view separator, std::string_view endMarker)
{
    int m = find(text, marker, 0);
    if (m < 0)
        return 0;
    int s = m + static_cast<int>(marker.size());
    int e = endMarker.empty() ? -1 : find(text, endMarker, s);
    std::string_view part = e < 0 ? cutFrom(text, s) : cut(text, s, e - s);
    return split(part, separator, out);
}

std::string_view trimLeftBlanks(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    return text.substr(i);
}

std::string_view trimRightBlanks(std::string_view text)
{
    size_t n = text.size();
    while (n > 0 && text[n - 1] == ' ')
        --n;
    return text.substr(0, n);
}

std::string_view trimBlanks(std::string_view text) { return trimRightBlanks(trimLeftBlanks(text)); }

int decimal(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL)
            value = 2147483648LL;
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, -2147483647LL - 1, 2147483647LL));
}

void appendDate(std::string& out, std::time_t t, int style)
{
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    if (style == 0)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    else if (style == 1)
        std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
    else
        return;
    out += buf;
}

void appendTime(std::string& out, std::time_t t)
{
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
    out += buf;
}

} // namespace srctext
