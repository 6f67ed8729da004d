#include "analysis/OperationTable.h"
#include "support/SmallExport.h"

#include "QuellixVersion.h"
#include "support/PosixOnly.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool hasLineStartingWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0 || text.find("\n" + start) != std::string::npos;
}

class CliHelp : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_ON_WINDOWS("runs quellix-cli through a POSIX shell");
        dir = fs::temp_directory_path() / ("quellix-cli-help-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        exportPath = (dir / "export.txt").string();
        std::ofstream(exportPath, std::ios::binary) << smallExport();
    }
    void TearDown() override { fs::remove_all(dir); }

    CliRun run(const std::string& args)
    {
        const fs::path out = dir / "out", err = dir / "err";
        const std::string cmd = std::string(QUELLIX_BINARY_DIR) + "/quellix-cli " + args + " > '" + out.string() +
                                "' 2> '" + err.string() + "' < /dev/null";
        const int raw = std::system(cmd.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readAll(out), readAll(err)};
    }

    // The command names of the "commands:" block of the general help.
    std::vector<std::string> listedCommands()
    {
        std::istringstream lines(run("--help").out);
        std::vector<std::string> names;
        bool inBlock = false;
        for (std::string line; std::getline(lines, line);) {
            if (line == "commands:")
                inBlock = true;
            else if (line.empty())
                inBlock = false;
            else if (inBlock)
                names.push_back(line.substr(2, line.find(' ', 2) - 2));
        }
        return names;
    }

    // Arguments that make the command's own arguments valid.
    std::string argumentsOf(const std::string& command)
    {
        if (command == "search")
            return exportPath + " Customer";
        if (command == "number-range")
            return exportPath + " 1 100";
        if (command == "references")
            return exportPath + " 'Table 18'";
        if (command == "export-code")
            return exportPath + " '" + (dir / "code.txt").string() + "'";
        if (command == "split")
            return exportPath + " '" + (dir / "split").string() + "' 1 100";
        if (command == "db-objects" || command == "db-watch")
            return "--server '" + (dir / "none.db").string() + "' --program-path '" + dir.string() + "'";
        if (command == "db-compare")
            return "--server1 '" + (dir / "none.db").string() + "' --program-path1 '" + dir.string() + "' --server2 '" +
                   (dir / "none.db").string() + "' --program-path2 '" + dir.string() + "'";
        if (command == "diff")
            return exportPath + " " + exportPath;
        if (command == "intersect")
            return exportPath + " " + exportPath + " '" + (dir / "t1.txt").string() + "' '" +
                   (dir / "t2.txt").string() + "'";
        return exportPath;
    }

    fs::path dir;
    std::string exportPath;
};
} // namespace

TEST_F(CliHelp, GeneralHelpGivesEveryCommandOneLine)
{
    CliRun r = run("--help");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    std::vector<std::string> expected = {"db-objects", "db-compare", "db-watch", "intersect", "diff", "check"};
    for (const OperationDef* row : operationTable())
        expected.push_back(row->command);
    for (const std::string& command : expected) {
        const size_t at = r.out.find("\n  " + command + " ");
        ASSERT_NE(at, std::string::npos) << command;
        const size_t end = r.out.find('\n', at + 1);
        EXPECT_GT(end - at, command.size() + 6) << command << " has no text on its line";
    }
    EXPECT_EQ(listedCommands().size(), expected.size());
    EXPECT_EQ(run("-h").out, r.out);
}

TEST_F(CliHelp, EveryListedCommandHasItsHelpAndAcceptsEveryOptionItLists)
{
    for (const std::string& command : listedCommands()) {
        CliRun help = run(command + " --help");
        ASSERT_EQ(help.status, 0) << command;
        EXPECT_TRUE(hasLineStartingWith(help.out, "usage: quellix-cli " + command + " ")) << help.out;
        std::istringstream lines(help.out);
        for (std::string line; std::getline(lines, line);) {
            if (line.compare(0, 4, "  --") != 0)
                continue;
            // "  --option one|two   text" or "  --option VALUE   text" or "  --option   text":
            // the option with its first value or its placeholder.
            std::istringstream words(line);
            std::string option, value;
            words >> option >> value;
            if (value.find('|') != std::string::npos)
                value = value.substr(0, value.find('|'));
            else if (value.find_first_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos)
                value.clear();
            if (value == "N" || value == "SECONDS")
                value = "5"; // numeric placeholders take a number in range
            if (option == "--server" || option == "--program-path" || option == "--server1" || option == "--server2" ||
                option == "--program-path1" || option == "--program-path2")
                continue; // part of the arguments already
            if (option == "--only")
                value = "once-used,unused-functions";
            if (value == "FILE")
                value = (dir / "file").string();
            CliRun r = run(command + " " + argumentsOf(command) + " " + option + " " + value);
            EXPECT_NE(r.status, 2) << command << " " << option << ": " << r.err;
        }
    }
}

TEST_F(CliHelp, VersionIsTheBuildsVersionWhereverItStands)
{
    EXPECT_EQ(run("--version").out, "quellix-cli " QUELLIX_VERSION "\n");
    EXPECT_EQ(run("objects " + exportPath + " --version").out, "quellix-cli " QUELLIX_VERSION "\n");
}

TEST_F(CliHelp, ShortHelpAfterTheExportIsASearchTerm)
{
    CliRun r = run("search " + exportPath + " -h");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.compare(0, 5, "Type\t"), 0) << r.out;
}

TEST_F(CliHelp, HelpOfAnUnknownCommandIsAUsageError)
{
    CliRun r = run("no-such-command --help");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("unknown command: no-such-command"), std::string::npos);
}
