// cfront-db as the views' tests drive it: strict arguments, objects set and deleted, stamped
// times read back in the reader's time zone, and sessions held open with moving counters.
#include "db/CFrontLibrary.h"
#include "db/StandInFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <sstream>
#include <thread>

namespace {

// The line of `cfront-db objects` for an object ("Type\tID\t..."), or "" when it is missing.
std::string objectLine(const StandInFolder& folder, const std::string& database, const std::string& prefix)
{
    std::string listing;
    folder.admin({"objects", database}, &listing);
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return line;
    }
    return "";
}

// Sets TZ for this process and the programs it starts; the destructor restores it.
class TimeZone {
public:
    explicit TimeZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (m_old)
            setenv("TZ", m_old->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> m_old;
};

TEST(AdminTool, NumbersAndTypesAreTakenOnlyWhole)
{
    StandInFolder folder;
    std::string database = folder.createDatabase("nav.db", sampleExport());
    for (auto [type, id] : {std::pair{"1abc", "18"}, {"Table", "18x"}, {"Table", " 18"}, {"Table", "+18"},
                            {"Table", "18.0"}, {"Table", "1e3"}, {"10", "18"}, {"0", "18"}, {"Tables", "18"},
                            {"", "18"}, {"Table", ""}, {"Table", "-18"}, {"Table", "99999999999"}})
        EXPECT_EQ(folder.admin({"touch", database, type, id}), 2) << type << " " << id;
    EXPECT_EQ(objectLine(folder, database, "Table\t18\t"), "Table\t18\tCustomer\tNAVW14.00\t2003-07-14\t12:00:00\tYes");

    EXPECT_EQ(folder.admin({"touch", database, "table", "18"}), 0);
    EXPECT_EQ(folder.admin({"touch", database, "2", "21"}), 0);
    EXPECT_EQ(folder.admin({"touch", database, "Table", "19"}), 1); // no such object
    EXPECT_EQ(objectLine(folder, database, "Table\t18\t").find("2003-07-14"), std::string::npos);

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"session", database, "U", "--hold", "1.5"},
          {"session", database, "U", "--hold", "1", "--reads", "-1"},
          {"session", database, "U"},
          {"set", database, "Table", "18", "--date", "31.02.2024"},
          {"set", database, "Table", "18", "--time", "25:00:00"},
          {"set", database, "Table", "18", "--colour", "red"},
          {"delete", database, "Table"},
          {"--oem", "852", "objects", database}})
        EXPECT_EQ(folder.admin(args), 2) << args[0] << " " << args.back();
}

TEST(AdminTool, SetAddsAndChangesObjectsAndDeleteRemovesThem)
{
    StandInFolder folder;
    std::string database = folder.createDatabase("nav.db", sampleExport());
    ASSERT_EQ(folder.admin({"set", database, "Page", "21", "--name", "Kundenkarte \xC3\x84", "--version",
                            "NAVW17.00", "--date", "2024-05-06", "--time", "7:08:09"}), 0);
    EXPECT_EQ(objectLine(folder, database, "Page\t21\t"),
              "Page\t21\tKundenkarte \xC3\x84\tNAVW17.00\t2024-05-06\t07:08:09\tNo");

    ASSERT_EQ(folder.admin({"set", database, "Table", "18", "--name", "Debitor"}), 0);
    EXPECT_EQ(objectLine(folder, database, "Table\t18\t"), "Table\t18\tDebitor\tNAVW14.00\t2003-07-14\t12:00:00\tYes");
    ASSERT_EQ(folder.admin({"set", database, "Table", "18", "--date", "6.5.2024"}), 0);
    EXPECT_EQ(objectLine(folder, database, "Table\t18\t"), "Table\t18\tDebitor\tNAVW14.00\t2024-05-06\t12:00:00\tYes");
    ASSERT_EQ(folder.admin({"set", database, "Table", "18", "--date", "", "--time", ""}), 0);
    EXPECT_EQ(objectLine(folder, database, "Table\t18\t"), "Table\t18\tDebitor\tNAVW14.00\t\t\tYes");

    // A name the OEM code page cannot hold is refused, not stored with '?'.
    EXPECT_EQ(folder.admin({"set", database, "Table", "18", "--name", "\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80"}), 1);
    EXPECT_EQ(objectLine(folder, database, "Table\t18\t"), "Table\t18\tDebitor\tNAVW14.00\t\t\tYes");

    EXPECT_EQ(folder.admin({"delete", database, "Codeunit", "80"}), 0);
    EXPECT_EQ(objectLine(folder, database, "Codeunit\t80\t"), "");
    EXPECT_EQ(folder.admin({"delete", database, "Codeunit", "80"}), 1);
}

