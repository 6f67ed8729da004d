// cfront-db import on the date and time forms of real exports: every value kept, the order of
// day and month decided per file or refused, unreadable values named or counted.
#include "db/StandInFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace {

struct Property {
    std::string date; // the text after "Date="
    std::string time; // the text after "Time="
};

// An export of Codeunits 1..n with the given Date and Time properties, CR LF line ends.
std::string exportWith(const std::vector<Property>& properties)
{
    std::string text;
    for (size_t i = 0; i < properties.size(); ++i) {
        text += "OBJECT Codeunit " + std::to_string(i + 1) + " Unit " + std::to_string(i + 1) + "\r\n{\r\n";
        text += "  OBJECT-PROPERTIES\r\n  {\r\n    Date=" + properties[i].date + ";\r\n    Time=" +
                properties[i].time + ";\r\n  }\r\n  PROPERTIES\r\n  {\r\n  }\r\n}\r\n\r\n";
    }
    return text;
}

// "date\ttime" of every object of `cfront-db objects`, in order.
std::vector<std::string> storedDatesAndTimes(const StandInFolder& folder, const std::string& database)
{
    std::string listing;
    folder.admin({"objects", database}, &listing);
    std::istringstream lines(listing);
    std::vector<std::string> values;
    std::string line;
    std::getline(lines, line); // heading
    while (std::getline(lines, line)) {
        std::vector<std::string> cells;
        std::istringstream cellStream(line);
        for (std::string cell; std::getline(cellStream, cell, '\t');)
            cells.push_back(cell);
        values.push_back(cells.at(4) + "\t" + cells.at(5));
    }
    return values;
}

class ExportImportTest : public ::testing::Test {
protected:
    // Imports properties into a new database; returns cfront-db's exit status.
    int import(const std::vector<Property>& properties, std::vector<std::string> options = {})
    {
        folder.writeFile("export.txt", exportWith(properties));
        database = folder.file("nav" + std::to_string(++count) + ".db");
        EXPECT_EQ(folder.admin({"create", database}), 0);
        std::vector<std::string> args{"import", database, folder.file("export.txt")};
        args.insert(args.end(), options.begin(), options.end());
        return folder.admin(args, &output, "", &errors);
    }

    StandInFolder folder;
    std::string database;
    std::string output;
    std::string errors;
    int count = 0;
};

