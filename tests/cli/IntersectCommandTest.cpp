#include "cli/IntersectCommand.h"
#include "support/PosixOnly.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

const char* const kTable18 = "OBJECT Table 18 Kunde\r\n{\r\n  PROPERTIES\r\n  {\r\n  }\r\n}\r\n";
const char* const kForm21 = "OBJECT Form 21 Karte\r\n{\r\n  PROPERTIES\r\n  {\r\n  }\r\n}\r\n";

class IntersectCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_ON_WINDOWS("runs quellix-cli through a POSIX shell");
        dir = fs::temp_directory_path() / ("quellix-intersect-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        std::ofstream(path("a.txt"), std::ios::binary) << kTable18 << "\r\n" << kForm21;
        std::ofstream(path("b.txt"), std::ios::binary) << kForm21;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    int run(const std::vector<std::string>& args)
    {
        out.str("");
        err.str("");
        return runIntersect(args, out, err);
    }

    fs::path dir;
    std::ostringstream out;
    std::ostringstream err;
};
} // namespace

TEST_F(IntersectCommand, WritesBothTargetsAndPrintsTheirObjectCounts)
{
    ASSERT_EQ(run({path("a.txt"), path("b.txt"), path("t 1.txt"), path("t 2.txt"), "--oem", "437"}), 0) << err.str();
    EXPECT_EQ(out.str(), "1 objects written to " + path("t 1.txt") + "\n1 objects written to " + path("t 2.txt") + "\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(fs::exists(path("t 2.txt")));
}

TEST_F(IntersectCommand, HelpUsageErrorsAndUnreadableSources)
{
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(out.str().find("TARGET1 holds SOURCE1's objects that SOURCE2 also has, in SOURCE2's order;"),
              std::string::npos);
    EXPECT_NE(out.str().find("TARGET2 holds SOURCE2's objects that SOURCE1 also has, in SOURCE1's order"),
              std::string::npos);
    EXPECT_EQ(run({path("a.txt"), path("b.txt"), path("t1.txt")}), 2);
    EXPECT_EQ(run({path("a.txt"), path("b.txt"), path("t1.txt"), path("t2.txt"), "--oem", "1252"}), 2);
    EXPECT_EQ(run({path("missing.txt"), path("b.txt"), path("t1.txt"), path("t2.txt")}), 1);
    EXPECT_EQ(err.str(), "quellix-cli: cannot read " + path("missing.txt") + ": No such file or directory\n");
    EXPECT_FALSE(fs::exists(path("t1.txt")));
}

TEST_F(IntersectCommand, TheProgramRunsItAndListsItInItsUsage)
{
    const std::string cli = std::string(QUELLIX_BINARY_DIR) + "/quellix-cli";
    const std::string cmd = cli + " intersect '" + path("a.txt") + "' '" + path("b.txt") + "' '" + path("x.txt") +
                            "' '" + path("y.txt") + "' > /dev/null && " + cli + " --help | grep -q '^  intersect ' && " + cli +
                            " intersect --help | grep -q '^usage: quellix-cli intersect SOURCE1 SOURCE2 TARGET1 TARGET2'";
    int raw = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
    EXPECT_TRUE(fs::exists(path("y.txt")));
}