TEST(AdminTool, ChangedObjectsKeepTheirMomentAcrossTimeZonesAndDaylightSaving)
{
    StandInFolder folder;
    std::string database = folder.createDatabase("nav.db", sampleExport());
    {
        // Berlin, 30 minutes before summer time starts on 2024-03-31.
        TimeZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
        ASSERT_EQ(folder.admin({"set", database, "Codeunit", "80", "--date", "2024-03-31", "--time", "01:30:00"}), 0);
        ASSERT_EQ(folder.admin({"set", database, "Codeunit", "81", "--date", "2024-03-31", "--time", "03:30:00"}), 0);
        EXPECT_EQ(objectLine(folder, database, "Codeunit\t80\t"), "Codeunit\t80\tSales-Post\t\t2024-03-31\t01:30:00\tNo");
    }
    {
        TimeZone utc("UTC0");
        EXPECT_EQ(objectLine(folder, database, "Codeunit\t80\t"), "Codeunit\t80\tSales-Post\t\t2024-03-31\t00:30:00\tNo");
        EXPECT_EQ(objectLine(folder, database, "Codeunit\t81\t"), "Codeunit\t81\t\t\t2024-03-31\t01:30:00\tNo");
        // Values of an export carry no zone and stand as written.
        EXPECT_EQ(objectLine(folder, database, "Table\t18\t"), "Table\t18\tCustomer\tNAVW14.00\t2003-07-14\t12:00:00\tYes");
    }
    TimeZone tokyo("JST-9");
    CFrontLibrary& library = CFrontLibrary::instance();
    ASSERT_EQ(library.Load(folder.programPath()), 0);
    library.openDatabase(database);
    ASSERT_EQ(library.login("", ""), 1);
    cfront_table* table = library.openTable(CFRONT_TABLE_OBJECT);
    library.setFilter(table, 1, "5");
    library.setFilter(table, 11, ">=10:00:00", 30);
    cfront_record* record = library.newRecord(table);
    ASSERT_TRUE(library.findFirst(table, record)); // 09:30 and 10:30 in Tokyo: only Codeunit 81
    EXPECT_EQ(library.fieldInteger(table, record, 3), 81);
    EXPECT_EQ(library.dateToText(library.fieldInteger(table, record, 10)), "2024-03-31");
    EXPECT_EQ(library.timeToText(library.fieldInteger(table, record, 11)), "10:30:00");
    EXPECT_EQ(library.next(table, record), 0);
    library.closeTable(table);
    library.Unload();
}

// The counters of the one session row of the database, as the library delivers fields 10..14.
std::vector<int32_t> sessionCounters(const StandInFolder& folder, const std::string& database, std::string& user)
{
    CFrontLibrary& library = CFrontLibrary::instance();
    std::vector<int32_t> counters;
    if (library.Load(folder.programPath()) != 0)
        return counters;
    library.openDatabase(database);
    library.login("", "");
    cfront_table* table = library.openTable(CFRONT_TABLE_SESSION);
    cfront_record* record = library.newRecord(table);
    for (bool found = library.findFirst(table, record); found; found = library.next(table, record) == 1) {
        if (library.fieldText(table, record, 2) == "D")
            continue; // this reading's own session
        user = library.fieldText(table, record, 2);
        for (int32_t field = 10; field <= 14; ++field)
            counters.push_back(library.fieldInteger(table, record, field));
    }
    library.Unload();
    return counters;
}

TEST(AdminTool, HeldSessionStaysWhileItsCountersRiseAndLeavesAtTheEnd)
{
    StandInFolder folder;
    std::string database = folder.createDatabase("nav.db", sampleExport());
    std::string command = "CFRONT_DB_PASSWORD= " QUELLIX_BINARY_DIR "/cfront/cfront-db session '" + database +
                          "' 'M\xC3\xBCller' --hold 2 --reads 1000 --inserts 20 --deletes 10 --modifies 40";
    FILE* held = popen(command.c_str(), "r");
    ASSERT_NE(held, nullptr);
    char line[64] = {};
    ASSERT_NE(fgets(line, sizeof line, held), nullptr);
    EXPECT_EQ(std::string(line).substr(0, 8), "session ");

    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::string user;
    std::vector<int32_t> early = sessionCounters(folder, database, user);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    std::vector<int32_t> later = sessionCounters(folder, database, user);
    EXPECT_EQ(user, "DM\x81ller"); // OEM 850
    ASSERT_EQ(early.size(), 5u);
    ASSERT_EQ(later.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_GT(early[i], 0) << i;
        EXPECT_GT(later[i], early[i]) << i;
    }
    EXPECT_LT(later[0], 1000);
    EXPECT_EQ(pclose(held), 0);
    EXPECT_TRUE(sessionCounters(folder, database, user).empty());
}

} // namespace
