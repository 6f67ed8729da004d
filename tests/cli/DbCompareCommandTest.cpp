#include "cli/DbCompareCommand.h"
#include "db/StandInFolder.h"
#include "support/CompareExports.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <sstream>

namespace {

class DbCompareCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("QUELLIX_DB1_PASSWORD", "", 1);
        setenv("QUELLIX_DB2_PASSWORD", "", 1);
        database1 = folder.createDatabase("one.db", compareexports::exportOf(1));
        database2 = folder.createDatabase("two.db", compareexports::exportOf(2));
    }
    void TearDown() override
    {
        unsetenv("QUELLIX_DB1_PASSWORD");
        unsetenv("QUELLIX_DB2_PASSWORD");
    }

    std::vector<std::string> arguments(const std::string& server1, const std::string& server2)
    {
        return {"--server1", server1, "--net1", "lokal", "--program-path1", folder.programPath(),
                "--server2", server2, "--net2", "lokal", "--program-path2", folder.programPath()};
    }
    int run(const std::vector<std::string>& args)
    {
        out.str("");
        err.str("");
        return runDbCompare(args, out, err);
    }

    StandInFolder folder;
    std::string database1;
    std::string database2;
    std::ostringstream out;
    std::ostringstream err;
};

std::string listText(const std::vector<std::string>& rows)
{
    std::string text;
    for (const std::string& row : rows)
        text += row + "\t\n";
    return text;
}

TEST_F(DbCompareCommandTest, TwoDatabasesFromTwoExportsGiveTheExpectedRows)
{
    ASSERT_EQ(run(arguments(database1, database2)), 0) << err.str();
    EXPECT_EQ(out.str(), listText(compareexports::expectedRows()));
    EXPECT_EQ(err.str(), "");
}

TEST_F(DbCompareCommandTest, JsonHoldsTheRowsOfTheTsvCellForCellAndSarifIsRefused)
{
    std::vector<std::string> args = arguments(database1, database2);
    args.insert(args.end(), {"--format", "json"});
    ASSERT_EQ(run(args), 0) << err.str();
    nlohmann::json doc = nlohmann::json::parse(out.str());
    EXPECT_EQ(doc["command"], "db-compare");
    EXPECT_EQ(doc["databases"], nlohmann::json::array({database1, database2}));
    std::vector<std::vector<std::string>> tsv;
    for (const std::string& line : compareexports::expectedRows()) {
        std::vector<std::string> cells;
        size_t start = 0;
        for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
            cells.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        cells.push_back(line.substr(start));
        tsv.push_back(cells);
    }
    ASSERT_EQ(doc["rows"].size() + 1, tsv.size());
    EXPECT_EQ(doc["columns"].get<std::vector<std::string>>(), tsv[0]);
    for (size_t r = 0; r < doc["rows"].size(); ++r)
        EXPECT_EQ(doc["rows"][r].get<std::vector<std::string>>(), tsv[r + 1]) << "row " << r;

    for (const char* bad : {"sarif", "xml"}) {
        std::vector<std::string> refused = arguments(database1, database2);
        refused.insert(refused.end(), {"--format", bad});
        EXPECT_EQ(run(refused), 2) << bad;
        EXPECT_NE(err.str().find("--format needs tsv or json"), std::string::npos) << err.str();
    }
    args.push_back("--ansi");
    EXPECT_EQ(run(args), 2);
    EXPECT_EQ(out.str(), "");
}

