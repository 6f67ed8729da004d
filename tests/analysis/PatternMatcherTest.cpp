#include "analysis/PatternMatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

// One search: pattern, subject, start; the expected offset (-1: no match) and matched text.
struct FindCase {
    const char* pattern;
    std::string subject;
    int start;
    int position;
    const char* text;
};

std::ostream& operator<<(std::ostream& out, const FindCase& c)
{
    return out << '"' << c.pattern << "\" in \"" << c.subject << "\" from " << c.start;
}

const FindCase kFindCases[] = {
    // literals and literal runs
    {"abc", "xxabcxx", 0, 2, "abc"},
    {"abc", "xxab", 0, -1, nullptr},
    {"abc", "abcabc", 1, 3, "abc"},
    {"ab*", "abbbc", 0, 0, "abbb"},
    {"ab*", "xa", 0, 1, "a"},
    {"ab+c", "ac abbc", 0, 3, "abbc"},
    {"ab+c", "ac", 0, -1, nullptr},
    {"ab?c", "abc ac", 0, 0, "abc"},
    {"ab?c", "ac", 0, 0, "ac"},
    {"=Field[0-9]", "Relation=Field12", 0, 8, "=Field1"},
    {"Relation=Table[0-9]", "Relation=table1", 0, -1, nullptr},
    {"Relation=Table[0-9]", "x Relation=Table7", 0, 2, "Relation=Table7"},
    // ".", anchors
    {".", "\r\n", 0, 0, "\r"},
    {"a.b", "a\nb", 0, 0, "a\nb"},
    {"^ab", "abab", 0, 0, "ab"},
    {"^ab", "abab", 1, -1, nullptr},
    {"^ab", "xxxxxab", 5, 5, "ab"},
    {"^b", "a\r\nb", 0, -1, nullptr},
    {"b$", "ab\r\nb", 0, 4, "b"},
    {"b$", "b\r\nx", 0, -1, nullptr},
    {"$", "abc", 0, 3, ""},
    {"$", "abc", 3, 3, ""},
    // classes
    {"[a-]", "x-", 0, 1, "-"},
    {"[-a]", "x-", 0, 1, "-"},
    {"[]a]", "x]", 0, 1, "]"},
    {"[]a]", "xa", 0, 1, "a"},
    {"[^]]", "]]x", 0, 2, "x"},
    {"[^]]", "]]", 0, -1, nullptr},
    {"[a-c]+", "xxbcaz", 0, 2, "bca"},
    {"[^a-c]+", "abxyc", 0, 2, "xy"},
    {"[a-c-e]+", "xd-e", 0, 1, "d"}, // two chained ranges, "-" no member
    {"[\x80-\xff]", "ab\xe4", 0, 2, "\xe4"},
    {"[\xe4-a]+", "b5Za", 0, 1, "5Za"},
    {"[a\\]+", "x\\a", 0, 1, "\\a"},
    // backslash
    {"\\n", "\nn", 0, 1, "n"},
    {"\\.", "a.b", 0, 1, "."},
    {"a\\*", "aa*", 0, 1, "a*"},
    {"\\(x\\)", "(x)", 0, 0, "(x)"},
    // alternation, groups, repeats
    {"a|ab", "ab", 0, 0, "a"},
    {"ab|a", "ab", 0, 0, "ab"},
    {"x*", "yyy", 0, 0, ""},
    {"a*", "", 0, 0, ""},
    {"", "abc", 1, 1, ""},
    {"(a|b)*c", "xababcd", 0, 1, "ababc"},
    {"(a|b)+c", "cabc", 0, 1, "abc"},
    {"(ab)+", "xababy", 0, 1, "abab"},
    {"(ab)*", "ababy", 0, 0, "abab"},
    {"a(b|c)?d", "ad acd", 0, 0, "ad"},
    {"(a|ab)(c|bcd)", "abcd", 0, 0, "abcd"},
    {"a.*b", "axxbyyb z", 0, 0, "axxbyyb"},
    {"a[^b]*b", "axxbyyb", 0, 0, "axxb"},
    {"x[0-9]*5", "x12345", 0, 0, "x12345"},
    {"x[0-9]*5", "x1234", 0, -1, nullptr},
    {"(a*b)+c", "aabababc", 0, 0, "aabababc"},
    {"((a)|b)+", "bab", 0, 0, "bab"},
    // start positions
    {"a", "abc", 3, -1, nullptr},
    {"a", "abc", 4, -1, nullptr},
};

class PatternMatcherFind : public testing::TestWithParam<FindCase> {};

