#include "db/CFrontLibrary.h"
#include "db/SessionWatch.h"
#include "db/StandInFolder.h"
#include "results/ResultList.h"

#include <gtest/gtest.h>

#include <fstream>
#include <csignal>
#include <functional>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A clock the test moves by hand, in local time.
class FakeClock : public IWatchClock {
public:
    std::time_t now() const override { return m_now; }
    void set(int year, int month, int day, int hours, int minutes, int seconds)
    {
        std::tm parts{};
        parts.tm_year = year - 1900;
        parts.tm_mon = month - 1;
        parts.tm_mday = day;
        parts.tm_hour = hours;
        parts.tm_min = minutes;
        parts.tm_sec = seconds;
        parts.tm_isdst = -1;
        m_now = std::mktime(&parts);
    }
    void advance(int seconds) { m_now += seconds; }

private:
    std::time_t m_now = 0;
};

// One object of a test export: header line and its date ("DD.MM.YYYY") and time.
struct TestObject {
    const char* header; // "Codeunit 80 Sales-Post"
    const char* date;
    const char* time;
    const char* version = "NAVW17.00";
};

std::string exportOf(std::initializer_list<TestObject> objects)
{
    std::string text;
    for (const TestObject& o : objects)
        text += std::string("OBJECT ") + o.header + "\r\n{\r\n  OBJECT-PROPERTIES\r\n  {\r\n    Date=" + o.date +
                ";\r\n    Time=" + o.time + ";\r\n    Version List=" + o.version + ";\r\n  }\r\n}\r\n\r\n";
    return text;
}

// Messages of the watch; onShow runs inside the "message box", as a timer message would.
class WatchMessages : public IMessageBoxes {
public:
    void show(const std::string& text, const std::string&, MessageIcon) override
    {
        shown.push_back(text);
        if (onShow)
            onShow();
    }
    std::vector<std::string> shown;
    std::function<void()> onShow;
};

class SessionWatchTest : public ::testing::Test {
protected:
    SessionWatchTest()
    {
        addChangedObjectColumns(objects);
        addSessionColumns(sessions);
    }

    // A database reached as server "NAV" over tcp, as the watch's form offers it.
    DatabaseConnection serve(const std::string& exportText, const std::string& name = "nav.db")
    {
        database = folder.createDatabase(name, exportText);
        folder.writeFile("cfront/servers", "NAV = " + database + "\n");
        return DatabaseConnection{"NAV", "tcp", "", "", "", folder.programPath()};
    }
    // Another program changes an object: cfront-db sets its date and time (local time).
    void change(const char* type, const char* id, const char* date, const char* time, const char* name,
                const char* version = "")
    {
        ASSERT_EQ(folder.admin({"set", database, type, id, "--date", date, "--time", time, "--name", name,
                                "--version", version}),
                  0);
    }
    std::vector<std::string> column(const CResultList& list, int c) const
    {
        std::vector<std::string> cells;
        for (int r = 0; r < list.GetRowCount(); ++r)
            cells.push_back(list.GetCellText(r, c));
        return cells;
    }

    StandInFolder folder;
    std::string database;
    CResultList objects;
    CResultList sessions;
    WatchMessages messages;
    FakeClock clock;
    std::ostringstream conversionLog;
    CSessionWatch watch{objects, sessions, messages, clock, conversionLog};
};

using Cells = std::vector<std::string>;

std::string isoDate(std::time_t t)
{
    std::tm parts{};
    localtime_r(&t, &parts);
    char text[16] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
}

