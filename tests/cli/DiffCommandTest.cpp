#include "support/PosixOnly.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs quellix-cli diff on the small export (A) and a copy with a few changes (B).
class CliDiff : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_ON_WINDOWS("runs quellix-cli, patch and gen_export through a POSIX shell");
        dir = fs::temp_directory_path() / ("quellix-cli-diff-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        const std::string a = readFile(std::string(QUELLIX_SOURCE_DIR) + "/tests/data/small-export.txt");
        std::string b = a;
        auto replace = [&](const std::string& from, const std::string& to) { b.replace(b.find(from), from.size(), to); };
        replace("      EXIT(TRUE);", "      EXIT(FALSE);");
        replace("{ 4   ;   ;Stra\xe1" "e", "{ 4   ;   ;Gasse");       // CP850 bytes on both sides
        replace("Version List=;", "Version List=QLX1.00;");            // noise only
        replace("OBJECT Report 101 Customer - List", "OBJECT Report 102 Customer - List");
        std::ofstream(dir / "a.txt", std::ios::binary) << a;
        std::ofstream(dir / "b.txt", std::ios::binary) << b;
    }
    void TearDown() override { fs::remove_all(dir); }

    int run(const std::string& args)
    {
        const std::string cmd = "cd '" + dir.string() + "' && " + std::string(QUELLIX_BINARY_DIR) + "/quellix-cli " +
                                args + " > out 2> err < /dev/null";
        const int raw = std::system(cmd.c_str());
        out = readFile(dir / "out");
        err = readFile(dir / "err");
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    fs::path dir;
    std::string out;
    std::string err;
};
} // namespace

TEST_F(CliDiff, ListsChangesAndGatesOnThem)
{
    ASSERT_EQ(run("diff a.txt b.txt"), 0) << err;
    EXPECT_EQ(out, "Type\tNo.\tName\tChange\tSection\tElement\tOld\tNew\tLines\t\n"
                   "Table\t18\tCustomer\tchanged\tFIELDS\t4 Gasse Name\tName=Stra\xc3\x9f" "e\tName=Gasse\t\t\n"
                   "Table\t18\tCustomer\tchanged\tCODE\tAssistEdit Code\t\t\t+1 -1\t\n"
                   "Report\t101\tCustomer - List\tremoved\t\t\t\t\t+0 -20\t\n"
                   "Report\t102\tCustomer - List\tadded\t\t\t\t\t+20 -0\t\n");
    EXPECT_EQ(run("diff a.txt b.txt --fail-on-changes"), 3);
    EXPECT_EQ(run("diff a.txt a.txt --fail-on-changes --noise"), 0);
    EXPECT_EQ(out, "Type\tNo.\tName\tChange\tSection\tElement\tOld\tNew\tLines\t\n");
    EXPECT_EQ(run("diff a.txt b.txt --format json"), 0);
    EXPECT_NE(out.find("\"-      EXIT(TRUE);\",\n\t\t\t\t\t\"+      EXIT(FALSE);\""), std::string::npos) << out;
    EXPECT_EQ(run("diff a.txt missing.txt"), 1);
    EXPECT_EQ(err, "quellix-cli: cannot read missing.txt: No such file or directory\n");
    EXPECT_EQ(run("diff a.txt"), 2);
    EXPECT_EQ(run("diff a.txt b.txt --unified --format json"), 2);
}

TEST_F(CliDiff, UnifiedDiffPatchesTheSplitFilesOfAIntoThoseOfB)
{
    ASSERT_EQ(run("split a.txt a 0 99999"), 0) << err;
    ASSERT_EQ(run("split b.txt b 0 99999"), 0) << err;
    ASSERT_EQ(run("diff a.txt b.txt --unified --noise"), 0) << err;
    EXPECT_NE(out.find("--- a/Table 18.txt\t\n+++ b/Table 18.txt\t\n@@ "), std::string::npos) << out;
    EXPECT_NE(out.find("-    { 4   ;   ;Stra\xe1" "e "), std::string::npos); // OEM bytes as the files hold them
    EXPECT_NE(out.find("--- /dev/null\t\n+++ b/Report 102.txt\t\n"), std::string::npos);
    std::ofstream(dir / "changes.diff", std::ios::binary) << out;
    ASSERT_EQ(std::system(("cd '" + (dir / "a").string() + "' && patch -s -p1 < ../changes.diff").c_str()), 0);
    std::vector<std::string> patched, wanted;
    for (const auto& entry : fs::directory_iterator(dir / "a"))
        patched.push_back(entry.path().filename().string() + "\n" + readFile(entry.path()));
    for (const auto& entry : fs::directory_iterator(dir / "b"))
        wanted.push_back(entry.path().filename().string() + "\n" + readFile(entry.path()));
    std::sort(patched.begin(), patched.end());
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(patched, wanted);
}

TEST_F(CliDiff, GeneratedChangedCopyGivesExactlyItsListOfChanges)
{
    for (const std::string shape : {"", " --real"}) {
        const std::string generate = std::string(QUELLIX_BINARY_DIR) + "/bench/gen_export '" + (dir / "g.txt").string() +
                                     "' 3 7" + shape + " --changed-copy '" + (dir / "h.txt").string() + "' '" +
                                     (dir / "list.txt").string() + "'";
        ASSERT_EQ(std::system(generate.c_str()), 0);
        ASSERT_EQ(run("diff g.txt h.txt"), 0) << err;
        EXPECT_EQ(err, "");
        // Type, No., Change, Section, Element of every row, sorted as the list is.
        std::vector<std::string> found;
        std::istringstream rows(out.substr(out.find('\n') + 1));
        for (std::string line; std::getline(rows, line);) {
            std::vector<std::string> cells;
            for (size_t at = 0, tab; (tab = line.find('\t', at)) != std::string::npos; at = tab + 1)
                cells.push_back(line.substr(at, tab - at));
            found.push_back(cells[0] + "\t" + cells[1] + "\t" + cells[3] + "\t" + cells[4] + "\t" + cells[5]);
        }
        std::sort(found.begin(), found.end());
        std::string foundText;
        for (const std::string& row : found)
            foundText += row + "\n";
        // The list holds the export's CP850 bytes; the rows are UTF-8.
        ASSERT_EQ(std::system(("iconv -f CP850 -t UTF-8 '" + (dir / "list.txt").string() + "' > '" +
                               (dir / "list8.txt").string() + "'").c_str()), 0);
        const std::string list = readFile(dir / "list8.txt");
        EXPECT_GT(std::count(list.begin(), list.end(), '\n'), 5) << shape;
        EXPECT_EQ(foundText, list) << shape;
    }
}
