#include "analysis/NameOccurrences.h"
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

// A text long enough to be counted in slices on several threads, with names laid across the
// slices' borders: the counts are those of one thread and of searching each name.
TEST(NameOccurrences, SeveralThreadsCountLikeOne)
{
    std::mt19937 random(3);
    std::string text;
    for (int k = 0; k < 3 << 20; ++k)
        text += "abc"[random() % 3];
    std::vector<std::string> names{"abcabcabcabcab", "cc", "a"};
    for (int k = 0; k < 40; ++k) {
        std::string name;
        for (int c = 0; c < 12 + k % 4; ++c)
            name += "abc"[random() % 3];
        names.push_back(name);
    }
    for (size_t border : {text.size() / 3, text.size() / 2, text.size() * 2 / 3})
        text.replace(border - 5, 14, "abcabcabcabcab");
    CNameOccurrences one(names);
    one.scan(text, 3, nullptr, 1);
    CNameOccurrences several(names);
    several.scan(text, 3, nullptr, 3);
    for (const std::string& name : names) {
        ASSERT_EQ(several.count(name), one.count(name)) << name;
        ASSERT_EQ(one.count(name), countDirectly(text, name, 3)) << name;
    }
    EXPECT_EQ(one.count("abcabcabcabcab"), 3);
}
