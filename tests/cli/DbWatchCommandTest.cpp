#include "cli/DbWatchCommand.h"
#include "db/StandInFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Two objects last changed long ago.
const char* const kOldObjects = "OBJECT Table 18 Customer\r\n{\r\n  OBJECT-PROPERTIES\r\n  {\r\n"
                                "    Date=14.07.03;\r\n    Time=12:00:00;\r\n  }\r\n}\r\n\r\n"
                                "OBJECT Codeunit 80 Sales-Post\r\n{\r\n  OBJECT-PROPERTIES\r\n  {\r\n"
                                "    Date=01.02.05;\r\n    Time=08:00:00;\r\n  }\r\n}\r\n\r\n";

class DbWatchCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("QUELLIX_DB_PASSWORD", "", 1);
        database = folder.createDatabase("nav.db", kOldObjects);
        folder.writeFile("cfront/servers", "NAV = " + database + "\n");
    }
    void TearDown() override { unsetenv("QUELLIX_DB_PASSWORD"); }

    std::vector<std::string> serverArgs() const
    {
        return {"--server", "NAV", "--net", "tcp", "--program-path", folder.programPath()};
    }
    int run(std::vector<std::string> args)
    {
        out.str("");
        err.str("");
        return runDbWatch(args, out, err, stop);
    }
    std::string fileText(const std::string& name) const
    {
        std::ifstream file(folder.file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    StandInFolder folder;
    std::string database;
    std::ostringstream out;
    std::ostringstream err;
    std::atomic<bool> stop{false};
};

const char* const kObjectHeading = "Type\tID\tUser\tObject\tDate\tTime\tVersion\tDBM TableNo.\t\n";

TEST_F(DbWatchCommandTest, SignalEndsTheWatchAfterARowWasPrintedAndFlushedAndTheLogIsAppended)
{
    const std::string cli = QUELLIX_BINARY_DIR "/quellix-cli";
    const std::string path = folder.programPath();
    const std::string log = folder.file("watch.log");
    int output[2];
    ASSERT_EQ(pipe(output), 0);
    pid_t child = fork();
    if (child == 0) {
        dup2(output[1], STDOUT_FILENO);
        close(output[0]);
        execl(cli.c_str(), cli.c_str(), "db-watch", "--server", "NAV", "--net", "tcp", "--program-path",
              path.c_str(), "--interval", "5", "--log", log.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(output[1]);
    std::string printed;
    auto readFor = [&](int ms) {
        pollfd fd{output[0], POLLIN, 0};
        char buffer[4096];
        while (poll(&fd, 1, ms) > 0) {
            ssize_t n = read(output[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            printed.append(buffer, static_cast<size_t>(n));
            if (printed.find("Codeunit\t80") != std::string::npos && printed.back() == '\n')
                break;
        }
    };
    readFor(3000); // the heading, once the database was reached
    ASSERT_EQ(printed, kObjectHeading);
    ASSERT_EQ(folder.admin({"touch", database, "Codeunit", "80"}), 0);
    readFor(10000); // the row arrives while the program still runs: flushed per request
    ASSERT_NE(printed.find("\nCodeunit\t80\t\tSales-Post\t"), std::string::npos) << printed;
    EXPECT_EQ(printed.substr(printed.size() - 5), "\t\t0\t\n"); // empty version, DBM table number 0
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    close(output[0]);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::string logText = fileText("watch.log");
    EXPECT_EQ(logText.substr(0, 23), "Codeunit\t80\t\tSales-Post");
    EXPECT_EQ(logText.find("\t\n"), std::string::npos);
    EXPECT_EQ(logText.substr(logText.size() - 2), "\r\n");
}

TEST_F(DbWatchCommandTest, CountEndsTheWatchAndSessionsPrintTheirTableEachRequest)
{
    folder.writeFile("watch.log", "before\r\n");
    ASSERT_EQ(run([&] {
                  auto args = serverArgs();
                  args.insert(args.end(), {"--user", "WATCHER", "--interval", "5", "--count", "1", "--sessions",
                                           "--log", folder.file("watch.log")});
                  return args;
              }()),
              0)
        << err.str();
    std::string text = out.str();
    EXPECT_EQ(text.substr(0, std::string(kObjectHeading).size()), kObjectHeading);
    size_t sessions = text.find("SessionID\tUser\tfound Records\tsearched Records\tinserted Records\tdeleted DS\t"
                                "modified DS\tLogin Date\tLogin Time\t\n");
    ASSERT_NE(sessions, std::string::npos) << text;
    EXPECT_NE(text.find("\tWATCHER\t", sessions), std::string::npos) << text;
    EXPECT_EQ(fileText("watch.log"), "before\r\n"); // nothing changed, nothing appended
    EXPECT_EQ(err.str(), "");
}

TEST_F(DbWatchCommandTest, UnreachableDatabaseAtStartEndsWithStatusOneAndBadArgumentsWithTwo)
{
    stop = true;
    EXPECT_EQ(run({"--server", "UNKNOWN", "--net", "tcp", "--program-path", folder.programPath()}), 1);
    EXPECT_NE(err.str().find("not listed"), std::string::npos) << err.str(); // the library's reason first
    EXPECT_EQ(err.str().substr(err.str().find('\n') + 1), "quellix-cli db-watch: Login nicht ok\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(run({"--server", "NAV", "--program-path", folder.file("nowhere")}), 1);
    EXPECT_EQ(run({"--server", "NAV", "--program-path", folder.programPath(), "--log", folder.file("no/such/dir.log")}),
              1);
    EXPECT_EQ(err.str(), "quellix-cli db-watch: cannot write " + folder.file("no/such/dir.log") + "\n");
    for (std::vector<std::string> bad : {std::vector<std::string>{"--server", "NAV", "--interval", "4"},
                                         {"--server", "NAV", "--interval", "3601"},
                                         {"--server", "NAV", "--count", "0"},
                                         {"--net", "tcp"},
                                         {"--server", "NAV", "--password", "visible"}})
        EXPECT_EQ(run(bad), 2) << bad[2];
}

} // namespace
