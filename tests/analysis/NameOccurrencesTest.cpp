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