TEST_F(SessionWatchTest, ChangeAfterStartIsReportedByTheNextRequestWithItsCells)
{
    CSystemWatchClock systemClock;
    CSessionWatch live(objects, sessions, messages, systemClock, conversionLog);
    DatabaseConnection connection = serve(exportOf({{"Codeunit 80 Sales-Post", "01.02.2003", "10:00:00"},
                                                     {"Table 18 Kunde \x9A" "bersicht", "01.02.2003", "10:00:00",
                                                      "M\x84rz"}}));
    ASSERT_TRUE(live.Start(connection));
    EXPECT_EQ(live.RequestChangedObjects(), 0);
    const std::time_t touchedBefore = std::time(nullptr);
    ASSERT_EQ(folder.admin({"touch", database, "Table", "18"}), 0);
    const std::time_t touchedAfter = std::time(nullptr);
    EXPECT_EQ(live.RequestChangedObjects(), 1);
    ASSERT_EQ(objects.GetRowCount(), 1);
    CResultRow row = objects.GetRow(0);
    ASSERT_EQ(row.cells.size(), 8u);
    EXPECT_EQ(Cells(row.cells.begin(), row.cells.begin() + 4), (Cells{"Table", "18", "", "Kunde \xDC" "bersicht"}));
    EXPECT_EQ(row.cells[6], "M\xE4rz");
    EXPECT_EQ(row.cells[7], "18"); // the table's DBM table number
    EXPECT_EQ(row.icon, 163);
    EXPECT_TRUE(row.cells[4] == isoDate(touchedAfter) || row.cells[4] == isoDate(touchedBefore)) << row.cells[4];
    EXPECT_EQ(row.cells[5].size(), 8u);
    EXPECT_EQ(conversionLog.str(), "");
    EXPECT_FALSE(CFrontLibrary::instance().isLoaded());
}

TEST_F(SessionWatchTest, LaterDayAtAnEarlierTimeIsReportedAndTheWatermarkIsInclusive)
{
    DatabaseConnection connection = serve(exportOf({{"Codeunit 1 Old", "01.01.2030", "08:00:00"}}));
    clock.set(2030, 1, 10, 12, 0, 0);
    ASSERT_TRUE(watch.Start(connection));
    change("Codeunit", "80", "2030-01-11", "08:00:00", "Later Day Earlier Time");
    change("Codeunit", "81", "2030-01-10", "12:00:00", "Same Second");
    change("Codeunit", "82", "2030-01-10", "11:59:59", "One Second Before");
    change("Codeunit", "83", "2030-01-09", "13:00:00", "Day Before Later Time");
    clock.set(2030, 1, 11, 9, 0, 0);
    EXPECT_EQ(watch.RequestChangedObjects(), 2);
    EXPECT_EQ(column(objects, WOC_ID), (Cells{"80", "81"}));
    EXPECT_EQ(column(objects, WOC_DATE), (Cells{"2030-01-11", "2030-01-10"}));
    EXPECT_EQ(column(objects, WOC_TIME), (Cells{"08:00:00", "12:00:00"}));

    clock.set(2030, 1, 11, 9, 0, 20);
    EXPECT_EQ(watch.RequestChangedObjects(), 0);
    EXPECT_EQ(objects.GetRowCount(), 2); // the list keeps everything reported since Start
}

TEST_F(SessionWatchTest, ChangeBetweenTheTwoRequestsOfAPeriodIsReportedNextPeriod)
{
    DatabaseConnection connection = serve(exportOf({{"Codeunit 1 Old", "01.01.2030", "08:00:00"}}));
    clock.set(2030, 1, 10, 12, 0, 0);
    watch.Start(connection);
    clock.set(2030, 1, 10, 12, 0, 20);
    EXPECT_EQ(watch.RequestChangedObjects(), 0);
    change("Codeunit", "80", "2030-01-10", "12:00:21", "Between");
    clock.set(2030, 1, 10, 12, 0, 22);
    EXPECT_TRUE(watch.RequestSessions());
    EXPECT_EQ(watch.lastRequestTime(), clock.now() - 2); // the sessions request leaves the watermark
    clock.set(2030, 1, 10, 12, 0, 40);
    EXPECT_EQ(watch.RequestChangedObjects(), 1);
    EXPECT_EQ(column(objects, WOC_ID), (Cells{"80"}));
    EXPECT_EQ(watch.lastRequestTime(), clock.now());
}

