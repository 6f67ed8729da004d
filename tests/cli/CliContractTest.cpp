#include "support/SmallExport.h"
#include "support/PosixOnly.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace {
namespace fs = std::filesystem;

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_ON_WINDOWS("runs quellix-cli through a POSIX shell");
        dir = fs::temp_directory_path() / ("quellix-cli-test-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        exportPath = (dir / "export.txt").string();
        write(exportPath, smallExport());
    }
    void TearDown() override { fs::remove_all(dir); }

    static void write(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    CliResult run(const std::string& args)
    {
        const fs::path out = dir / "out", err = dir / "err";
        std::string cmd = std::string(QUELLIX_BINARY_DIR) + "/quellix-cli " + args + " > '" + out.string() +
                          "' 2> '" + err.string() + "' < /dev/null";
        int raw = std::system(cmd.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readAll(out), readAll(err)};
    }

    fs::path dir;
    std::string exportPath;
};
} // namespace

TEST_F(Cli, ObjectsListsTheCatalogue)
{
    CliResult r = run("objects " + exportPath);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string expected = "Type\tNo.\tName\tStart\tEnd\t\n";
    const std::string t = smallExport();
    int second = static_cast<int>(t.find("\r\nOBJECT Codeunit"));
    int third = static_cast<int>(t.find("\r\nOBJECT Page"));
    expected += "Table\t18\tCustomer\t0\t" + std::to_string(second - 1) + "\t\n";
    expected += "Codeunit\t50000\tSales Helper\t" + std::to_string(second) + "\t" + std::to_string(third - 1) + "\t\n";
    expected += "Page\t21\tCustomer Card\t" + std::to_string(third) + "\t" + std::to_string(t.size() - 2) + "\t\n";
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, ""); // no progress when stderr is no terminal
}

TEST_F(Cli, LfOnlyExportsLoadLikeCrLfOnes)
{
    std::string lf = smallExport();
    lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
    write(exportPath, lf);
    CliResult r = run("objects " + exportPath);
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Codeunit\t50000\tSales Helper\t"), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4);
}

TEST_F(Cli, UmlautsComeOutAsUtf8OrRawAnsiAndTermsGoIn)
{
    // "Grüße" written in CP850 (ü = 0x81, ß = 0xE1).
    write(exportPath, "OBJECT Codeunit 1 Gr\x81\xE1" "e\r\n{\r\n  Gr\x81\xE1" "e\r\n}\r\n");
    CliResult r = run("search " + exportPath + " 'Grüße' --mode case --locations");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Type\tObject\tFunction\t\tEnvironment\tItemData\tPosition\t");
    EXPECT_NE(r.out.find("\tCodeunit 1 Grüße\t"), std::string::npos);
    EXPECT_NE(r.out.find("\t0\t18\t\n"), std::string::npos); // the first hit lies in the header
    CliResult raw = run("objects " + exportPath + " --ansi");
    EXPECT_NE(raw.out.find("Gr\xFC\xDF" "e"), std::string::npos);
}

TEST_F(Cli, ErrorsGiveExitStatusAndOneLine)
{
    CliResult missing = run("objects " + (dir / "nope.txt").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("nope.txt"), std::string::npos);
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);
    EXPECT_EQ(run("frobnicate " + exportPath).status, 2);
    CliResult usage = run("search " + exportPath);
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("usage: quellix-cli"), std::string::npos);
    EXPECT_EQ(run("objects " + exportPath + " --oem 1252").status, 2);
    EXPECT_EQ(run("objects").status, 2);
}

// A term that cannot be searched for as given is refused, never searched for as something else.
TEST_F(Cli, TermsTheExportCannotHoldAndBadPatternsAreRefused)
{
    write(exportPath, "OBJECT Codeunit 1 A\r\n{\r\n  MESSAGE('?');\r\n  Text00?\r\n}\r\n");
    const struct {
        std::string args;
        std::string named;
    } cases[] = {
        {"'\xE2\x82\xAC'", "U+20AC"},
        {"'Text00\xE2\x82\xAC' --mode regex", "U+20AC"},
        {"'\xFF'", "UTF-8"},
        {"'(' --mode regex", "regular expression: ("},
    };
    for (const auto& c : cases) {
        CliResult r = run("search " + exportPath + " " + c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(run("search " + exportPath + " 'Text00?'").status, 0);
}

TEST_F(Cli, SplitMakesAMissingFolderAndPrintsEachFile)
{
    const std::string folder = (dir / "new" / "split").string();
    CliResult r = run("split " + exportPath + " '" + folder + "' 18 50000");
    ASSERT_EQ(r.status, 0) << r.err;
    // The Page is type 0 in the catalogue; its file takes the word of its OBJECT line.
    EXPECT_EQ(r.out, folder + "/Table 18.txt\n" + folder + "/Codeunit 50000.txt\n" + folder + "/Page 21.txt\n");
    EXPECT_TRUE(fs::exists(folder + "/Codeunit 50000.txt"));
    EXPECT_EQ(r.err, "");
    CliResult bad = run("split " + exportPath + " /proc/quellix-no-such-dir 18 18");
    EXPECT_EQ(bad.status, 1);
}

TEST_F(Cli, SplitWritesARepeatedTypeAndNumberUnderANumberedNameAndSaysSoOnStderr)
{
    write(exportPath, smallExport() + "\r\nOBJECT Table 18 Customer Again\r\n{\r\n}\r\n");
    const std::string folder = (dir / "split").string();
    CliResult r = run("split " + exportPath + " '" + folder + "' 18 18");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, folder + "/Table 18.txt\n" + folder + "/Table 18 (2).txt\n");
    EXPECT_EQ(r.err, "quellix-cli: 1 object repeats the type and number of an earlier one, written as: "
                     "Table 18 (2).txt\n");
    EXPECT_NE(readAll(folder + "/Table 18 (2).txt").find("Customer Again"), std::string::npos);
    EXPECT_EQ(readAll(folder + "/Table 18.txt").find("Customer Again"), std::string::npos);
}

TEST_F(Cli, SplitFailureStillReturnsOne)
{
    CliResult bad = run("split " + exportPath + " /proc/quellix-no-such-dir 18 18");
    EXPECT_EQ(bad.status, 1);
}
