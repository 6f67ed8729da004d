#include "cli/DbCompareCommand.h"
#include "cli/DbObjectsCommand.h"
#include "cli/DbWatchCommand.h"
#include "db/StandInFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <sstream>

namespace {

const char* const kCyrillicPassword = "\xD0\xBF\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C"; // "пароль"
const char* const kCyrillicUser = "\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80";                      // "Петр"

using Command = std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)>;

struct Case {
    const char* name;
    Command run;
    std::vector<const char*> passwordVariables;
    const char* suffix;  // of the first database's connection options
    const char* refusal; // how the refusal of the password starts on stderr
};

int watchOnce(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::atomic<bool> stop{true};
    return runDbWatch(args, out, err, stop);
}

} // namespace

// A user name or password the OEM code page cannot hold is refused by every database command
// before it logs in: turned into "?" it would log in as the stand-in user whose password is
// "??????".
TEST(DbCredentials, EveryDatabaseCommandRefusesWhatTheOemCodePageCannotHold)
{
    const Case cases[] = {
        {"db-objects", runDbObjects, {"QUELLIX_DB_PASSWORD"}, "", "quellix-cli db-objects: the password holds"},
        {"db-compare", runDbCompare, {"QUELLIX_DB1_PASSWORD", "QUELLIX_DB2_PASSWORD"}, "1",
         "quellix-cli db-compare: database 1: the password holds"},
        {"db-watch", watchOnce, {"QUELLIX_DB_PASSWORD"}, "", "quellix-cli db-watch: the password holds"},
    };
    StandInFolder folder;
    const std::string database = folder.createDatabase("nav.db", sampleExport());
    ASSERT_EQ(folder.admin({"add-user", database, "ADMIN"}, nullptr, "??????"), 0);
    for (const Case& c : cases) {
        std::vector<std::string> args;
        for (const std::string& suffix : {std::string(c.suffix), std::string(*c.suffix ? "2" : "")}) {
            for (const std::string& option : std::vector<std::string>{"--server", database, "--net", "lokal",
                                                                   "--program-path", folder.programPath(), "--user",
                                                                   "ADMIN"})
                args.push_back(option.rfind("--", 0) == 0 ? option + suffix : option);
            if (suffix.empty())
                break;
        }
        for (const char* variable : c.passwordVariables)
            setenv(variable, "??????", 1);
        std::ostringstream out, err;
        EXPECT_EQ(c.run(args, out, err), 0) << c.name << ": " << err.str();

        setenv(c.passwordVariables.front(), kCyrillicPassword, 1);
        out.str("");
        err.str("");
        EXPECT_EQ(c.run(args, out, err), 1) << c.name;
        EXPECT_EQ(err.str().rfind(c.refusal, 0), 0u) << c.name << ": " << err.str();
        EXPECT_NE(err.str().find("U+043F, which the OEM code page 850 of C/FRONT cannot hold\n"), std::string::npos)
            << err.str();
        EXPECT_EQ(out.str(), "") << c.name;

        setenv(c.passwordVariables.front(), "??????", 1);
        args[args.size() - 1] = kCyrillicUser;
        err.str("");
        EXPECT_EQ(c.run(args, out, err), 1) << c.name;
        EXPECT_NE(err.str().find("the user name holds the character U+041F"), std::string::npos) << err.str();
        for (const char* variable : c.passwordVariables)
            unsetenv(variable);
    }
}
