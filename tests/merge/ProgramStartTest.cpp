#include "merge/ProgramStart.h"
#include "support/PosixOnly.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

class ProgramStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("quellix program test " + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string makeFile(const std::string& relative, const std::string& content, bool executable)
    {
        fs::path p = dir / relative;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
        if (executable)
            fs::permissions(p, fs::perms::owner_all, fs::perm_options::replace);
        return p.string();
    }
    static std::string waitForFile(const std::string& path)
    {
        for (int i = 0; i < 100 && !fs::exists(path); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::this_thread::sleep_for(std::chrono::milliseconds(100)); // let the script finish writing
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir;
};
} // namespace

TEST_F(ProgramStart, AProgramThatCannotStartIsReportedByName)
{
    SKIP_ON_WINDOWS("marks shell scripts executable by their mode bits");
    std::string error;
    const std::string missing = (dir / "merge.exe").string();
    EXPECT_FALSE(startProgram({missing, "a", "b"}, error));
    EXPECT_NE(error.find(missing), std::string::npos) << error;
    const std::string plain = makeFile("plain.txt", "text", false);
    EXPECT_FALSE(isExecutableFile(plain));
    EXPECT_FALSE(startProgram({plain, "a", "b"}, error));
    EXPECT_FALSE(isExecutableFile(dir.string())) << "a folder is no program";
}

TEST_F(ProgramStart, TheDiffProgramFallbackTakesTheFirstKnownNameFoundOnThePath)
{
    SKIP_ON_WINDOWS("finds shell scripts on a colon-separated PATH");
    const std::string first = (dir / "bin1").string(), second = (dir / "bin2").string();
    makeFile("bin1/kdiff3", "#!/bin/sh\n", true);
    makeFile("bin1/meld", "not executable", false);
    const std::string meld = makeFile("bin2/meld", "#!/bin/sh\n", true);
    EXPECT_EQ(findDiffProgram(first + ":" + second), meld);
    EXPECT_EQ(findDiffProgram(first + "/"), (dir / "bin1/kdiff3").string());
    EXPECT_EQ(findDiffProgram(":" + (dir / "none").string()), "");
}

// Arguments reach the program one each, whatever they hold: the argv printer is a real program on
// both platforms, started with the platform's own call (and on Windows its command-line quoting).
TEST_F(ProgramStart, ArgumentsWithBlanksQuotesAndBackslashesArriveIntact)
{
    const std::string out = (dir / "printed.txt").string();
    const std::vector<std::string> args = {"c:\\tmp\\split\\", "a \"quoted\" word", "\\\\server\\share x\\",
                                           "", "tab\there", "Vgl Neu \xc3\xa4\xd0\x96.txt", "ends\\\"", "plain"};
    std::vector<std::string> argv = {QUELLIX_PRINT_ARGS, out};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string error;
    ASSERT_TRUE(startProgram(argv, error)) << error;
    std::string expected = std::to_string(args.size()) + "\n";
    for (const std::string& arg : args)
        expected += arg + "\n";
    EXPECT_EQ(waitForFile(out), expected);
}

TEST(WindowsCommandLine, QuotesByTheRulesOfTheCRuntime)
{
    struct Case {
        std::vector<std::string> argv;
        std::string line;
    };
    const Case cases[] = {
        {{"C:\\Program Files\\meld.exe", "a.txt"}, "\"C:\\Program Files\\meld.exe\" a.txt"},
        {{"p", "with blank", ""}, "\"p\" \"with blank\" \"\""},
        {{"p", "c:\\tmp\\split\\"}, "\"p\" c:\\tmp\\split\\"},
        {{"p", "c:\\my dir\\"}, "\"p\" \"c:\\my dir\\\\\""},
        {{"p", "say \"hi\""}, "\"p\" \"say \\\"hi\\\"\""},
        {{"p", "a\\\"b"}, "\"p\" \"a\\\\\\\"b\""},
        {{"p", "tab\there"}, "\"p\" \"tab\there\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windowsCommandLine(c.argv), c.line) << c.line;
}
