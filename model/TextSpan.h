#pragma once

// A pair of positions into the whole loaded text, both inclusive; cuts take end - start characters.
class CTextSpan {
public:
    CTextSpan() = default;
    CTextSpan(int start, int end) : m_start(start), m_end(end) {}

    bool contains(int pos) const { return m_start <= pos && pos <= m_end; }
    // One less than the number of characters covered: cut(start, length()) leaves out the character at end.
    int length() const { return m_end - m_start; }
    void set(int start, int end) { m_start = start; m_end = end; }
    int start() const { return m_start; }
    int end() const { return m_end; }

    bool operator==(const CTextSpan&) const = default;

private:
    int m_start = 0;
    int m_end = 0;
};
