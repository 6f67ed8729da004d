#include "merge/ProgramStart.h"

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

TEST_F(ProgramStart, EveryArgumentReachesTheProgramWholeBlanksIncluded)
{
    const std::string out = (dir / "argv.txt").string();
    const std::string script = makeFile("diff tool/show args", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" + out + "'\n", true);
    std::string error;
    ASSERT_TRUE(startProgram({script, "/tmp/a dir/Vgl Neu.txt", "Vgl Alt.txt"}, error)) << error;
    EXPECT_EQ(waitForFile(out), "2\n/tmp/a dir/Vgl Neu.txt\nVgl Alt.txt\n");
}

TEST_F(ProgramStart, AProgramThatCannotStartIsReportedByName)
{
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
    const std::string first = (dir / "bin1").string(), second = (dir / "bin2").string();
    makeFile("bin1/kdiff3", "#!/bin/sh\n", true);
    makeFile("bin1/meld", "not executable", false);
    const std::string meld = makeFile("bin2/meld", "#!/bin/sh\n", true);
    EXPECT_EQ(findDiffProgram(first + ":" + second), meld);
    EXPECT_EQ(findDiffProgram(first + "/"), (dir / "bin1/kdiff3").string());
    EXPECT_EQ(findDiffProgram(":" + (dir / "none").string()), "");
}
