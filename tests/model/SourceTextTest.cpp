#include "model/NameHits.h"
#include "model/SourceText.h"

#include <gtest/gtest.h>

using namespace srctext;

TEST(SourceText, FindAndCutClampBadPositions)
{
    EXPECT_EQ(find("abcabc", "bc", 0), 1);
    EXPECT_EQ(find("abcabc", "bc", 2), 4);
    EXPECT_EQ(find("abcabc", "bc", -1), -1);
    EXPECT_EQ(find("abcabc", "bc", 7), -1);
    EXPECT_EQ(find("abc", "", 3), 3);
    EXPECT_EQ(cut("abcdef", -3, 2), "ab");
    EXPECT_EQ(cut("abcdef", 4, 10), "ef");
    EXPECT_EQ(cut("abcdef", 2, -1), "");
    EXPECT_EQ(cut("abcdef", 9, 2), "");
}

TEST(SourceText, FindAgreesWithAPlainSearchAtEveryStartAndLength)
{
    // Texts of a few bytes that make near misses likely, up to several blocks of 16 long, and
    // the patterns the parser looks for: a hit at every offset, at the very end, none at all.
    const std::vector<std::string> patterns = {"\r\n    END;\r\n\r\n", "\r\n    END;", "ND", ";\r\n    VAR", "    ",
                                               "\r\n", "E;", "x\r\n    END;\r\n\r\nx", "\r\n    END;\r\n\r\n\r\n"};
    const std::string alphabet = "\r\n ;ENDVARx";
    unsigned seed = 7;
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const int length = round % 80;
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += alphabet[(seed >> 16) % alphabet.size()];
        }
        if (round % 3 == 0 && length > 20)
            text.replace(static_cast<size_t>(length - 14), 14, "\r\n    END;\r\n\r\n"); // at the very end
        for (const std::string& pattern : patterns)
            for (int from = 0; from <= length; ++from) {
                const size_t plain = std::string_view(text).find(pattern, static_cast<size_t>(from));
                ASSERT_EQ(srctext::find(text, pattern, from), plain == std::string_view::npos ? -1 : static_cast<int>(plain))
                    << "round " << round << " from " << from;
            }
    }
}

TEST(SourceText, CaseInsensitiveFindFoldsOnlyAsciiLetters)
{
    EXPECT_EQ(findNoCase("xx CUSTOMER", "customer", 0), 3);
    EXPECT_EQ(findNoCase("Kunde \xC4nderung", "\xE4nderung", 0), -1); // Ä and ä differ
    EXPECT_EQ(findNoCase("Kunde \xC4nderung", "\xC4NDERUNG", 0), 6);
    EXPECT_EQ(findNoCase("abc", "", 0), -1);
    EXPECT_EQ(findNoCase("aAaA", "AA", 1), 1);
    EXPECT_EQ(findNoCase("ab", "abc", 0), -1);
}

TEST(SourceText, WholeWordNeedsNonAlnumNeighbours)
{
    EXPECT_EQ(findWholeWord("CheckCreditLimit; CheckCredit(", "CheckCredit", 0), 18);
    EXPECT_EQ(findWholeWord("Cust.CheckCredit", "CheckCredit", 0), 5);
    EXPECT_EQ(findWholeWord("CheckCredit", "CheckCredit", 0), 0);
    EXPECT_EQ(findWholeWord("x_Name\xE4", "Name", 0), 2); // "_" and umlauts separate words
    EXPECT_EQ(findWholeWord("Name1", "Name", 0), -1);
}

