#include "cli/DbWatchCommand.h"
#include "db/StandInFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
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

// quellix-cli db-watch in a child process whose standard output the test reads as it comes.
class WatchProcess {
public:
    explicit WatchProcess(const std::vector<std::string>& args)
    {
        const std::string cli = QUELLIX_BINARY_DIR "/quellix-cli";
        std::vector<std::string> all = {cli, "db-watch"};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        int output[2];
        if (pipe(output) != 0)
            return;
        m_child = fork();
        if (m_child == 0) {
            dup2(output[1], STDOUT_FILENO);
            close(output[0]);
            execv(cli.c_str(), argv.data());
            _exit(127);
        }
        close(output[1]);
        m_fd = output[0];
    }
    ~WatchProcess()
    {
        if (m_child > 0)
            stop();
    }
    // Reads until what was printed holds text and ends with a line end, or ms pass.
    void readUntil(const std::string& text, int ms)
    {
        pollfd fd{m_fd, POLLIN, 0};
        char buffer[4096];
        while (poll(&fd, 1, ms) > 0) {
            ssize_t n = read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            printed.append(buffer, static_cast<size_t>(n));
            if (printed.find(text) != std::string::npos && printed.back() == '\n')
                break;
        }
    }
    // SIGTERM, then the exit status (-1 when the program did not exit by itself).
    int stop()
    {
        kill(m_child, SIGTERM);
        int status = 0;
        waitpid(m_child, &status, 0);
        m_child = -1;
        close(m_fd);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string printed;

private:
    pid_t m_child = -1;
    int m_fd = -1;
};

TEST_F(DbWatchCommandTest, SignalEndsTheWatchAfterARowWasPrintedAndFlushedAndTheLogIsAppended)
{
    WatchProcess watch({"--server", "NAV", "--net", "tcp", "--program-path", folder.programPath(), "--interval", "5",
                        "--log", folder.file("watch.log")});
    watch.readUntil("\n", 3000); // the heading, once the database was reached
    ASSERT_EQ(watch.printed, kObjectHeading);
    ASSERT_EQ(folder.admin({"touch", database, "Codeunit", "80"}), 0);
    watch.readUntil("Codeunit\t80", 10000); // the row arrives while the program still runs: flushed per request
    const std::string printed = watch.printed;
    ASSERT_NE(printed.find("\nCodeunit\t80\t\tSales-Post\t"), std::string::npos) << printed;
    EXPECT_EQ(printed.substr(printed.size() - 5), "\t\t0\t\n"); // empty version, DBM table number 0
    EXPECT_EQ(watch.stop(), 0);
    std::string logText = fileText("watch.log");
    EXPECT_EQ(logText.substr(0, 23), "Codeunit\t80\t\tSales-Post");
    EXPECT_EQ(logText.find("\t\n"), std::string::npos);
    EXPECT_EQ(logText.substr(logText.size() - 2), "\r\n");
}

// The lines of JSON Lines output, each parsed.
std::vector<nlohmann::json> jsonLines(const std::string& text)
{
    std::vector<nlohmann::json> documents;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        documents.push_back(nlohmann::json::parse(line));
    return documents;
}

TEST_F(DbWatchCommandTest, JsonWritesOneFlushedLinePerRequestWithItsNewRowsUntilTheSignal)
{
    WatchProcess watch({"--server", "NAV", "--net", "tcp", "--program-path", folder.programPath(), "--interval", "5",
                        "--format", "json"});
    watch.readUntil("\n", 3000); // the start's line, once the database was reached
    ASSERT_EQ(watch.printed.find('\n'), watch.printed.size() - 1) << watch.printed;
    ASSERT_EQ(folder.admin({"touch", database, "Codeunit", "80"}), 0);
    watch.readUntil("Sales-Post", 10000);
    watch.readUntil("\"request\":2", 7000); // the next request finds nothing new
    EXPECT_EQ(watch.stop(), 0);
    const std::vector<nlohmann::json> documents = jsonLines(watch.printed);
    ASSERT_EQ(documents.size(), 3u) << watch.printed;
    for (size_t i = 0; i < documents.size(); ++i) {
        EXPECT_EQ(documents[i]["command"], "db-watch");
        EXPECT_EQ(documents[i]["databases"], nlohmann::json::array({"NAV"}));
        EXPECT_EQ(documents[i]["request"], i);
        EXPECT_EQ(documents[i]["columns"], nlohmann::json::array({"Type", "ID", "User", "Object", "Date", "Time",
                                                                   "Version", "DBM TableNo."}));
        EXPECT_EQ(documents[i]["rows"].size(), i == 1 ? 1u : 0u) << documents[i].dump();
    }
    const nlohmann::json& row = documents.at(1)["rows"].at(0);
    ASSERT_EQ(row.size(), 8u);
    EXPECT_EQ(row[0], "Codeunit");
    EXPECT_EQ(row[1], "80");
    EXPECT_EQ(row[3], "Sales-Post");
    EXPECT_EQ(row[7], "0");
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

    // The same as JSON Lines: the two lists by name in each line, the sessions of the request.
    auto args = serverArgs();
    args.insert(args.end(), {"--user", "WATCHER", "--interval", "5", "--count", "1", "--sessions", "--format", "json"});
    ASSERT_EQ(run(args), 0) << err.str();
    const std::vector<nlohmann::json> documents = jsonLines(out.str());
    ASSERT_EQ(documents.size(), 2u) << out.str();
    for (const nlohmann::json& document : documents) {
        ASSERT_EQ(document["analyses"].size(), 2u) << document.dump();
        EXPECT_EQ(document["analyses"][0]["analysis"], "changed-objects");
        EXPECT_EQ(document["analyses"][1]["analysis"], "sessions");
        EXPECT_EQ(document["analyses"][1]["columns"][1], "User");
    }
    EXPECT_TRUE(documents[0]["analyses"][1]["rows"].empty());
    const nlohmann::json& sessionRows = documents[1]["analyses"][1]["rows"];
    EXPECT_TRUE(std::any_of(sessionRows.begin(), sessionRows.end(),
                            [](const nlohmann::json& row) { return row[1] == "WATCHER"; }))
        << documents[1].dump();
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
    // Refused before the first request: nothing printed, no database reached.
    EXPECT_EQ(err.str(),
              "quellix-cli db-watch: cannot write " + folder.file("no/such/dir.log") + ": No such file or directory\n");
    EXPECT_EQ(out.str(), "");
    for (std::vector<std::string> bad : {std::vector<std::string>{"--server", "NAV", "--interval", "4"},
                                         {"--server", "NAV", "--interval", "3601"},
                                         {"--server", "NAV", "--count", "0"},
                                         {"--net", "tcp"},
                                         {"--server", "NAV", "--password", "visible"},
                                         {"--server", "NAV", "--format", "sarif"}})
        EXPECT_EQ(run(bad), 2) << bad[2];
}

} // namespace
