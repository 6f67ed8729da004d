// The writers killed with SIGKILL at 20 moments spread over a run: afterwards every target file is
// the old one or the complete new one (a temporary file of the killed process may stay beside it),
// and a stand-in database opens and passes SQLite's integrity check. QUELLIX_KILL_EXPORT_MB sets the
// size of the generated export (default 8).
#include "support/RunProgram.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

const std::string kOld = "old\r\n";

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool isTemporary(const fs::path& path)
{
    static const std::regex temporary(R"(.*\.tmp[0-9]+-[0-9]+)");
    return std::regex_match(path.filename().string(), temporary);
}

// The files under folder, temporary ones left by a killed writer not counted.
std::map<std::string, std::string> targetsUnder(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && !isTemporary(entry.path()) && entry.path().extension() != ".db-journal")
            files[fs::relative(entry.path(), folder).string()] = readFile(entry.path());
    return files;
}

// "ok" when the database file opens and SQLite finds it sound.
std::string integrity(const fs::path& database)
{
    sqlite3* db = nullptr;
    std::string answer = "cannot open";
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            answer = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return answer;
}

struct Writer {
    const char* name;
    std::vector<std::string> argv; // "@OUT" stands for the run's folder, "@EXPORT" for the large export
    bool database;                 // the target is the stand-in database @OUT/stand-in.db
};

class Kill : public ::testing::TestWithParam<Writer> {
protected:
    static void SetUpTestSuite()
    {
        folder = fs::temp_directory_path() / ("quellix-kill-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        exportPath = (folder / "large.txt").string();
        const char* mb = std::getenv("QUELLIX_KILL_EXPORT_MB");
        const std::string command = std::string(QUELLIX_BINARY_DIR) + "/bench/gen_export '" + exportPath + "' " +
                                    (mb != nullptr ? mb : "8") + " 5 --real > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    static void TearDownTestSuite() { fs::remove_all(folder); }

    std::vector<std::string> argv(const fs::path& out) const
    {
        std::vector<std::string> args;
        for (const std::string& a : GetParam().argv) {
            std::string arg = std::regex_replace(a, std::regex("@OUT"), out.string());
            args.push_back(std::regex_replace(arg, std::regex("@EXPORT"), exportPath));
        }
        return args;
    }

    // The folder as the user had it: every file the writer makes already there with old bytes, or
    // a database holding the sample's objects.
    void prepareOld(const fs::path& out, const std::map<std::string, std::string>& newFiles)
    {
        fs::remove_all(out);
        fs::create_directories(out);
        if (GetParam().database) {
            const std::string db = std::string(QUELLIX_BINARY_DIR) + "/cfront/cfront-db";
            const std::string sample = std::string(QUELLIX_SOURCE_DIR) + "/examples/sample-export.txt";
            ASSERT_EQ(runProgram({db, "create", (out / "stand-in.db").string()}).exitStatus, 0);
            ASSERT_EQ(runProgram({db, "import", (out / "stand-in.db").string(), sample}).exitStatus, 0);
            return;
        }
        for (const auto& [name, bytes] : newFiles) {
            fs::create_directories((out / name).parent_path());
            std::ofstream(out / name, std::ios::binary) << kOld;
        }
    }

    static inline fs::path folder;
    static inline std::string exportPath;
};

TEST_P(Kill, LeavesTheOldOrTheCompleteNewFile)
{
    const fs::path out = folder / GetParam().name;
    prepareOld(out, {});
    const auto started = std::chrono::steady_clock::now();
    const ProgramRun whole = runProgram(argv(out));
    const long micros = static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started).count());
    ASSERT_EQ(whole.exitStatus, 0) << whole.err;
    const auto newFiles = targetsUnder(out);
    ASSERT_FALSE(newFiles.empty());
    for (int moment = 1; moment <= 20; ++moment) {
        SCOPED_TRACE("killed at " + std::to_string(moment) + "/21 of " + std::to_string(micros) + " us");
        prepareOld(out, newFiles);
        const auto oldFiles = targetsUnder(out);
        runProgram(argv(out), {}, micros * moment / 21 + 1);
        if (GetParam().database) {
            EXPECT_EQ(integrity(out / "stand-in.db"), "ok");
            continue;
        }
        for (const auto& [name, bytes] : targetsUnder(out)) {
            const bool old = oldFiles.count(name) != 0 && oldFiles.at(name) == bytes;
            const bool complete = newFiles.count(name) != 0 && newFiles.at(name) == bytes;
            EXPECT_TRUE(old || complete) << name << " half written";
        }
    }
}

std::vector<Writer> writers()
{
    const std::string cli = std::string(QUELLIX_BINARY_DIR) + "/quellix-cli";
    const std::string db = std::string(QUELLIX_BINARY_DIR) + "/cfront/cfront-db";
    return {
        {"split", {cli, "split", "@EXPORT", "@OUT", "1", "2000000000"}, false},
        {"exportcode", {cli, "export-code", "@EXPORT", "@OUT/code.txt"}, false},
        {"intersect", {cli, "intersect", "@EXPORT", "@EXPORT", "@OUT/one.txt", "@OUT/two.txt"}, false},
        {"baseline", {cli, "check", "@EXPORT", "--write-baseline", "@OUT/baseline.json"}, false},
        {"import", {db, "import", "@OUT/stand-in.db", "@EXPORT", "--date-order", "mdy", "--lenient"}, true},
        {"set", {db, "set", "@OUT/stand-in.db", "Table", "18", "--name", "Debitor"}, true},
    };
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, Kill, ::testing::ValuesIn(writers()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