TEST(SourceText, NamesFoundInOnePassAsOneSearchPerNameFindsThem)
{
    // Overlapping hits, names that are prefixes of others or share first bytes, one-byte and empty
    // names, a name at the very end, bytes above 127, a name given twice, a missing name.
    const std::string_view text = "aaa Cust CustNo Customer\xe4 x \xe4Nr C";
    const std::vector<std::string_view> names = {"aa", "a", "Cust", "Customer", "CustNo", "C", "", "\xe4",
                                                 "\xe4Nr", "Cust", "Vendor", "r\xe4 x"};
    const std::vector<NameHits> hits = findNames(text, names);
    ASSERT_EQ(hits.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        NameHits expected;
        for (int p = find(text, names[i], 0); p >= 0; p = find(text, names[i], p + 1)) {
            (expected.first < 0 ? expected.first : expected.second < 0 ? expected.second : p) = p;
            ++expected.count;
        }
        EXPECT_EQ(hits[i].first, expected.first) << names[i];
        EXPECT_EQ(hits[i].second, expected.second) << names[i];
        EXPECT_EQ(hits[i].count, expected.count) << names[i];
    }
}

TEST(SourceText, LineAndIndentOfAPosition)
{
    std::string t = "OBJECT\r\n{\r\n    BEGIN\r\n";
    EXPECT_EQ(lineOf(t, 0), 1);
    EXPECT_EQ(lineOf(t, 8), 2);
    EXPECT_EQ(lineOf(t, 15), 3);
    EXPECT_EQ(indentOf(t, 15), 6); // four blanks before BEGIN, plus two
    EXPECT_EQ(indentOf("  BEGIN", 2), 3); // no line start before: pos + 1
    EXPECT_EQ(indentOf(t, -1), 0);
}

TEST(SourceText, SplitBetweenAndItems)
{
    std::vector<std::string> parts;
    EXPECT_EQ(split("a;b;", ";", parts), 3);
    EXPECT_EQ(parts, (std::vector<std::string>{"a", "b", ""}));
    parts.clear();
    EXPECT_EQ(split("abc", ";", parts), 1);

    int pos = 0;
    EXPECT_EQ(between("x[a]y[b]", "[", "]", pos), "a");
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(between("x[a]y[b]", "[", "]", pos), "b");
    EXPECT_EQ(between("x[a]y[b]", "[", "]", pos), "");
    pos = 0;
    EXPECT_EQ(between("abc", "", "c", pos), "ab");

    std::vector<std::string> items;
    EXPECT_EQ(extractItems("K{\r\n  {a}\r\n  {b}\r\n}E", items, "K{", "}E", "  {", "}\r\n"), 2);
    EXPECT_EQ(items, (std::vector<std::string>{"a", "b"}));
    std::vector<std::string> sums;
    EXPECT_EQ(splitAfter(";SumIndexFields=Amount,Qty ", sums, "SumIndexFields=", ",", ""), 2);
    EXPECT_EQ(sums[1], "Qty ");
    EXPECT_EQ(splitAfter("none", sums, "SumIndexFields=", ",", ""), 0);
}

TEST(SourceText, DecimalConversionAndAlnum)
{
    EXPECT_EQ(decimal(" 18 Customer"), 18);
    EXPECT_EQ(decimal("x"), 0);
    EXPECT_EQ(decimal("-5;"), -5);
    EXPECT_TRUE(isAlnumOnly(""));
    EXPECT_TRUE(isAlnumOnly("Abc123"));
    EXPECT_FALSE(isAlnumOnly("No."));
}

TEST(SourceText, DatesAndTimesAreZeroPadded)
{
    std::tm tm{};
    tm.tm_year = 2003 - 1900;
    tm.tm_mon = 6;
    tm.tm_mday = 4;
    tm.tm_hour = 9;
    tm.tm_min = 5;
    tm.tm_sec = 7;
    tm.tm_isdst = -1;
    std::time_t t = std::mktime(&tm);
    std::string s;
    appendDate(s, t, 0);
    s += ' ';
    appendDate(s, t, 1);
    s += ' ';
    appendTime(s, t);
    appendDate(s, t, 2);
    EXPECT_EQ(s, "2003-07-04 04.07.2003 09:05:07");
}
