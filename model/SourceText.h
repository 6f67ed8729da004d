#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// Text helpers of the parsers. Positions are zero-based byte indices; every search returns -1 when
// nothing is found. They work on any string view, so the parsers can use them on the whole text or
// on one object's characters without copying.
namespace srctext {

// First occurrence of pattern at or after from; a negative from or one beyond the length yields -1.
int find(std::string_view text, std::string_view pattern, int from = 0);
// Same, comparing after folding A-Z to a-z only (other bytes compare exactly). An empty pattern
// never matches.
int findNoCase(std::string_view text, std::string_view pattern, int from = 0);
inline int find(std::string_view text, std::string_view pattern, int from, bool caseSensitive)
{
    return caseSensitive ? find(text, pattern, from) : findNoCase(text, pattern, from);
}

// count characters from first; negative first or count clamp to 0, a count past the end to the end.
std::string_view cut(std::string_view text, int first, int count);
// Characters from first to the end (first clamped as in cut).
std::string_view cutFrom(std::string_view text, int first);

// 1-based line number of pos: the CR LF pairs found from position 1 up to pos, plus one.
int lineOf(std::string_view text, int pos);
// Walking back from pos (clamped to length - 2), the characters up to a '\r' or a character followed
// by '\n': a word after n leading blanks gives n + 2; pos + 1 when no such character precedes.
int indentOf(std::string_view text, int pos);

inline bool isWordChar(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isAlnumOnly(std::string_view text);

// First occurrence of name at or after from whose neighbours are not 0-9, A-Z or a-z (the start and
// the end of the text pass). An empty name gives -1.
int findWholeWord(std::string_view text, std::string_view name, int from);

// Cuts at every occurrence of separator and appends the pieces; returns their number (a text
// without separator is one piece, a trailing separator gives a last empty piece).
int split(std::string_view text, std::string_view separator, std::vector<std::string>& out);

// Text after the next startMarker (from pos; empty = position 0) up to the next endMarker (empty =
// end of text). On success pos moves behind the end marker; a missing marker gives "".
std::string between(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                    int& pos);
// Pieces between itemStart and itemEnd inside between(outerStart, outerEnd); returns their number.
int extractItems(std::string_view text, std::vector<std::string>& out, std::string_view outerStart,
                 std::string_view outerEnd, std::string_view itemStart, std::string_view itemEnd);
// Text after marker up to endMarker (or the end), split by separator; 0 when marker is missing.
int splitAfter(std::string_view text, std::vector<std::string>& out, std::string_view marker,
               std::string_view separator, std::string_view endMarker);

std::string_view trimLeftBlanks(std::string_view text);
std::string_view trimRightBlanks(std::string_view text);
std::string_view trimBlanks(std::string_view text);

// Standard decimal conversion: leading white space skipped, optional sign, digits up to the first
// non-digit; no digits give 0.
int decimal(std::string_view text);

// Local date of t: style 0 "YYYY-MM-DD", style 1 "DD.MM.YYYY", any other style nothing.
void appendDate(std::string& out, std::time_t t, int style);
// Local time of t as "HH:MM:SS".
void appendTime(std::string& out, std::time_t t);

} // namespace srctext

// Owns one string (the whole export text, or a piece of it) and offers the text helpers on it.
class CSourceText {
public:
    CSourceText() = default;
    explicit CSourceText(std::string text) : m_text(std::move(text)) {}

    std::string& str() { return m_text; }
    const std::string& str() const { return m_text; }
    std::string_view view() const { return m_text; }
    int length() const { return static_cast<int>(m_text.size()); }
    bool empty() const { return m_text.empty(); }

    int find(std::string_view pattern, int from = 0) const { return srctext::find(m_text, pattern, from); }
    int find(std::string_view pattern, int from, bool caseSensitive) const
    {
        return srctext::find(m_text, pattern, from, caseSensitive);
    }
    int findNoCase(std::string_view pattern, int from = 0) const
    {
        return srctext::findNoCase(m_text, pattern, from);
    }
    int findWholeWord(std::string_view name, int from) const
    {
        return srctext::findWholeWord(m_text, name, from);
    }
    std::string cut(int first, int count) const { return std::string(srctext::cut(m_text, first, count)); }
    int lineOf(int pos) const { return srctext::lineOf(m_text, pos); }
    int indentOf(int pos) const { return srctext::indentOf(m_text, pos); }
    bool isAlnumOnly() const { return srctext::isAlnumOnly(m_text); }
    int split(std::string_view separator, std::vector<std::string>& out) const
    {
        return srctext::split(m_text, separator, out);
    }
    std::string between(std::string_view startMarker, std::string_view endMarker, int& pos) const
    {
        return srctext::between(m_text, startMarker, endMarker, pos);
    }
    int extractItems(std::vector<std::string>& out, std::string_view outerStart, std::string_view outerEnd,
                     std::string_view itemStart, std::string_view itemEnd) const
    {
        return srctext::extractItems(m_text, out, outerStart, outerEnd, itemStart, itemEnd);
    }
    int splitAfter(std::vector<std::string>& out, std::string_view marker, std::string_view separator,
                   std::string_view endMarker) const
    {
        return srctext::splitAfter(m_text, out, marker, separator, endMarker);
    }
    void appendDate(std::time_t t, int style) { srctext::appendDate(m_text, t, style); }
    void appendTime(std::time_t t) { srctext::appendTime(m_text, t); }

private:
    std::string m_text;
};
