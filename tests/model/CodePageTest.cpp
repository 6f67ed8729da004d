#include "model/CodePage.h"

#include <gtest/gtest.h>

#include <set>

namespace {
std::string allBytes()
{
    std::string s(256, '\0');
    for (int i = 0; i < 256; ++i)
        s[static_cast<size_t>(i)] = static_cast<char>(i);
    return s;
}
} // namespace

TEST(CodePage, RoundTripGivesBackEveryByteOfBothOemPages)
{
    for (OemCodePage page : {OemCodePage::CP850, OemCodePage::CP437}) {
        std::string bytes = allBytes();
        oemToAnsi(bytes.data(), bytes.size(), page);
        std::set<char> distinct(bytes.begin(), bytes.end());
        EXPECT_EQ(distinct.size(), 256u) << "OEM -> ANSI must be a bijection";
        ansiToOem(bytes.data(), bytes.size(), page);
        EXPECT_EQ(bytes, allBytes());
    }
}

TEST(CodePage, GermanLettersMapToTheirWindows1252Bytes)
{
    // Ä Ö Ü ä ö ü ß in CP850 and CP437 (same bytes in both) and in Windows-1252.
    const unsigned char oem[] = {0x8E, 0x99, 0x9A, 0x84, 0x94, 0x81, 0xE1};
    const unsigned char ansi[] = {0xC4, 0xD6, 0xDC, 0xE4, 0xF6, 0xFC, 0xDF};
    for (OemCodePage page : {OemCodePage::CP850, OemCodePage::CP437})
        for (size_t i = 0; i < sizeof oem; ++i) {
            EXPECT_EQ(oemToAnsiByte(oem[i], page), ansi[i]);
            EXPECT_EQ(ansiToOemByte(ansi[i], page), oem[i]);
        }
}

TEST(CodePage, AsciiStaysAndBoxDrawingFillsTheGaps)
{
    EXPECT_EQ(oemToAnsiByte('A', OemCodePage::CP850), 'A');
    EXPECT_EQ(oemToAnsiByte(0x7F, OemCodePage::CP850), 0x7F);
    // Box drawing 0xB0 has no Windows-1252 character: it lands on the first byte CP850 lacks.
    EXPECT_EQ(oemToAnsiByte(0xB0, OemCodePage::CP850), 0x80);
    // The pages differ where CP850 has accented capitals and CP437 box drawing.
    EXPECT_EQ(oemToAnsiByte(0xB5, OemCodePage::CP850), 0xC1); // Á
    EXPECT_NE(oemToAnsiByte(0xB5, OemCodePage::CP437), 0xC1);
}

TEST(CodePage, Utf8OutputShowsTheOriginalOemCharacters)
{
    std::string oem = "\xB0\x84";
    oemToAnsi(oem.data(), oem.size(), OemCodePage::CP850);
    EXPECT_EQ(ansiToUtf8ViaOem(oem, OemCodePage::CP850), "\u2591\u00E4");
    EXPECT_EQ(utf8ToAnsiViaOem("\u2591\u00E4x", OemCodePage::CP850), oem + "x");
    EXPECT_EQ(utf8ToAnsiViaOem("\u20AC", OemCodePage::CP850), "?");
}

TEST(CodePage, Utf8OutputOfEveryByteMatchesItsOemCharacterWhateverSurroundsIt)
{
    auto utf8 = [](char32_t c) {
        std::string out;
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
        return out;
    };
    for (OemCodePage page : {OemCodePage::CP850, OemCodePage::CP437}) {
        // Every byte alone, inside a run of plain letters, and all 256 bytes in one text.
        std::string all, expected;
        for (int b = 0; b < 256; ++b) {
            const std::string one(1, static_cast<char>(b));
            const std::string wanted = utf8(oemToUnicode(ansiToOemByte(static_cast<unsigned char>(b), page), page));
            EXPECT_EQ(ansiToUtf8ViaOem(one, page), wanted) << "byte " << b;
            EXPECT_EQ(ansiToUtf8ViaOem("ab" + one + "cd", page), "ab" + wanted + "cd") << "byte " << b;
            all += one;
            expected += wanted;
        }
        EXPECT_EQ(ansiToUtf8ViaOem(all, page), expected);
    }
    EXPECT_EQ(ansiToUtf8ViaOem("", OemCodePage::CP850), "");
}