TEST_F(DbCompareCommandTest, AllTypesNamesXmlportsAndReadsPages)
{
    std::vector<std::string> args = arguments(database1, database2);
    args.push_back("--all-types");
    ASSERT_EQ(run(args), 0) << err.str();
    EXPECT_NE(out.str().find("Different\tXMLport\t6000\tExport Items\t"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("\nNew\tPage\t21\tCustomer Card\tNAVW17.00\t\t2023-07-05\t-9999\t"), std::string::npos)
        << out.str();
    EXPECT_EQ(out.str().find("\t\t6000\t"), std::string::npos);
}

TEST_F(DbCompareCommandTest, ADatabaseComparedWithItselfGivesOnlyTheHeading)
{
    ASSERT_EQ(run(arguments(database2, database2)), 0) << err.str();
    EXPECT_EQ(out.str(), listText({compareexports::expectedRows()[0]}));
}

TEST_F(DbCompareCommandTest, ObjectsChangedWithCfrontDbSetShowTheirDateDifference)
{
    std::string copy = folder.createDatabase("copy.db", compareexports::exportOf(1));
    ASSERT_EQ(folder.admin({"set", copy, "Table", "50100", "--date", "2023-06-30"}), 0);
    ASSERT_EQ(folder.admin({"set", copy, "Table", "50101", "--date", "2.7.2023"}), 0);
    ASSERT_EQ(folder.admin({"set", copy, "Table", "50102", "--time", "14:00:01"}), 0);
    ASSERT_EQ(run(arguments(database1, copy)), 0) << err.str();
    EXPECT_EQ(out.str(), listText({compareexports::expectedRows()[0],
                                   "Different\tTable\t50100\tShared 50100\tQLX1.00\t2023-07-01\t2023-06-30\t1\t"
                                   "14:00:00\t14:00:00\tShared 50100\tShared 50100\tQLX1.00\tQLX1.00",
                                   "Different\tTable\t50101\tShared 50101\tQLX1.00\t2023-07-01\t2023-07-02\t-1\t"
                                   "14:00:00\t14:00:00\tShared 50101\tShared 50101\tQLX1.00\tQLX1.00",
                                   "Different\tTable\t50102\tShared 50102\tQLX1.00\t2023-07-01\t2023-07-01\t0\t"
                                   "14:00:00\t14:00:01\tShared 50102\tShared 50102\tQLX1.00\tQLX1.00"}));
}

TEST_F(DbCompareCommandTest, AnUnreadableDatabaseEndsWithStatusOneAndNoList)
{
    ASSERT_EQ(folder.admin({"add-user", database2, "ADMIN"}, nullptr, "anders"), 0);
    std::vector<std::string> args = arguments(database1, database2);
    args.insert(args.end(), {"--user2", "admin"});
    EXPECT_EQ(run(args), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "quellix-cli db-compare: database 2: Login nicht ok\n");

    setenv("QUELLIX_DB2_PASSWORD", "anders", 1);
    EXPECT_EQ(run(args), 0) << err.str();
    EXPECT_EQ(out.str(), listText(compareexports::expectedRows()));
}

TEST_F(DbCompareCommandTest, ADatabaseWithoutItsObjectTableEndsWithStatusOneAndNoList)
{
    runSql(database1, "DROP TABLE object");
    EXPECT_EQ(run(arguments(database1, database2)), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str().rfind("quellix-cli db-compare: database 1: ", 0), 0u) << err.str();
    EXPECT_NE(err.str().find("object"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find("database 2"), std::string::npos) << err.str();
}

TEST_F(DbCompareCommandTest, BothFailuresAreReported)
{
    std::vector<std::string> args = arguments(database1, database2);
    args[5] = folder.file("nowhere"); // database 1's program path has no library
    args[7] = "NOSERVER";              // database 2 names a server the stand-in does not know
    args[9] = "tcp";
    EXPECT_EQ(run(args), 1);
    EXPECT_EQ(out.str(), "");
    const std::string missing = "quellix-cli db-compare: database 1: CFront File access error: " +
                                folder.file("nowhere") + "/cfront/cfront.so not existing\n";
    const std::string refused = "quellix-cli db-compare: database 2: Login nicht ok\n";
    EXPECT_EQ(err.str().rfind(missing, 0), 0u) << err.str();
    ASSERT_GE(err.str().size(), refused.size());
    EXPECT_EQ(err.str().substr(err.str().size() - refused.size()), refused) << "the library's reason may come first";
}

TEST_F(DbCompareCommandTest, BadArgumentsAreUsageErrors)
{
    EXPECT_EQ(run({"--server1", database1}), 2);
    EXPECT_NE(err.str().find("--server2 is missing"), std::string::npos);
    EXPECT_EQ(run({"--server2", database2}), 2);
    EXPECT_EQ(run({"--server1", "a", "--server2", "b", "--password1", "visible"}), 2);
    EXPECT_EQ(run({"--server1", "a", "--server2"}), 2);
    EXPECT_EQ(run({"--server3", "a"}), 2);
    EXPECT_EQ(out.str(), "");
}

} // namespace