TEST_P(PatternMatcherFind, ReportsLeftmostMatch)
{
    const FindCase& c = GetParam();
    CPatternMatcher matcher;
    ASSERT_TRUE(matcher.compile(c.pattern));
    EXPECT_EQ(matcher.find(c.subject, c.start), c.position);
    if (c.position < 0) {
        EXPECT_EQ(matcher.matchText(), nullptr);
        return;
    }
    ASSERT_NE(matcher.matchText(), nullptr);
    EXPECT_STREQ(matcher.matchText(), c.text);
    EXPECT_EQ(matcher.groupStart(0), c.position);
    EXPECT_EQ(matcher.groupEnd(0), c.position + static_cast<int>(std::string(c.text).size()));
}

INSTANTIATE_TEST_SUITE_P(Cases, PatternMatcherFind, testing::ValuesIn(kFindCases));

const char* const kBadPatterns[] = {
    "((((((((((a))))))))))", // ten groups
    "(a?)*", "()+", "(a*)*", "(^)+", // repeat of something that can match empty
    "a**", "a+?", "a??", "(ab)*+",  // nested repeats
    "*a", "+a", "?a", "(*a)", "a|*b", // nothing to repeat
    "(a", "((a)", "a)", "(a))",       // unmatched parentheses
    "[a", "[]", "[^]", "[a-", "[^",   // class without "]"
    "[z-a]", "[a-\xe4]",             // range end below its start
    "a\\",                            // trailing backslash
};

class PatternMatcherBadPattern : public testing::TestWithParam<const char*> {};

TEST_P(PatternMatcherBadPattern, FailsToCompileAndFindsNothing)
{
    CPatternMatcher matcher;
    EXPECT_FALSE(matcher.compile(GetParam()));
    EXPECT_TRUE(matcher.compiled());
    EXPECT_EQ(matcher.find("a-z(a)*+?[]\\", 0), -1);
}

INSTANTIATE_TEST_SUITE_P(Cases, PatternMatcherBadPattern, testing::ValuesIn(kBadPatterns));

TEST(PatternMatcher, StateAfterConstructionAndCompile)
{
    CPatternMatcher matcher;
    EXPECT_TRUE(matcher.caseFlag());
    EXPECT_FALSE(matcher.compiled());
    EXPECT_EQ(matcher.find("abc", 0), -1);
    EXPECT_FALSE(matcher.compile(nullptr));
    EXPECT_FALSE(matcher.compiled());
    matcher.setCaseFlag(false);
    ASSERT_TRUE(matcher.compile("A"));
    EXPECT_EQ(matcher.find("a", 0), -1); // the case flag does not change matching
}

TEST(PatternMatcher, NineGroupsAreAllowed)
{
    CPatternMatcher matcher;
    ASSERT_TRUE(matcher.compile("(a)(b)(c)(d)(e)(f)(g)(h)(i)"));
    EXPECT_EQ(matcher.find("xabcdefghi", 0), 1);
    EXPECT_EQ(matcher.groupStart(9), 9);
    EXPECT_EQ(matcher.groupEnd(9), 10);
}

TEST(PatternMatcher, GroupPositions)
{
    CPatternMatcher matcher;
    ASSERT_TRUE(matcher.compile("(a+)(b+)"));
    ASSERT_EQ(matcher.find("xaabbby", 0), 1);
    EXPECT_EQ(matcher.groupStart(1), 1);
    EXPECT_EQ(matcher.groupEnd(1), 3);
    EXPECT_EQ(matcher.groupStart(2), 3);
    EXPECT_EQ(matcher.groupEnd(2), 6);
    EXPECT_STREQ(matcher.matchText(), "aabbb");

    ASSERT_TRUE(matcher.compile("(a)|(b)"));
    ASSERT_EQ(matcher.find("b", 0), 0);
    EXPECT_EQ(matcher.groupStart(1), -1);
    EXPECT_EQ(matcher.groupEnd(1), -1);
    EXPECT_EQ(matcher.groupStart(2), 0);

    ASSERT_TRUE(matcher.compile("((a)b)*")); // a repeated group keeps its last pass
    ASSERT_EQ(matcher.find("ababx", 0), 0);
    EXPECT_EQ(matcher.groupStart(1), 2);
    EXPECT_EQ(matcher.groupEnd(1), 4);
    EXPECT_EQ(matcher.groupStart(2), 2);
    EXPECT_EQ(matcher.groupEnd(2), 3);
}