TEST_F(SessionWatchTest, ObjectsWithTypeCodesOutsideOneToFiveNeverShow)
{
    DatabaseConnection connection = serve(exportOf({{"Codeunit 1 Old", "01.01.2030", "08:00:00"}}));
    clock.set(2030, 1, 10, 12, 0, 0);
    watch.Start(connection);
    change("Page", "21", "2030-01-10", "13:00:00", "Customer Card");
    change("8", "22", "2030-01-10", "13:00:00", "Type Code Eight");
    change("XMLport", "6000", "2030-01-10", "13:00:00", "Export Items");
    change("MenuSuite", "10", "2030-01-10", "13:00:00", "Navigation");
    change("Query", "5", "2030-01-10", "13:00:00", "Sales");
    change("Report", "206", "2030-01-10", "13:00:00", "Invoice");
    clock.set(2030, 1, 10, 14, 0, 0);
    EXPECT_EQ(watch.RequestChangedObjects(), 1);
    EXPECT_EQ(column(objects, WOC_TYPE), (Cells{"Report"}));
    EXPECT_EQ(objects.GetIcon(0), 161);
}

TEST_F(SessionWatchTest, AnObjectIsListedAgainOnlyWhenItsDateOrTimeDiffersFromItsLastRow)
{
    DatabaseConnection connection = serve(exportOf({{"Codeunit 1 Old", "01.01.2030", "08:00:00"}}));
    clock.set(2030, 1, 10, 12, 0, 0);
    watch.Start(connection);
    change("Codeunit", "80", "2031-05-01", "10:00:00", "Dated In The Future");
    const int expected[] = {1, 0, 0};
    for (int added : expected) {
        clock.advance(20);
        EXPECT_EQ(watch.RequestChangedObjects(), added);
    }
    change("Codeunit", "80", "2031-05-01", "10:00:01", "Dated In The Future");
    clock.advance(20);
    EXPECT_EQ(watch.RequestChangedObjects(), 1);
    EXPECT_EQ(column(objects, WOC_TIME), (Cells{"10:00:00", "10:00:01"}));
}

