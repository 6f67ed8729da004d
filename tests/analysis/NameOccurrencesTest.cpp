#include "analysis/NameOccurrences.h"
#include "analysis/AwareRules.h"
#include "model/SourceText.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The rule counted directly: one search after the other, each from one behind the last hit.
int countDirectly(std::string_view text, const std::string& name, int cap)
{
    int n = 0;
    for (int p = srctext::find(text, name, 0); p != -1 && n < cap; p = srctext::find(text, name, p + 1))
        ++n;
    return n;
}

// The same without regard to letter case (A-Z): each window of the text compared folded.
int countFoldedDirectly(std::string_view text, const std::string& name, int cap)
{
    int n = 0;
    for (size_t p = 0; p + name.size() <= text.size() && n < cap; ++p)
        if (aware::equalNoCase(text.substr(p, name.size()), name))
            ++n;
    return n;
}

std::string randomWord(std::mt19937& random, int length, std::string_view letters)
{
    std::string s;
    for (int k = 0; k < length; ++k)
        s += letters[random() % letters.size()];
    return s;
}

} // namespace

TEST(NameOccurrences, CountsOverlappingNestedAndRepeatedNamesUpToTheCap)
{
    const std::vector<std::string> names{"aa", "Amount", "Amount (LCY)", "Amount", "unc", "\xE4" "x", "none", ""};
    CNameOccurrences occ(names);
    occ.scan("aaa Amount (LCY) Amount Amount \xE4x unc", 2);
    EXPECT_EQ(occ.count("aa"), 2);
    EXPECT_EQ(occ.count("Amount"), 2);
    EXPECT_EQ(occ.count("Amount (LCY)"), 1);
    EXPECT_EQ(occ.count("unc"), 1);
    EXPECT_EQ(occ.count("\xE4x"), 1);
    EXPECT_EQ(occ.count("none"), 0);
    EXPECT_EQ(occ.count("other"), -1);
    EXPECT_EQ(occ.count(""), -1);
}

TEST(NameOccurrences, AgreesWithSearchingEachNameOnRandomTexts)
{
    std::mt19937 random(7);
    auto word = [&](int length) {
        std::string s;
        for (int k = 0; k < length; ++k)
            s += "abc"[random() % 3];
        return s;
    };
    for (int round = 0; round < 50; ++round) {
        std::vector<std::string> names;
        for (int k = 0; k < 12; ++k)
            names.push_back(word(1 + static_cast<int>(random() % 5)));
        const std::string text = word(static_cast<int>(random() % 60));
        CNameOccurrences occ(names);
        occ.scan(text, 3);
        for (const std::string& name : names)
            ASSERT_EQ(occ.count(name), countDirectly(text, name, 3)) << text << " / " << name;
    }
}

// Letters A-Z of the text count as a-z for folded names; other bytes (umlauts, blanks) as they
// are. Overlapping, nested and repeated names, one- and two-byte names and names of every length.
TEST(NameOccurrences, FoldedScanAgreesWithComparingEachWindowWithoutLetterCase)
{
    std::mt19937 random(11);
    const std::string_view letters = "aAbBc\xC4 ";
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> names;
        for (int k = 0; k < 10; ++k)
            names.push_back(aware::folded(randomWord(random, 1 + static_cast<int>(random() % 6), letters)));
        const std::string text = randomWord(random, static_cast<int>(random() % 80), letters);
        CNameOccurrences occ(names);
        occ.scanFolded(text, 3);
        for (const std::string& name : names)
            ASSERT_EQ(occ.count(name), countFoldedDirectly(text, name, 3)) << text << " / " << name;
        // The plain scan of the same names stays case-sensitive.
        occ.scan(text, 3);
        for (const std::string& name : names)
            ASSERT_EQ(occ.count(name), countDirectly(text, name, 3)) << text << " / " << name;
    }
}

// A text long enough to be counted in slices on several threads, with names laid across the
// slices' borders: the counts are those of one thread and of searching each name, folded or not.
TEST(NameOccurrences, SeveralThreadsCountLikeOne)
{
    std::mt19937 random(3);
    std::string text = randomWord(random, 3 << 20, "abcC");
    std::vector<std::string> names{"abcabcabcabcab", "cc", "a"};
    for (int k = 0; k < 40; ++k)
        names.push_back(randomWord(random, 12 + k % 4, "abc"));
    for (size_t border : {text.size() / 3, text.size() / 2, text.size() * 2 / 3})
        text.replace(border - 5, 14, "abCabcabcabcab");
    CNameOccurrences one(names);
    CNameOccurrences several(names);
    one.scan(text, 3, nullptr, 1);
    several.scan(text, 3, nullptr, 3);
    for (const std::string& name : names) {
        ASSERT_EQ(several.count(name), one.count(name)) << name;
        ASSERT_EQ(one.count(name), countDirectly(text, name, 3)) << name;
    }
    EXPECT_EQ(one.count("abcabcabcabcab"), 0);
    one.scanFolded(text, 3, nullptr, 1);
    several.scanFolded(text, 3, nullptr, 3);
    for (const std::string& name : names) {
        ASSERT_EQ(several.count(name), one.count(name)) << name;
        ASSERT_EQ(one.count(name), countFoldedDirectly(text, name, 3)) << name;
    }
    EXPECT_EQ(one.count("abcabcabcabcab"), 3);
}