TEST(PatternMatcher, FailedFindClearsMatchText)
{
    CPatternMatcher matcher;
    ASSERT_TRUE(matcher.compile("b"));
    ASSERT_EQ(matcher.find("abc", 0), 1);
    EXPECT_STREQ(matcher.matchText(), "b");
    EXPECT_EQ(matcher.find("abc", 2), -1);
    EXPECT_EQ(matcher.matchText(), nullptr);
}

TEST(PatternMatcher, WithoutTheMatchCopyAFindGivesTheSamePositions)
{
    // The text search keeps no copy of a greedy match (megabytes at every hit); the positions
    // and groups must not depend on it.
    std::string subject = "x Cust a No. b Cust c No. d";
    CPatternMatcher kept, positionsOnly;
    positionsOnly.setKeepMatchText(false);
    ASSERT_TRUE(kept.compile("Cust(.*)No\\."));
    ASSERT_TRUE(positionsOnly.compile("Cust(.*)No\\."));
    for (int start : {0, 3, 15, 20}) {
        EXPECT_EQ(kept.find(subject, start), positionsOnly.find(subject, start)) << start;
        for (int n = 0; n <= 1; ++n) {
            EXPECT_EQ(kept.groupStart(n), positionsOnly.groupStart(n));
            EXPECT_EQ(kept.groupEnd(n), positionsOnly.groupEnd(n));
        }
        EXPECT_EQ(positionsOnly.matchText(), nullptr);
    }
    ASSERT_NE(kept.find(subject, 0), -1);
    EXPECT_STREQ(kept.matchText(), "Cust a No. b Cust c No.");
}

