#include "support/CustomerExport.h"
#include "support/PosixOnly.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

// Runs quellix-cli on the customer export (LF line ends, as the CLI accepts them).
class CliTables : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_ON_WINDOWS("runs quellix-cli through a POSIX shell");
        dir = fs::temp_directory_path() / ("quellix-cli-tables-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        exportPath = (dir / "customer.txt").string();
        std::ofstream(exportPath, std::ios::binary) << kCustomerExport;
    }
    void TearDown() override { fs::remove_all(dir); }

    int run(const std::string& args)
    {
        const std::string cmd = std::string(QUELLIX_BINARY_DIR) + "/quellix-cli " + args + " > '" +
                                (dir / "out").string() + "' 2> '" + (dir / "err").string() + "' < /dev/null";
        const int raw = std::system(cmd.c_str());
        std::ifstream in(dir / "out", std::ios::binary);
        out.assign(std::istreambuf_iterator<char>(in), {});
        std::ifstream errIn(dir / "err", std::ios::binary);
        err.assign(std::istreambuf_iterator<char>(errIn), {});
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    fs::path dir;
    std::string exportPath;
    std::string out;
    std::string err;
};
} // namespace

TEST_F(CliTables, AnalysesPrintTheirLists)
{
    ASSERT_EQ(run("number-range " + exportPath + " 18 18 --no-objects"), 0);
    EXPECT_EQ(out, "Type\tObjectID\tReferenceID\tDescription\t\t\nTableField\t21\t18\tSales (LCY)\t\t\n");
    ASSERT_EQ(run("duplicate-ids " + exportPath + " --locations"), 0);
    EXPECT_EQ(out, "Object\tlocal Variable\tlocal Fct.\tglobal Variable\tItemData\tPosition\t\n"
                   "Form 18 Customer List\tFehler: ProcedureID 1 Check MaxFktID = 1\t\t\t0\t\t\n"
                   "Form 18 Customer List\tFehler: ControlID 5 MaxFktID = 6\t\t\t0\t\t\n");
    ASSERT_EQ(run("page-translations " + exportPath), 0);
    EXPECT_EQ(out, "ObjectID\tObjectName\tControl Type\tControl ID\tFunction\t\n"
                   "18\tForm 18 Customer List\tTabControl\t1\t\t\n");
    // The summary line names the target as it was typed, in UTF-8 like every other output.
    ASSERT_EQ(run("references " + exportPath + " 'T\xc3\xa4" "ble \xc3\xbc'"), 0);
    EXPECT_EQ(err, "references: not in the export: T\xc3\xa4" "ble \xc3\xbc\n");
}

TEST_F(CliTables, ExportAndSplitWriteFiles)
{
    ASSERT_EQ(run("export-code " + exportPath + " '" + (dir / "code.txt").string() + "'"), 0);
    EXPECT_EQ(out, "Export done\n");
    EXPECT_TRUE(fs::exists(dir / "code.txt"));
    ASSERT_EQ(run("split " + exportPath + " '" + dir.string() + "' 50000 50000"), 0);
    EXPECT_EQ(out, dir.string() + "/Codeunit 50000.txt\n");
    EXPECT_EQ(run("split " + exportPath + " /proc/quellix-no-such-dir 18 18"), 1);
    EXPECT_EQ(run("split " + exportPath + " '" + dir.string() + "' 18"), 2);
}
