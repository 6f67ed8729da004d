#include "results/DateParse.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

std::optional<double> parse(const char* text, DateStyle style)
{
    double value = 0.0;
    if (!parseDateTime(text, value, style))
        return std::nullopt;
    return value;
}

int thisYear()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

// Sets the three locale variables for one test and puts the old values back afterwards.
class LocaleEnvironment : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i) {
            const char* value = std::getenv(kNames[i]);
            m_saved[i] = value ? std::optional<std::string>(value) : std::nullopt;
            unsetenv(kNames[i]);
        }
        clearDateStyleOverride();
    }
    void TearDown() override
    {
        for (int i = 0; i < 3; ++i) {
            if (m_saved[i])
                setenv(kNames[i], m_saved[i]->c_str(), 1);
            else
                unsetenv(kNames[i]);
        }
        clearDateStyleOverride();
    }
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_TIME", "LANG"};
    std::optional<std::string> m_saved[3];
};

} // namespace

TEST(DateParse, IsoDatesCountDaysFromTheEndOf1899)
{
    EXPECT_EQ(parse("1899-12-30", DateStyle::IsoOnly), 0.0);
    EXPECT_EQ(parse("1900-01-01", DateStyle::IsoOnly), 2.0);
    EXPECT_EQ(parse("2024-01-01", DateStyle::IsoOnly), 45292.0);
    EXPECT_EQ(parse("2024-1-5", DateStyle::IsoOnly), 45296.0);
    EXPECT_EQ(parse("1899-12-29", DateStyle::IsoOnly), -1.0);
    // Every style reads ISO.
    EXPECT_EQ(parse("2024-01-01", DateStyle::DayMonthDot), 45292.0);
    EXPECT_EQ(parse("2024-01-01", DateStyle::MonthDaySlash), 45292.0);
}

