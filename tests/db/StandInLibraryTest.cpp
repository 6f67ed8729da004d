// The stand-in C/FRONT library as the binding sees it: the operations of the table, the
// date and time texts, the filters and the answers to bad calls.
#include "db/CFrontLibrary.h"
#include "db/DatabaseSession.h"
#include "db/StandInFolder.h"

#include <gtest/gtest.h>

#include <ctime>
#include <regex>
#include <sstream>

namespace {

class StandInLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(library.Load(folder.programPath()), 0); }

    // Logs in to a new database with the sample objects.
    void logIn()
    {
        std::string database = folder.createDatabase("nav.db", sampleExport());
        library.openDatabase(database);
        ASSERT_EQ(library.login("", ""), 1);
    }

    // "type:id" of every object the table delivers under its current filters.
    std::string objectsFound(cfront_table* table)
    {
        cfront_record* record = library.newRecord(table);
        std::string found;
        if (library.findFirst(table, record)) {
            do {
                found += (found.empty() ? "" : " ") + std::to_string(library.fieldInteger(table, record, 1)) +
                         ":" + std::to_string(library.fieldInteger(table, record, 3));
            } while (library.next(table, record) == 1);
        }
        library.freeRecord(record);
        return found;
    }

    StandInFolder folder;
    CFrontLibrary& library = CFrontLibrary::instance();
};

TEST_F(StandInLibraryTest, EveryValidDateRoundTripsThroughItsIsoText)
{
    const std::regex iso("\\d{4}-\\d{2}-\\d{2}");
    for (int year : {1, 1600, 1899, 1900, 1999, 2000, 2003, 2024, 2100, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                int32_t date = year * 10000 + month * 100 + day;
                std::string text = library.dateToText(date);
                if (text.empty())
                    continue; // no such day
                EXPECT_TRUE(std::regex_match(text, iso)) << text;
                EXPECT_EQ(library.textToDate(text), date) << text;
            }
        }
    }
    EXPECT_EQ(library.dateToText(20030714), "2003-07-14");
    EXPECT_EQ(library.dateToText(20000229), "2000-02-29");
    EXPECT_EQ(library.dateToText(19000229), "");
    EXPECT_EQ(library.dateToText(0), "");
    EXPECT_EQ(library.textToDate(""), 0);
}

TEST_F(StandInLibraryTest, EverySecondOfTheDayRoundTripsThroughItsText)
{
    for (int32_t time = 1; time <= 86400; ++time)
        ASSERT_EQ(library.textToTime(library.timeToText(time)), time) << time;
    EXPECT_EQ(library.timeToText(1), "00:00:00");
    EXPECT_EQ(library.timeToText(86400), "23:59:59");
    EXPECT_EQ(library.timeToText(1 + 9 * 3600 + 30 * 60 + 5), "09:30:05");
    EXPECT_EQ(library.timeToText(0), "");
    EXPECT_EQ(library.textToTime(""), 0);
}

TEST_F(StandInLibraryTest, ValuesOutsideTheEncodingFailTheSessionsRoundTripCheck)
{
    MessageRecorder messages;
    std::ostringstream log;
    CDatabaseSession session(messages, log);
    EXPECT_EQ(session.checkedDateText(20240230), "");
    EXPECT_EQ(session.checkedTimeText(86401), "");
    EXPECT_EQ(session.checkedTimeText(-5), "");
    EXPECT_EQ(log.str(), "DATE conversion \nError !!\nTIME conversion \nError !!\nTIME conversion \nError !!\n");
    log.str("");
    EXPECT_EQ(session.checkedDateText(0), "");
    EXPECT_EQ(session.checkedTimeText(43201), "12:00:00");
    EXPECT_EQ(log.str(), "");
}

TEST_F(StandInLibraryTest, TextsThatAreNotTheWrittenFormsDoNotConvert)
{
    for (const char* text : {"14.07.2003", "2003-7-14", "2003-02-30", "20030714", " 2003-07-14", "2003-07-14 "})
        EXPECT_EQ(library.textToDate(text), 0) << text;
    for (const char* text : {"9:30:05", "24:00:00", "12:60:00", "12:00", "12:00:00.5"})
        EXPECT_EQ(library.textToTime(text), 0) << text;
    EXPECT_EQ(folder.lastError(), CFRONT_ERR_CONVERSION);
}