TEST_F(SessionWatchTest, OtherTypesAndDeletedObjectsShowOnlyWhenAskedAndDeletionsOnce)
{
    struct Case {
        WatchScope scope;
        Cells firstRequest; // "Type ID Date" of the rows the first request adds
    };
    const Case cases[] = {
        {{false, false}, {}},
        {{true, false}, {"Page 22 2030-01-10"}},
        {{false, true}, {"Codeunit 1 deleted"}},
        {{true, true}, {"Page 22 2030-01-10", "Codeunit 1 deleted", "Page 21 deleted"}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        DatabaseConnection connection =
            serve(exportOf({{"Codeunit 1 Old", "01.01.2030", "08:00:00"}, {"Page 21 Card", "01.01.2030", "08:00:00"},
                            {"Table 18 Customer", "01.01.2030", "08:00:00"}}),
                  "nav" + std::to_string(++n) + ".db");
        clock.set(2030, 1, 10, 12, 0, 0);
        ASSERT_TRUE(watch.Start(connection, c.scope));
        change("Page", "22", "2030-01-10", "12:00:05", "New Card");
        ASSERT_EQ(folder.admin({"delete", database, "Codeunit", "1"}), 0);
        ASSERT_EQ(folder.admin({"delete", database, "Page", "21"}), 0);
        clock.set(2030, 1, 10, 12, 0, 20);
        EXPECT_EQ(watch.RequestChangedObjects(), static_cast<int>(c.firstRequest.size()));
        Cells rows;
        for (int r = 0; r < objects.GetRowCount(); ++r)
            rows.push_back(objects.GetCellText(r, WOC_TYPE) + " " + objects.GetCellText(r, WOC_ID) + " " +
                           objects.GetCellText(r, WOC_DATE));
        EXPECT_EQ(rows, c.firstRequest);
        clock.set(2030, 1, 10, 12, 0, 40);
        EXPECT_EQ(watch.RequestChangedObjects(), 0);
        watch.Stop("");
    }
}

TEST_F(SessionWatchTest, RefusedLoginReportsEveryRequestKeepsTheWatermarkAndSkipsTicksInsideItsBox)
{
    DatabaseConnection connection = serve(exportOf({{"Codeunit 1 Old", "01.01.2030", "08:00:00"}}));
    ASSERT_EQ(folder.admin({"add-user", database, "ADMIN"}, nullptr, "geheim"), 0);
    connection.user = "ADMIN";
    connection.password = "falsch";
    clock.set(2030, 1, 10, 12, 0, 0);
    watch.Start(connection);
    const std::time_t started = clock.now();
    std::vector<CSessionWatch::TickResult> inside;
    messages.onShow = [&] { inside.push_back(watch.Tick()); };
    clock.advance(20);
    EXPECT_EQ(watch.Tick(), CSessionWatch::TickResult::Ran);
    EXPECT_EQ(messages.shown, (Cells{"Login nicht ok", "Login nicht ok"}));
    EXPECT_EQ(inside, (std::vector<CSessionWatch::TickResult>(2, CSessionWatch::TickResult::Skipped)));
    EXPECT_EQ(watch.skippedTicks(), 2);
    EXPECT_EQ(watch.lastRequestTime(), started);
    EXPECT_FALSE(watch.requestRunning());
    EXPECT_FALSE(CFrontLibrary::instance().isLoaded());
}

// Overwrites the cell pointers of a table leaf page two thirds into the file, so a read that
// reaches it fails.
void corruptOnePage(const std::string& database)
{
    std::fstream file(database, std::ios::in | std::ios::out | std::ios::binary);
    file.seekg(0, std::ios::end);
    const long pageSize = 4096, pages = static_cast<long>(file.tellg()) / pageSize;
    for (long page = pages * 2 / 3; page < pages; ++page) {
        char type = 0;
        file.seekg(page * pageSize);
        file.get(type);
        if (type == 0x0D) { // a table leaf
            file.seekp(page * pageSize + 8);
            file << std::string(pageSize - 8, '\xFF');
            return;
        }
    }
    FAIL() << "no table leaf page in the last third of " << database;
}

TEST_F(SessionWatchTest, FailedReadIsShownAddsNothingAndKeepsTheWatermark)
{
    DatabaseConnection connection = serve(largeExport(3000)); // dated 14.07.03, 12:00:00
    clock.set(2003, 7, 14, 11, 0, 0);
    watch.Start(connection);
    const std::time_t started = clock.now();
    corruptOnePage(database);
    clock.advance(20);
    EXPECT_EQ(watch.RequestChangedObjects(), -1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].find("malformed"), std::string::npos) << messages.shown[0];
    EXPECT_EQ(watch.lastRequestTime(), started);
    EXPECT_EQ(objects.GetRowCount(), 0); // not the rows read before the damaged page
    EXPECT_FALSE(CFrontLibrary::instance().isLoaded());
}