std::string twoDigits(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

TEST_F(ExportImportTest, DayFirstSlashDatesAndTwelveHourTimesKeepEveryValue)
{
    std::vector<Property> properties;
    std::vector<std::string> expected;
    for (int i = 0; i < 240; ++i) {
        int day = 1 + i % 28, month = 1 + i % 12, year = (80 + (i * 7) % 46) % 100, hour = i % 24, minute = i % 60;
        int shown = hour % 12 == 0 ? 12 : hour % 12; // 12-hour clock: 12 AM is midnight, 12 PM noon
        std::string time = std::to_string(shown) + ":" + twoDigits(minute) + ":" + twoDigits(59 - minute) +
                           (hour < 12 ? " AM" : " PM");
        properties.push_back({twoDigits(day) + "/" + twoDigits(month) + "/" + twoDigits(year),
                              shown < 10 ? "[ " + time + "]" : time});
        expected.push_back(std::to_string(year < 30 ? 2000 + year : 1900 + year) + "-" + twoDigits(month) + "-" +
                           twoDigits(day) + "\t" + twoDigits(hour) + ":" + twoDigits(minute) + ":" +
                           twoDigits(59 - minute));
    }
    ASSERT_EQ(import(properties), 0) << errors;
    EXPECT_EQ(output, "240 objects imported\n");
    EXPECT_EQ(errors, "");
    EXPECT_EQ(storedDatesAndTimes(folder, database), expected);
}

TEST_F(ExportImportTest, RealDateFormsAndEmptyValues)
{
    // Month first: one second part above 12 decides the file; dashes and four-digit years too.
    ASSERT_EQ(import({{"01/21/14", "10:06:14 PM"}, {"09/06/18", "12:00:00 PM"}, {"12/31/2099", "12:00:00 AM"},
                      {"05.07.23", "04:59:48"}, {"2023-07-05", "4:59:48"}, {"", ""}, {"01.01.30", "[ 4:41:14 PM]"},
                      {"31.12.29", "23:59:59.5"}}),
              0)
        << errors;
    EXPECT_EQ(storedDatesAndTimes(folder, database),
              (std::vector<std::string>{"2014-01-21\t22:06:14", "2018-09-06\t12:00:00", "2099-12-31\t00:00:00",
                                        "2023-07-05\t04:59:48", "2023-07-05\t04:59:48", "\t",
                                        "1930-01-01\t16:41:14", "2029-12-31\t23:59:59"}));
    EXPECT_EQ(errors, "");

    ASSERT_EQ(import({{"17-12-21", ""}, {"08-06-01", ""}}, {"--date-order", "ymd"}), 0) << errors;
    EXPECT_EQ(storedDatesAndTimes(folder, database), (std::vector<std::string>{"2017-12-21\t", "2008-06-01\t"}));
}

TEST_F(ExportImportTest, UndecidableOrderIsRefusedNamingTwoLinesAndTheOption)
{
    ASSERT_EQ(import({{"09/06/18", ""}, {"09/06/18", ""}, {"03/04/19", ""}}), 1);
    EXPECT_NE(errors.find("line 5 \"Date=09/06/18;\""), std::string::npos) << errors;
    EXPECT_NE(errors.find("line 29 \"Date=03/04/19;\""), std::string::npos) << errors;
    EXPECT_NE(errors.find("--date-order"), std::string::npos) << errors;
    EXPECT_TRUE(storedDatesAndTimes(folder, database).empty());

    ASSERT_EQ(import({{"13/01/20", ""}, {"01/13/20", ""}}), 1); // day first and month first in one file
    EXPECT_NE(errors.find("line 5 "), std::string::npos) << errors;
    EXPECT_NE(errors.find("line 17 "), std::string::npos) << errors;

    ASSERT_EQ(import({{"09/06/18", ""}, {"03/04/19", ""}}, {"--date-order", "mdy"}), 0) << errors;
    EXPECT_EQ(storedDatesAndTimes(folder, database), (std::vector<std::string>{"2018-09-06\t", "2019-03-04\t"}));
    EXPECT_EQ(import({{"09/06/18", ""}}, {"--date-order", "myd"}), 2);
}

TEST_F(ExportImportTest, AnOrderIsRuledOutByADateItReadsAfterTodayOrBefore1980)
{
    struct Case {
        std::vector<Property> dates;
        std::vector<std::string> stored; // empty: refused, naming what follows
        std::vector<std::string> named;
    };
    const Case cases[] = {
        // Day first would be 2029-06-15, month first has no month 15: year first.
        {{{"15-06-29", ""}, {"15-07-01", ""}}, {"2015-06-29\t", "2015-07-01\t"}, {}},
        // Year first would be 1931-01-12.
        {{{"31-01-12", ""}, {"05-06-07", ""}}, {"2012-01-31\t", "2007-06-05\t"}, {}},
        {{{"21-12-17", ""}, {"01-06-08", ""}},
         {},
         {"line 5 \"Date=21-12-17;\" and line 17 \"Date=01-06-08;\" read as day first and as year first"}},
        {{{"15-06-29", ""}, {"28-01-20", ""}},
         {},
         {"line 5 \"Date=15-06-29;\" is year first, line 17 \"Date=28-01-20;\" day first",
          "day first is ruled out by line 5 \"Date=15-06-29;\", which it reads as 2029-06-15, later than today",
          "year first is ruled out by line 17 \"Date=28-01-20;\", which it reads as 2028-01-20, later than today"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dates[0].date + " " + c.dates[1].date);
        ASSERT_EQ(import(c.dates), c.stored.empty() ? 1 : 0) << errors;
        EXPECT_EQ(storedDatesAndTimes(folder, database), c.stored);
        for (const std::string& text : c.named)
            EXPECT_NE(errors.find(text), std::string::npos) << errors;
    }
}

TEST_F(ExportImportTest, UnreadableValuesFailTheRunNamingObjectAndLineUnlessLenient)
{
    std::vector<Property> properties{{"14.07.03", "12:00:00"}, {"31.02.20", "12:00:00"}, {"14.07.03", "25:00:00"},
                                     {"14.07.03", "13:00:00 PM"}};
    ASSERT_EQ(import(properties), 1);
    EXPECT_NE(errors.find("line 17: Codeunit 2 Unit 2: date \"31.02.20\" cannot be read"), std::string::npos)
        << errors;
    EXPECT_NE(errors.find("line 30: Codeunit 3 Unit 3: time \"25:00:00\""), std::string::npos) << errors;
    EXPECT_NE(errors.find("line 42: Codeunit 4 Unit 4: time \"13:00:00 PM\""), std::string::npos) << errors;
    EXPECT_TRUE(storedDatesAndTimes(folder, database).empty()); // nothing imported

    ASSERT_EQ(import(properties, {"--lenient"}), 0);
    EXPECT_EQ(errors.find("line 17"), std::string::npos) << errors;
    EXPECT_NE(errors.find("3 dates or times could not be read"), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(storedDatesAndTimes(folder, database),
              (std::vector<std::string>{"2003-07-14\t12:00:00", "\t12:00:00", "2003-07-14\t", "2003-07-14\t"}));
}

} // namespace