TEST_F(StandInLibraryTest, IntegerRangeFilterSelectsTypes)
{
    logIn();
    cfront_table* table = library.openTable(CFRONT_TABLE_OBJECT);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(objectsFound(table), "1:18 2:21 5:80 6:6000 7:10");
    library.setFilter(table, 1, "1..6");
    EXPECT_EQ(objectsFound(table), "1:18 2:21 5:80 6:6000");
    library.setFilter(table, 1, "5");
    EXPECT_EQ(objectsFound(table), "5:80");
    library.setFilter(table, 1, "");
    EXPECT_EQ(objectsFound(table), "1:18 2:21 5:80 6:6000 7:10");
    library.closeTable(table);
}

TEST_F(StandInLibraryTest, DateAndTimeFiltersActIndependently)
{
    logIn();
    cfront_table* table = library.openTable(CFRONT_TABLE_OBJECT);
    library.setFilter(table, 10, ">=14.07.2003", 30);
    EXPECT_EQ(objectsFound(table), "1:18 5:80 6:6000 7:10");
    library.setFilter(table, 11, ">=12:00:00", 30);
    EXPECT_EQ(objectsFound(table), "1:18 5:80"); // XMLport and MenuSuite: early times of day
    library.setFilter(table, 10, ">=01.01.2030", 30);
    library.allowError(CFRONT_ERR_RECORD_NOT_FOUND);
    EXPECT_EQ(objectsFound(table), "");
    EXPECT_EQ(folder.lastError(), CFRONT_OK);
    EXPECT_EQ(objectsFound(table), "");
    EXPECT_EQ(folder.lastError(), CFRONT_ERR_RECORD_NOT_FOUND); // no longer tolerated
    library.closeTable(table);
}

TEST_F(StandInLibraryTest, UnsupportedFiltersAreRejectedAndFindNothing)
{
    logIn();
    cfront_table* table = library.openTable(CFRONT_TABLE_OBJECT);
    for (auto [field, filter] : {std::pair{1, ">=1"}, {1, "1|2"}, {10, "14.07.2003"}, {10, ">=2003-07-14"},
                                 {11, ">=12:00"}, {4, "Customer"}, {1, "1..x"}}) {
        library.setFilter(table, field, filter);
        std::string reason;
        EXPECT_EQ(folder.lastError(&reason), CFRONT_ERR_FILTER) << filter;
        EXPECT_NE(reason.find(filter), std::string::npos) << reason;
        EXPECT_EQ(objectsFound(table), "") << filter;
        library.setFilter(table, field, "");
    }
    library.setFilter(table, 99, "1..6");
    EXPECT_EQ(folder.lastError(), CFRONT_ERR_UNKNOWN_FIELD);
    EXPECT_EQ(objectsFound(table), "1:18 2:21 5:80 6:6000 7:10");
    library.closeTable(table);
}

TEST_F(StandInLibraryTest, SessionTableShowsTheLoginWithItsUserDateAndTime)
{
    logIn();
    cfront_table* table = library.openTable(CFRONT_TABLE_OBJECT);
    objectsFound(table);
    library.closeTable(table); // writes the record counters of the session

    table = library.openTable(CFRONT_TABLE_SESSION);
    cfront_record* record = library.newRecord(table);
    ASSERT_TRUE(library.findFirst(table, record));
    EXPECT_GT(library.fieldInteger(table, record, 1), 0);
    EXPECT_EQ(library.fieldText(table, record, 2), "D");
    EXPECT_NE(library.dateToText(library.fieldInteger(table, record, 6)), "");
    EXPECT_NE(library.timeToText(library.fieldInteger(table, record, 5)), "");
    EXPECT_EQ(library.fieldInteger(table, record, 10), 5);
    EXPECT_EQ(library.fieldInteger(table, record, 11), 6);
    EXPECT_EQ(library.next(table, record), 0);
    library.freeRecord(record);
    library.closeTable(table);
}