TEST(PatternMatcher, LaterSearchesOfOneSubjectDoNotWalkBackOverItsEndAgain)
{
    // "Cust.*No\\." runs to the end and walks back to the last "No."; the text behind it is
    // walked once per subject, not once per hit, while the matches stay the same.
    std::string subject = "Cust a No. b Cust c No.(x) Cust" + std::string(200000, 'x');
    const int length = static_cast<int>(subject.size());
    for (const char* pattern : {"Cust.*No\\.", "Cust(.*)No\\.", "Cust.*(No|Nr)\\."}) {
        CPatternMatcher matcher;
        ASSERT_TRUE(matcher.compile(pattern));
        EXPECT_EQ(matcher.find(subject.data(), length, 0, 0), 0) << pattern;
        EXPECT_EQ(matcher.groupEnd(0), 23) << pattern;
        const bool remembered = std::string(pattern).find('|') == std::string::npos;
        matcher.setStepBudget(remembered ? 10'000 : 0);
        EXPECT_EQ(matcher.find(subject.data(), length, 1, length), 13) << pattern;
        EXPECT_EQ(matcher.groupEnd(0), 23) << pattern;
        EXPECT_EQ(matcher.find(subject.data(), length, 14, length), -1) << pattern;
        // A subject changed behind the same pointer is walked afresh.
        subject.replace(subject.size() - 3, 3, "No.");
        matcher.setStepBudget(0);
        EXPECT_EQ(matcher.find(subject.data(), length, 14), 27) << pattern;
        EXPECT_EQ(matcher.groupEnd(0), length) << pattern;
        subject.replace(subject.size() - 3, 3, "xxx");
    }
}

TEST(PatternMatcher, BytesBeforeLengthAreOrdinary)
{
    CPatternMatcher matcher;
    const std::string subject("a\0b\0", 4);
    ASSERT_TRUE(matcher.compile("a.b[^x]$"));
    EXPECT_EQ(matcher.find(subject, 0), 0);
    EXPECT_EQ(matcher.find(subject.data(), 3, 0), -1); // "$" is at position length
}

TEST(PatternMatcher, QuickRejectionData)
{
    CPatternMatcher matcher;
    ASSERT_TRUE(matcher.compile("abc"));
    EXPECT_EQ(matcher.firstChar(), 'a');
    EXPECT_FALSE(matcher.anchored());
    EXPECT_TRUE(matcher.mustContain().empty());
    ASSERT_TRUE(matcher.compile("^abc"));
    EXPECT_TRUE(matcher.anchored());
    EXPECT_EQ(matcher.firstChar(), '\0');
    ASSERT_TRUE(matcher.compile("a|b"));
    EXPECT_EQ(matcher.firstChar(), '\0');
    ASSERT_TRUE(matcher.compile("x*abc+defg[0-9]hij"));
    EXPECT_EQ(matcher.mustContain(), "defg");
    EXPECT_EQ(matcher.find("xxabccdefg1hij", 0), 0);
    EXPECT_EQ(matcher.find("xxabccdefh1hij", 0), -1);
    ASSERT_TRUE(matcher.compile("abc*defg")); // no leading repeat: no required literal
    EXPECT_TRUE(matcher.mustContain().empty());
}

TEST(PatternMatcher, ProgramLayout)
{
    CPatternMatcher matcher;
    ASSERT_TRUE(matcher.compile("ab"));
    const std::vector<unsigned char> literal{6, 9, 0, 8, 6, 0, 'a', 'b', 0, 0, 0, 0};
    EXPECT_EQ(std::vector<unsigned char>(matcher.program(), matcher.program() + matcher.programSize()),
              literal);

    ASSERT_TRUE(matcher.compile("(ab)*"));
    const std::vector<unsigned char> loop{
        6, 30, 0,  // BRANCH (the only alternative) -> END
        6, 21, 0,  // BRANCH (loop) -> BRANCH (empty)
        21, 3, 0,  // OPEN 1
        6, 9, 0,   // BRANCH (group's only alternative) -> CLOSE 1
        8, 6, 0, 'a', 'b', 0,
        31, 3, 0,  // CLOSE 1
        7, 18, 0,  // BACK to the loop BRANCH
        6, 3, 0,   // BRANCH (empty)
        9, 3, 0,   // NOTHING
        0, 0, 0};  // END
    EXPECT_EQ(std::vector<unsigned char>(matcher.program(), matcher.program() + matcher.programSize()),
              loop);
}

TEST(PatternMatcher, LinksBeyondSixteenBitsFailToCompile)
{
    CPatternMatcher matcher;
    EXPECT_FALSE(matcher.compile("(" + std::string(70000, 'a') + ")*"));
    EXPECT_EQ(matcher.find(std::string(70000, 'a'), 0), -1);
    EXPECT_FALSE(matcher.compile(std::string(70000, 'a')));

    ASSERT_TRUE(matcher.compile("(" + std::string(60000, 'a') + ")*b"));
    const std::string subject = "x" + std::string(120000, 'a') + "b";
    EXPECT_EQ(matcher.find(subject, 1), 1);
    EXPECT_EQ(matcher.groupStart(1), 60001);
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(PatternMatcher, LongSubjectsNeitherCrashNorHang)
{
    const std::string as(1 << 20, 'a');
    std::string abs;
    while (abs.size() < (1u << 20))
        abs += "ab";
    CPatternMatcher matcher;
    const Clock::time_point begin = Clock::now();

    ASSERT_TRUE(matcher.compile(".*x"));
    EXPECT_EQ(matcher.find(as + "x", 0), 0);
    EXPECT_EQ(matcher.groupEnd(0), (1 << 20) + 1);
    EXPECT_EQ(matcher.find(as, 0), -1);

    ASSERT_TRUE(matcher.compile("(a|b)*c"));
    EXPECT_EQ(matcher.find(abs.substr(0, 20000) + "c", 0), 0); // deep, but within the limits
    // A match needing more pending alternatives than the limit is given up, the search ends.
    EXPECT_EQ(matcher.find(abs + "c", 0), -1);

    ASSERT_TRUE(matcher.compile("(ab|a)*[0-9]"));
    EXPECT_EQ(matcher.find(abs, 0), -1);
    EXPECT_LT(secondsSince(begin), 60.0);
}

TEST(PatternMatcher, StepBudgetEndsPathologicalSearch)
{
    CPatternMatcher matcher;
    ASSERT_TRUE(matcher.compile("(a|aa)*b"));
    const std::string subject = std::string(60, 'a') + "cb";
    matcher.setStepBudget(1'000'000);
    EXPECT_EQ(matcher.find(subject, 0), -1);
    matcher.setStepBudget(0);
    EXPECT_EQ(matcher.find(subject, 0), -1);
    EXPECT_EQ(matcher.find(subject, 61), 61); // the empty loop then "b"
}

TEST(PatternMatcher, CancelFlagStopsSearch)
{
    CPatternMatcher matcher;
    std::atomic<bool> cancel{true};
    matcher.setCancelFlag(&cancel);
    ASSERT_TRUE(matcher.compile("b"));
    EXPECT_EQ(matcher.find("ab", 0), -1);

    cancel = false;
    EXPECT_EQ(matcher.find("ab", 0), 1);

    ASSERT_TRUE(matcher.compile("(a|aa)*b"));
    matcher.setStepBudget(INT64_MAX); // would run for ages without the flag
    const Clock::time_point begin = Clock::now();
    std::thread canceller([&cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        cancel = true;
    });
    EXPECT_EQ(matcher.find(std::string(80, 'a') + "cb", 0), -1);
    canceller.join();
    EXPECT_LT(secondsSince(begin), 10.0);
}

} // namespace