TEST_F(SessionWatchTest, SessionsListHoldsOnlyTheLatestRequestsSessionsWithTheirCounters)
{
    DatabaseConnection connection = serve(exportOf({{"Codeunit 1 Old", "01.01.2030", "08:00:00"}}));
    connection.user = "WATCHER";
    HeldSession other(database, "OTHER", {"--hold", "30", "--reads", "30000", "--inserts", "3000", "--modifies",
                                          "300"});
    ASSERT_TRUE(other.started());

    watch.Start(connection);
    ASSERT_TRUE(watch.RequestSessions());
    EXPECT_EQ(column(sessions, 1), (Cells{"OTHER", "WATCHER"}));
    ASSERT_EQ(sessions.GetRow(0).cells.size(), 9u);
    EXPECT_EQ(sessions.GetIcon(0), -1);
    EXPECT_EQ(sessions.GetCellText(0, 7).size(), 10u); // login date and time as the library writes them
    EXPECT_EQ(sessions.GetCellText(0, 8).size(), 8u);
    const long found = std::stol(sessions.GetCellText(0, 2));
    usleep(1500 * 1000);
    ASSERT_TRUE(watch.RequestSessions());
    ASSERT_EQ(sessions.GetRowCount(), 2);
    EXPECT_GT(std::stol(sessions.GetCellText(0, 2)), found); // found records
    EXPECT_EQ(sessions.GetCellText(0, 3), sessions.GetCellText(0, 2)); // searched records follow found
    EXPECT_GT(std::stol(sessions.GetCellText(0, 4)), 0);                // inserted
    EXPECT_EQ(sessions.GetCellText(0, 5), "0");                         // deleted
    EXPECT_GT(std::stol(sessions.GetCellText(0, 6)), 0);                // modified

    other.end();
    ASSERT_TRUE(watch.RequestSessions());
    EXPECT_EQ(column(sessions, 1), (Cells{"WATCHER"}));
}

TEST_F(SessionWatchTest, StopAppendsTheLogInItsLineFormatAndStopWhenNotRunningWritesNothing)
{
    DatabaseConnection connection = serve(exportOf({{"Codeunit 1 Old", "01.01.2030", "08:00:00"}}));
    std::string log = folder.file("watch.log");
    folder.writeFile("watch.log", "earlier\r\n");
    EXPECT_FALSE(watch.Stop(log));
    std::ifstream unchanged(log, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(unchanged), {}), "earlier\r\n");

    clock.set(2030, 1, 10, 12, 0, 0);
    watch.Start(connection);
    change("Table", "18", "2030-01-10", "12:30:00", "Kunde \xC3\x9C" "bersicht", "NAVW17.00,M\xC3\xA4rz");
    change("Codeunit", "80", "2030-01-10", "12:31:00", "Sales-Post");
    clock.set(2030, 1, 10, 13, 0, 0);
    ASSERT_EQ(watch.RequestChangedObjects(), 2);
    clock.advance(5);
    bool written = false;
    EXPECT_TRUE(watch.Stop(log, &written));
    EXPECT_TRUE(written);
    EXPECT_FALSE(watch.running());
    EXPECT_EQ(watch.lastRequestTime(), clock.now());
    std::ifstream file(log, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}),
              "earlier\r\n"
              "Table\t18\t\tKunde \xDC" "bersicht\t2030-01-10\t\t12:30:00\tNAVW17.00,M\xE4rz\r\n"
              "Codeunit\t80\t\tSales-Post\t2030-01-10\t\t12:31:00\t\r\n");
    EXPECT_FALSE(watch.Stop(log));
    EXPECT_TRUE(watch.Start(connection));
    EXPECT_EQ(objects.GetRowCount(), 0); // Start empties the changed-objects list
}

TEST(SessionWatchTexts, FilterAndLastRequestTexts)
{
    std::tm parts{};
    parts.tm_year = 2026 - 1900;
    parts.tm_mon = 2;
    parts.tm_mday = 5;
    parts.tm_hour = 7;
    parts.tm_min = 4;
    parts.tm_sec = 9;
    parts.tm_isdst = -1;
    std::time_t t = std::mktime(&parts);
    EXPECT_EQ(CSessionWatch::dateFilterText(t), ">=05.03.2026");
    EXPECT_EQ(CSessionWatch::requestDateText(t), "Thursday, 05 March, 2026");
    EXPECT_EQ(CSessionWatch::requestTimeText(t), "07:04:09");
}

} // namespace
