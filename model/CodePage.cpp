#include "model/CodePage.h"

#include <atomic>
#include <cstdio>

namespace {
#include "model/CodePageTables.inc"

std::atomic<OemCodePage> g_page{OemCodePage::CP850};

const unsigned char* oemToAnsiTable(OemCodePage page)
{
    return page == OemCodePage::CP437 ? kOem437ToAnsi : kOem850ToAnsi;
}
const unsigned char* ansiToOemTable(OemCodePage page)
{
    return page == OemCodePage::CP437 ? kAnsiToOem437 : kAnsiToOem850;
}
const char32_t* oemUnicodeTable(OemCodePage page)
{
    return page == OemCodePage::CP437 ? kOem437Unicode : kOem850Unicode;
}

void translate(char* data, std::size_t size, const unsigned char* table)
{
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>(table[static_cast<unsigned char>(data[i])]);
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at i; a malformed byte stands for itself (read as Latin-1).
char32_t nextUtf8(std::string_view s, std::size_t& i)
{
    auto b = static_cast<unsigned char>(s[i++]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (b < 0x80 || extra == 0 || i + extra > s.size())
        return b;
    char32_t c = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        auto n = static_cast<unsigned char>(s[i + k]);
        if ((n & 0xC0) != 0x80)
            return b;
        c = (c << 6) | (n & 0x3F);
    }
    i += extra;
    return c;
}
} // namespace

void setOemCodePage(OemCodePage page) { g_page = page; }
OemCodePage oemCodePage() { return g_page; }

void oemToAnsi(char* data, std::size_t size, OemCodePage page) { translate(data, size, oemToAnsiTable(page)); }
void ansiToOem(char* data, std::size_t size, OemCodePage page) { translate(data, size, ansiToOemTable(page)); }
void oemToAnsi(std::string& text) { oemToAnsi(text.data(), text.size(), g_page); }
void ansiToOem(std::string& text) { ansiToOem(text.data(), text.size(), g_page); }

unsigned char oemToAnsiByte(unsigned char oem, OemCodePage page) { return oemToAnsiTable(page)[oem]; }
unsigned char ansiToOemByte(unsigned char ansi, OemCodePage page) { return ansiToOemTable(page)[ansi]; }

char32_t oemToUnicode(unsigned char oem, OemCodePage page) { return oemUnicodeTable(page)[oem]; }
char32_t ansiToUnicode(unsigned char ansi) { return kAnsiUnicode[ansi]; }

namespace {
// Whether each ANSI byte comes out of ansiToUtf8ViaOem as itself, per code page.
struct SameBytes {
    bool same[256];
    explicit SameBytes(OemCodePage page)
    {
        const unsigned char* toOem = ansiToOemTable(page);
        const char32_t* unicode = oemUnicodeTable(page);
        for (int b = 0; b < 256; ++b)
            same[b] = b < 0x80 && unicode[toOem[b]] == static_cast<char32_t>(b);
    }
};
} // namespace

std::string ansiToUtf8ViaOem(std::string_view ansi, OemCodePage page)
{
    static const SameBytes same850(OemCodePage::CP850);
    static const SameBytes same437(OemCodePage::CP437);
    const bool* same = (page == OemCodePage::CP437 ? same437 : same850).same;
    std::string out;
    out.reserve(ansi.size());
    const unsigned char* toOem = ansiToOemTable(page);
    const char32_t* unicode = oemUnicodeTable(page);
    for (std::size_t i = 0; i < ansi.size();) {
        // A run of bytes that stay as they are goes in at once.
        std::size_t run = i;
        while (run < ansi.size() && same[static_cast<unsigned char>(ansi[run])])
            ++run;
        out.append(ansi.data() + i, run - i);
        if (run < ansi.size())
            appendUtf8(out, unicode[toOem[static_cast<unsigned char>(ansi[run])]]);
        i = run + 1;
    }
    return out;
}

std::string utf8ToAnsiViaOem(std::string_view utf8, OemCodePage page)
{
    const char32_t* unicode = oemUnicodeTable(page);
    const unsigned char* toAnsi = oemToAnsiTable(page);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = nextUtf8(utf8, i);
        char result = '?';
        for (int b = 0; b < 256; ++b) {
            if (unicode[b] == c) {
                result = static_cast<char>(toAnsi[b]);
                break;
            }
        }
        out += result;
    }
    return out;
}

bool utf8ToOemExact(std::string_view utf8, OemCodePage page, std::string& oem, char32_t* missing)
{
    const char32_t* unicode = oemUnicodeTable(page);
    oem.clear();
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t start = i;
        char32_t c = nextUtf8(utf8, i);
        bool valid = static_cast<unsigned char>(utf8[start]) < 0x80 || i - start > 1;
        int found = -1;
        for (int b = 0; valid && b < 256 && found < 0; ++b) {
            if (unicode[b] == c)
                found = b;
        }
        if (found < 0) {
            if (missing)
                *missing = c;
            return false;
        }
        oem += static_cast<char>(found);
    }
    return true;
}

std::string characterText(char32_t c)
{
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c >= 0x110000)
        return code;
    std::string character;
    if (c < 0x80) {
        character += static_cast<char>(c);
    } else {
        const int extra = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        character += static_cast<char>(((0xFF00 >> (extra + 1)) & 0xFF) | (c >> (6 * extra)));
        for (int k = extra - 1; k >= 0; --k)
            character += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    return "\"" + character + "\" " + code;
}

bool utf8ToAnsiExact(std::string_view utf8, OemCodePage page, std::string& ansi, std::string& problem)
{
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        nextUtf8(utf8, i);
        if (static_cast<unsigned char>(utf8[start]) >= 0x80 && i - start == 1) {
            char byte[8];
            std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(utf8[start]));
            problem = std::string("is not valid UTF-8 (byte ") + byte + " at " + std::to_string(start + 1) + ")";
            return false;
        }
    }
    char32_t missing = 0;
    if (!utf8ToOemExact(utf8, page, ansi, &missing)) {
        problem = "holds the character " + characterText(missing) + ", which the OEM code page " +
                  std::to_string(static_cast<int>(page)) + " cannot hold";
        return false;
    }
    oemToAnsi(ansi.data(), ansi.size(), page);
    return true;
}
