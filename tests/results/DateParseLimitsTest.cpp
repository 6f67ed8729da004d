#include "results/DateParse.h"

#include <gtest/gtest.h>

namespace {

// The time of day of text as seconds, or -1 when text is refused.
double seconds(const char* text, DateStyle style = DateStyle::IsoOnly)
{
    double value = 0.0;
    if (!parseDateTime(text, value, style))
        return -1.0;
    return value * 86400.0;
}

} // namespace

TEST(DateParseLimits, TheLargestValidTimesAreAccepted)
{
    EXPECT_DOUBLE_EQ(seconds("23:59:59"), 86399.0);
    EXPECT_DOUBLE_EQ(seconds("23:59"), 86340.0);
    EXPECT_DOUBLE_EQ(seconds("10:59"), 39540.0);
    EXPECT_DOUBLE_EQ(seconds("9:59:59"), 35999.0);
    EXPECT_DOUBLE_EQ(seconds("00:00:00"), 0.0);
    double value = 0.0;
    ASSERT_TRUE(parseDateTime("31.12.2023 23:59:59", value, DateStyle::DayMonthDot));
    EXPECT_DOUBLE_EQ(value, 45291.0 + 86399.0 / 86400.0);
}
