#include "cli/DbObjectsCommand.h"
#include "db/StandInFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <sstream>

namespace {

class DbObjectsCommandTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("QUELLIX_DB_PASSWORD", "geheim", 1); }
    void TearDown() override { unsetenv("QUELLIX_DB_PASSWORD"); }

    int run(const std::vector<std::string>& args)
    {
        out.str("");
        err.str("");
        return runDbObjects(args, out, err);
    }

    StandInFolder folder;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(DbObjectsCommandTest, PrintsTheObjectTableInUtf8)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    ASSERT_EQ(run({"--server", database, "--net", "lokal", "--program-path", folder.programPath()}), 0) << err.str();
    EXPECT_EQ(out.str(), "Type\tID\tName\tVersion\tDate\tTime\t\n"
                         "Table\t18\tCustomer\tNAVW14.00\t2003-07-14\t12:00:00\t\n"
                         "Form\t21\tKunde \xC3\x9C" "bersicht \xC3\xA4\xC3\xB6\xC3\xBC\tNAVW13.70,M\xC3\xA4rz\t"
                         "1995-02-01\t09:30:05\t\n"
                         "Codeunit\t80\tSales-Post\t\t2029-12-31\t23:59:59\t\n"
                         "\t6000\tExport Items\t\t2004-02-29\t00:00:00\t\n");
    EXPECT_EQ(err.str(), "");

    // The same rows as one JSON document.
    ASSERT_EQ(run({"--server", database, "--net", "lokal", "--program-path", folder.programPath(), "--format", "json"}),
              0);
    nlohmann::json doc = nlohmann::json::parse(out.str());
    EXPECT_EQ(doc["command"], "db-objects");
    EXPECT_EQ(doc["columns"][5], "Time");
    ASSERT_EQ(doc["rows"].size(), 4u);
    EXPECT_EQ(doc["rows"][1][2], "Kunde \xC3\x9C" "bersicht \xC3\xA4\xC3\xB6\xC3\xBC");
    EXPECT_EQ(doc["rows"][3][1], "6000");
    EXPECT_EQ(run({"--server", database, "--format", "xml"}), 2);
}

TEST_F(DbObjectsCommandTest, RefusedLoginEndsWithOneLineAndStatusOne)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    ASSERT_EQ(folder.admin({"add-user", database, "ADMIN"}, nullptr, "anders"), 0);
    EXPECT_EQ(run({"--server", database, "--net", "lokal", "--user", "admin", "--program-path",
                   folder.programPath()}), 1);
    EXPECT_EQ(err.str(), "quellix-cli db-objects: Login nicht ok\n");
    EXPECT_EQ(out.str(), "");

    setenv("QUELLIX_DB_PASSWORD", "anders", 1);
    EXPECT_EQ(run({"--server", database, "--net", "lokal", "--user", "admin", "--program-path",
                   folder.programPath()}), 0);
}

TEST_F(DbObjectsCommandTest, MissingLibraryAndBadArguments)
{
    EXPECT_EQ(run({"--server", "x", "--program-path", folder.file("nowhere")}), 1);
    EXPECT_EQ(err.str(), "quellix-cli db-objects: CFront File access error: " + folder.file("nowhere") +
                             "/cfront/cfront.so not existing\n");
    EXPECT_EQ(run({"--net", "lokal"}), 2);
    EXPECT_EQ(run({"--server", "x", "--password", "visible"}), 2);
    EXPECT_EQ(run({"--server"}), 2);
}

TEST_F(DbObjectsCommandTest, ReadErrorsAndConversionErrorsGoToStderr)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    runSql(database, "UPDATE object SET date = 20240230 WHERE id = 18");
    ASSERT_EQ(run({"--server", database, "--net", "lokal", "--program-path", folder.programPath()}), 0) << err.str();
    EXPECT_EQ(out.str().rfind("Type\tID\tName\tVersion\tDate\tTime\t\nTable\t18\t", 0), 0u) << out.str();
    EXPECT_EQ(out.str().find("conversion"), std::string::npos);
    EXPECT_EQ(err.str(), "DATE conversion \nError !!\n");

    runSql(database, "ALTER TABLE object RENAME TO object_old");
    EXPECT_EQ(run({"--server", database, "--net", "lokal", "--program-path", folder.programPath()}), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("object"), std::string::npos) << err.str();
}

} // namespace
