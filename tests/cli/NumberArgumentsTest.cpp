// Number arguments of quellix-cli: a number followed by anything else is a usage error.
#include "support/SmallExport.h"
#include "support/PosixOnly.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

class CliNumbers : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_ON_WINDOWS("runs quellix-cli through a POSIX shell");
        dir = fs::temp_directory_path() / ("quellix-cli-numbers-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        exportPath = (dir / "export.txt").string();
        std::ofstream(exportPath, std::ios::binary) << smallExport();
    }
    void TearDown() override { fs::remove_all(dir); }

    // Exit status of quellix-cli with the arguments (already quoted for the shell).
    int run(const std::string& args) const
    {
        const std::string cmd = std::string(QUELLIX_BINARY_DIR) + "/quellix-cli " + args + " > /dev/null 2> '" +
                                (dir / "err").string() + "' < /dev/null";
        const int raw = std::system(cmd.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    fs::path dir;
    std::string exportPath;
};

} // namespace

TEST_F(CliNumbers, NumberRangeRefusesTrailingJunk)
{
    ASSERT_EQ(run("number-range " + exportPath + " 1 5"), 0);
    EXPECT_EQ(run("number-range " + exportPath + " 1abc 5"), 2);
    EXPECT_EQ(run("number-range " + exportPath + " 1 5abc"), 2);
    EXPECT_EQ(run("number-range " + exportPath + " 1 '5 '"), 2);
    EXPECT_EQ(run("number-range " + exportPath + " '' 5"), 2);
    EXPECT_EQ(run("number-range " + exportPath + " 1 99999999999"), 2);
}

TEST_F(CliNumbers, SplitRefusesTrailingJunkAndWritesNothing)
{
    const std::string folder = (dir / "split").string();
    EXPECT_EQ(run("split " + exportPath + " '" + folder + "' 1abc 5"), 2);
    EXPECT_EQ(run("split " + exportPath + " '" + folder + "' 1 5x"), 2);
    EXPECT_FALSE(fs::exists(folder));
    ASSERT_EQ(run("split " + exportPath + " '" + folder + "' 1 50000"), 0);
    EXPECT_TRUE(fs::exists(folder + "/Codeunit 50000.txt"));
}
