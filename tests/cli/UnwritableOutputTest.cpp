// Every command whose standard output cannot be written (a full disk) ends with status 1 and one
// line on stderr, never with a success nobody could read.
#include "db/StandInFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

TEST(UnwritableOutput, EveryCommandReportsAFullDisk)
{
    StandInFolder folder;
    const std::string database = folder.createDatabase("nav.db", sampleExport());
    const std::string cli = QUELLIX_BINARY_DIR "/quellix-cli";
    const std::string cfrontDb = QUELLIX_BINARY_DIR "/cfront/cfront-db";
    const std::string connection = " --server '" + database + "' --net lokal --program-path '" +
                                   folder.programPath() + "'";
    const std::string commands[] = {
        cli + " --help",
        cli + " --version",
        cli + " db-objects" + connection,
        cli + " db-objects" + connection + " --format json",
        cli + " db-compare --server1 '" + database + "' --net1 lokal --program-path1 '" + folder.programPath() +
            "' --server2 '" + database + "' --net2 lokal --program-path2 '" + folder.programPath() + "'",
        cli + " db-watch" + connection + " --count 1 --interval 5",
        cfrontDb + " objects '" + database + "'",
        cfrontDb + " --version",
    };
    const std::string errors = folder.file("stderr");
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        const int raw = std::system(("QUELLIX_DB_PASSWORD= " + command + " > /dev/full 2> '" + errors + "' < /dev/null").c_str());
        ASSERT_TRUE(WIFEXITED(raw));
        EXPECT_EQ(WEXITSTATUS(raw), 1);
        std::ifstream in(errors);
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        EXPECT_NE(text.find("cannot write the output\n"), std::string::npos) << text;
    }
}
