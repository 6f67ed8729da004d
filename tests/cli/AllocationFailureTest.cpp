// Every command of quellix-cli and the stand-in's import run with one request for memory made to
// fail, at points spread over the whole run: each run either ends as if nothing had happened
// (same exit status, same output, same files) or with exit status 1 and one line naming the
// shortage; never by a signal, never with a file half written or a temporary file left behind.
// QUELLIX_FAIL_ALLOC_POINTS sets how many points a long run tries (default 200) and
// QUELLIX_FAIL_ALLOC_EXPORT an export to run on instead of the sample; scripts/oom-sweep.sh runs
// the long sweep on a generated 2 MB export.
#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every regular file under folder (paths relative to it) with its bytes.
std::map<std::string, std::string> filesUnder(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] = readFile(entry.path());
    return files;
}

int environmentNumber(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

// Where the Nth request fails: every request of a short run (up to 300), otherwise the first 30
// requests after `first`, then `points` more spread over the rest up to the last.
std::vector<long long> failurePoints(long long first, long long last, int points)
{
    std::vector<long long> at;
    if (last - first < 300) {
        for (long long n = first; n <= last; ++n)
            at.push_back(n);
        return at;
    }
    for (long long n = first; n <= std::min(first + 29, last); ++n)
        at.push_back(n);
    for (int k = 1; k <= points && last > first + 29; ++k)
        at.push_back(first + 29 + (last - first - 29) * k / points);
    at.erase(std::unique(at.begin(), at.end()), at.end());
    return at;
}

long long requestsOf(const std::vector<std::string>& argv, const fs::path& countFile)
{
    runProgram(argv, {"QUELLIX_FAIL_ALLOC_COUNT=" + countFile.string()});
    return std::atoll(readFile(countFile).c_str());
}

struct Command {
    const char* name;
    std::string program;            // quellix-cli-failalloc or cfront-db-failalloc
    std::vector<std::string> args;  // "@OUT" stands for the run's own output folder
    const char* shortage;           // what the one line on stderr holds
    std::vector<std::string> prepare = {}; // run before each run, in the same folder (a database's
                                           // `create`, for commands of cfront-db)
};

class AllocationFailure : public ::testing::TestWithParam<Command> {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("quellix-oom-" + std::to_string(::getpid()) + "-" + GetParam().name);
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::vector<std::string> argv(const std::vector<std::string>& args, const fs::path& out)
    {
        std::vector<std::string> argv;
        for (const std::string& a : args)
            argv.push_back(a == "@OUT" ? out.string() : a.rfind("@OUT/", 0) == 0 ? (out / a.substr(5)).string() : a);
        return argv;
    }
    ProgramRun run(const fs::path& out, std::vector<std::string> extra)
    {
        fs::remove_all(out);
        fs::create_directories(out);
        if (!GetParam().prepare.empty())
            runProgram(argv(GetParam().prepare, out));
        std::vector<std::string> args = argv(GetParam().args, out);
        args.insert(args.begin(), GetParam().program);
        return runProgram(args, extra);
    }

    fs::path dir;
};

TEST_P(AllocationFailure, EndsCleanlyOrAsIfNothingHappened)
{
    const fs::path countFile = dir / "requests";
    const ProgramRun normal = run(dir / "normal", {"QUELLIX_FAIL_ALLOC_COUNT=" + countFile.string()});
    ASSERT_TRUE(normal.exitStatus == 0 || normal.exitStatus == 3) << normal.err;
    const auto normalFiles = filesUnder(dir / "normal");
    const long long requests = std::atoll(readFile(countFile).c_str());
    // The program's static tables are made before main, where nothing could report a shortage; the
    // sweep starts where a run of --version has made its requests.
    const long long beforeMain = requestsOf({GetParam().program, "--version"}, dir / "version-requests");
    ASSERT_GT(requests, beforeMain);
    int failed = 0;
    for (long long n : failurePoints(beforeMain + 1, requests, environmentNumber("QUELLIX_FAIL_ALLOC_POINTS", 200))) {
        const fs::path out = dir / "injected";
        const ProgramRun r = run(out, {"QUELLIX_FAIL_ALLOC=" + std::to_string(n)});
        SCOPED_TRACE("request " + std::to_string(n) + " of " + std::to_string(requests));
        ASSERT_EQ(r.signal, 0) << r.err;
        // A database changes its bytes without changing its content; the kill tests check it.
        const auto files = GetParam().prepare.empty() ? filesUnder(out) : normalFiles;
        for (const auto& [name, bytes] : files) {
            auto it = normalFiles.find(name);
            ASSERT_TRUE(it != normalFiles.end()) << "left behind: " << name;
            ASSERT_TRUE(it->second == bytes) << "half written: " << name;
        }
        if (r.exitStatus == 1) {
            ++failed;
            EXPECT_NE(r.err.find(GetParam().shortage), std::string::npos) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            continue;
        }
        ASSERT_EQ(r.exitStatus, normal.exitStatus) << r.err;
        ASSERT_TRUE(r.out == normal.out) << "a failure taken for success";
        ASSERT_EQ(files.size(), normalFiles.size());
    }
    EXPECT_GT(failed, 0) << "no injected failure reached the program";
}

std::string sampleOr(const char* variable)
{
    const char* given = std::getenv(variable);
    return given != nullptr ? given : std::string(QUELLIX_SOURCE_DIR) + "/examples/sample-export.txt";
}

std::vector<Command> commands()
{
    const std::string cli = std::string(QUELLIX_BINARY_DIR) + "/tests/quellix-cli-failalloc";
    const std::string db = std::string(QUELLIX_BINARY_DIR) + "/cfront/cfront-db-failalloc";
    const std::string e = sampleOr("QUELLIX_FAIL_ALLOC_EXPORT");
    const std::string small = std::string(QUELLIX_SOURCE_DIR) + "/tests/data/small-export.txt";
    const char* shortage = "quellix-cli: not enough memory";
    std::vector<Command> list = {
        {"objects", cli, {"objects", e}, shortage},
        {"search", cli, {"search", e, "Customer"}, shortage},
        {"fieldref", cli, {"field-reference-problem", e}, shortage},
        {"unusedvars", cli, {"unused-variables", e, "--aware"}, shortage},
        {"unusedfuncs", cli, {"unused-functions", e, "--aware"}, shortage},
        {"unusedfields", cli, {"unused-fields", e}, shortage},
        {"sumindex", cli, {"unused-sumindexfields", e}, shortage},
        {"localglobal", cli, {"local-global", e}, shortage},
        {"onceused", cli, {"once-used", e}, shortage},
        {"ids", cli, {"duplicate-ids", e}, shortage},
        {"translations", cli, {"page-translations", e}, shortage},
        {"forms", cli, {"check-forms", e}, shortage},
        {"range", cli, {"number-range", e, "1", "99999"}, shortage},
        {"baseline", cli, {"check", e, "--write-baseline", "@OUT/baseline"}, shortage},
        {"json", cli, {"check", e, "--format", "json"}, shortage},
        {"sarif", cli, {"check", e, "--format", "sarif"}, shortage},
        {"diff", cli, {"diff", small, e, "--format", "json"}, shortage},
        {"exportcode", cli, {"export-code", e, "@OUT/code.txt"}, shortage},
        {"split", cli, {"split", e, "@OUT", "1", "99999"}, shortage},
        {"intersect", cli, {"intersect", e, e, "@OUT/one.txt", "@OUT/two.txt"}, shortage},
        {"import", db, {"import", "@OUT/stand-in.db", e}, "cfront-db: not enough memory",
         {std::string(QUELLIX_BINARY_DIR) + "/cfront/cfront-db", "create", "@OUT/stand-in.db"}},
    };
    return list;
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, AllocationFailure, ::testing::ValuesIn(commands()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