TEST_F(StandInLibraryTest, NullAndUnknownHandlesGiveErrorResults)
{
    logIn();
    int notAHandle = 0;
    auto* fakeTable = reinterpret_cast<cfront_table*>(&notAHandle);
    auto* fakeRecord = reinterpret_cast<cfront_record*>(&notAHandle);
    for (cfront_table* table : {static_cast<cfront_table*>(nullptr), fakeTable}) {
        EXPECT_EQ(library.newRecord(table), nullptr);
        EXPECT_FALSE(library.findFirst(table, fakeRecord));
        EXPECT_EQ(library.next(table, nullptr), 0);
        EXPECT_EQ(library.fieldInteger(table, nullptr, 1), 0);
        EXPECT_EQ(library.fieldText(table, fakeRecord, 4), "");
        library.setFilter(table, 1, "1..6");
        library.closeTable(table);
        EXPECT_EQ(folder.lastError(), CFRONT_ERR_BAD_ARGUMENT);
    }
    library.freeRecord(fakeRecord);
    library.freeRecord(nullptr);
    EXPECT_EQ(folder.lastError(), CFRONT_ERR_BAD_ARGUMENT);

    cfront_table* table = library.openTable(CFRONT_TABLE_OBJECT);
    cfront_record* record = library.newRecord(table);
    EXPECT_EQ(library.fieldInteger(table, record, 1), 0); // nothing loaded yet
    EXPECT_EQ(library.next(table, record), 0);
    cfront_table* other = library.openTable(CFRONT_TABLE_SESSION);
    EXPECT_FALSE(library.findFirst(other, record)); // a record of another table
    EXPECT_EQ(folder.lastError(), CFRONT_ERR_BAD_ARGUMENT);
    library.closeTable(table);
    EXPECT_FALSE(library.findFirst(table, record)); // closing the table freed its records
    library.closeTable(other);
}

TEST_F(StandInLibraryTest, UnknownTablesAndCallsBeforeLoginFail)
{
    EXPECT_EQ(library.openTable(CFRONT_TABLE_OBJECT), nullptr);
    EXPECT_EQ(folder.lastError(), CFRONT_ERR_NOT_CONNECTED);
    EXPECT_EQ(library.login("u", "p"), 0);
    logIn();
    EXPECT_EQ(library.openTable(12345), nullptr);
    EXPECT_EQ(folder.lastError(), CFRONT_ERR_UNKNOWN_TABLE);
    EXPECT_EQ(library.openTable(2000000002), nullptr);
}

TEST_F(StandInLibraryTest, NullPointersAndSmallBuffersAreRefused)
{
    auto openTable = reinterpret_cast<cfront_open_table_fn>(folder.exported("cfront_ordinal_12"));
    auto textToDate = reinterpret_cast<cfront_text_to_value_fn>(folder.exported("cfront_ordinal_75"));
    auto dateToText = reinterpret_cast<cfront_value_to_text_fn>(folder.exported("cfront_ordinal_76"));
    auto login = reinterpret_cast<cfront_login_fn>(folder.exported("cfront_ordinal_52"));
    auto connect = reinterpret_cast<cfront_connect_fn>(folder.exported("cfront_ordinal_5"));
    ASSERT_TRUE(openTable && textToDate && dateToText && login && connect);
    EXPECT_EQ(openTable(nullptr, CFRONT_TABLE_OBJECT), 0);
    int32_t date = 1;
    EXPECT_EQ(textToDate(nullptr, nullptr), 0);
    EXPECT_EQ(textToDate(&date, nullptr), 0);
    EXPECT_EQ(date, 0);
    EXPECT_EQ(dateToText(nullptr, 50, 20030714), 0);
    char small[10] = "x";
    EXPECT_EQ(dateToText(small, sizeof small, 20030714), 0);
    EXPECT_STREQ(small, "");
    EXPECT_EQ(login(nullptr, nullptr), 0);
    EXPECT_EQ(connect(nullptr, nullptr), 0);
    EXPECT_EQ(folder.lastError(), CFRONT_ERR_BAD_ARGUMENT);
}

TEST_F(StandInLibraryTest, TouchedObjectIsFoundByTodaysDateFilter)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    ASSERT_EQ(folder.admin({"touch", database, "Form", "21"}), 0);
    EXPECT_NE(folder.admin({"touch", database, "Form", "22"}), 0);
    library.openDatabase(database);
    ASSERT_EQ(library.login("", ""), 1);
    std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    char filter[32];
    std::strftime(filter, sizeof filter, ">=%d.%m.%Y", &today);
    cfront_table* table = library.openTable(CFRONT_TABLE_OBJECT);
    library.setFilter(table, 10, filter, 30);
    EXPECT_EQ(objectsFound(table), "2:21 5:80"); // Codeunit 80 is dated 2029
    library.closeTable(table);
}

} // namespace