TEST(DateParse, DayRangesFollowTheMonthAndLeapYears)
{
    EXPECT_TRUE(parse("2024-02-29", DateStyle::IsoOnly));
    EXPECT_TRUE(parse("2000-02-29", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("2023-02-29", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("1900-02-29", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("2024-04-31", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("2024-13-01", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("2024-00-10", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("2024-01-00", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("31.04.2024", DateStyle::DayMonthDot));
    EXPECT_TRUE(parse("29.02.2024", DateStyle::DayMonthDot));
}

TEST(DateParse, TimesAloneOrAfterADateWithOneBlank)
{
    EXPECT_EQ(parse("12:00", DateStyle::IsoOnly), 0.5);
    EXPECT_EQ(parse("6:00:00", DateStyle::IsoOnly), 0.25);
    EXPECT_EQ(parse("2024-01-01 18:00", DateStyle::IsoOnly), 45292.75);
    EXPECT_EQ(parse("01.01.2024 12:00:00", DateStyle::DayMonthDot), 45292.5);
    EXPECT_FALSE(parse("24:00", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("12:60", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("12:00:60", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("12:5", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("2024-01-01  12:00", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("2024-01-0112:00", DateStyle::IsoOnly));
}

TEST(DateParse, WholeTextMustBeConsumedApartFromOuterBlanks)
{
    EXPECT_EQ(parse("  2024-01-01 ", DateStyle::IsoOnly), 45292.0);
    EXPECT_EQ(parse("\t12:00\t", DateStyle::IsoOnly), 0.5);
    EXPECT_FALSE(parse("2024-01-01x", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("12:00 2024-01-01", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("   ", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("abc", DateStyle::DayMonthDot));
    EXPECT_FALSE(parse("20240-01-01", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("2024-001-01", DateStyle::IsoOnly));
}

TEST(DateParse, DottedDaysMonthsAndShortYears)
{
    EXPECT_EQ(parse("31.12.2023", DateStyle::DayMonthDot), 45291.0);
    EXPECT_EQ(parse("1.1.24", DateStyle::DayMonthDot), 45292.0);
    EXPECT_EQ(parse("01.01.29", DateStyle::DayMonthDot), parse("2029-01-01", DateStyle::IsoOnly));
    EXPECT_EQ(parse("01.01.30", DateStyle::DayMonthDot), parse("1930-01-01", DateStyle::IsoOnly));
    EXPECT_EQ(parse("01.01.99", DateStyle::DayMonthDot), parse("1999-01-01", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("01.01.024", DateStyle::DayMonthDot));
    EXPECT_FALSE(parse("01.01.2", DateStyle::DayMonthDot));
    EXPECT_FALSE(parse("100.5", DateStyle::DayMonthDot));
    EXPECT_FALSE(parse("0.0", DateStyle::DayMonthDot));
}

TEST(DateParse, DayMonthWithoutYearIsInTheCurrentYear)
{
    std::string iso = std::to_string(thisYear()) + "-05-12";
    EXPECT_EQ(parse("12.5", DateStyle::DayMonthDot), parse(iso.c_str(), DateStyle::IsoOnly));
    EXPECT_EQ(parse("5/12", DateStyle::MonthDaySlash), parse(iso.c_str(), DateStyle::IsoOnly));
    EXPECT_EQ(parse("12/5", DateStyle::DayMonthSlash), parse(iso.c_str(), DateStyle::IsoOnly));
    EXPECT_FALSE(parse("12.5", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("12.5", DateStyle::DayMonthSlash));
}

TEST(DateParse, SlashOrderDependsOnTheStyle)
{
    EXPECT_EQ(parse("1/2/2024", DateStyle::MonthDaySlash), parse("2024-01-02", DateStyle::IsoOnly));
    EXPECT_EQ(parse("1/2/2024", DateStyle::DayMonthSlash), parse("2024-02-01", DateStyle::IsoOnly));
    EXPECT_FALSE(parse("13/1/2024", DateStyle::MonthDaySlash));
    EXPECT_TRUE(parse("13/1/2024", DateStyle::DayMonthSlash));
    EXPECT_FALSE(parse("1.2.2024", DateStyle::MonthDaySlash));
    EXPECT_FALSE(parse("1/2/2024", DateStyle::DayMonthDot));
}

TEST_F(LocaleEnvironment, StyleComesFromTheFirstSetLocaleVariable)
{
    EXPECT_EQ(localeDateStyle(), DateStyle::IsoOnly);
    setenv("LANG", "en_GB.UTF-8", 1);
    EXPECT_EQ(localeDateStyle(), DateStyle::DayMonthSlash);
    setenv("LC_TIME", "en_US.UTF-8", 1);
    EXPECT_EQ(localeDateStyle(), DateStyle::MonthDaySlash);
    setenv("LC_ALL", "de_DE.UTF-8@euro", 1);
    EXPECT_EQ(localeDateStyle(), DateStyle::DayMonthDot);
    setenv("LC_ALL", "", 1);
    EXPECT_EQ(localeDateStyle(), DateStyle::MonthDaySlash);
}

TEST_F(LocaleEnvironment, LocaleNamesMapToSpellings)
{
    const std::pair<const char*, DateStyle> cases[] = {
        {"C", DateStyle::IsoOnly},           {"POSIX", DateStyle::IsoOnly},
        {"C.UTF-8", DateStyle::IsoOnly},     {"de_AT", DateStyle::DayMonthDot},
        {"fr_CH.UTF-8", DateStyle::DayMonthDot}, {"fi_FI", DateStyle::DayMonthDot},
        {"ru_RU.UTF-8", DateStyle::DayMonthDot}, {"fr_FR.UTF-8", DateStyle::DayMonthSlash},
        {"en_AU", DateStyle::DayMonthSlash}, {"en_US", DateStyle::MonthDaySlash},
        {"ja_JP.UTF-8", DateStyle::IsoOnly},
    };
    for (const auto& [name, style] : cases) {
        setenv("LANG", name, 1);
        EXPECT_EQ(localeDateStyle(), style) << name;
    }
}

TEST_F(LocaleEnvironment, OverrideWinsOverTheEnvironment)
{
    setenv("LANG", "de_DE", 1);
    setDateStyleOverride(DateStyle::IsoOnly);
    double value = 0.0;
    EXPECT_FALSE(parseDateTime("12.5.2024", value));
    clearDateStyleOverride();
    EXPECT_TRUE(parseDateTime("12.5.2024", value));
    EXPECT_EQ(value, 45424.0);
}
