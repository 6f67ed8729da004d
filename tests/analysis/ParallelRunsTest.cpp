#include "analysis/OperationTable.h"
#include "model/ReadExport.h"
#include "model/WorkerThreads.h"
#include "results/ResultList.h"
#include "support/SmallExport.h"
#include "support/PosixOnly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// Every operation on one thread and on several must give the same rows in the same order, the same
// item data and the same locations behind them.

namespace {

// Restores the process's thread count after a test.
struct ThreadCountGuard {
    ~ThreadCountGuard() { setWorkerThreads(0); }
};

std::string readFile(const std::string& path)
{
    std::string text;
    EXPECT_TRUE(readExportFile(path, text).ok());
    return text;
}

// The list text, each row's item data and icon, every location, and the status summary of one run
// of op on a catalogue loaded afresh.
std::string runOn(const std::string& exportText, int threads, const OperationDef& op, const AnalysisArgs& args)
{
    setWorkerThreads(threads);
    LoadedExport e(exportText);
    CResultList list;
    EXPECT_TRUE(op.run(*e.manager, list, nullptr, args).ok());
    std::ostringstream out;
    out << list.GetListText("\t", "\n");
    for (int r = 0; r < list.GetRowCount(); ++r) {
        const CResultRow row = list.GetRow(r);
        out << r << ' ' << row.itemData << ' ' << row.icon << '\n';
    }
    const CObjektManager& m = *e.manager;
    for (int i = 0; i < m.results.count(); ++i) {
        const CResultLocation& loc = m.results.get(i);
        out << i << ' ' << loc.objectStart << ' ' << loc.objectEnd << ' ' << loc.position << ' ' << loc.where
            << '|' << loc.objectName() << '|' << loc.term << '|' << loc.context() << '|'
            << (loc.object ? loc.object->objectSpan.start() : -1) << '\n';
    }
    out << m.awareSummary();
    return out.str();
}

// Empty when a and b are equal, else the first line where they differ (a whole-text diff of
// thousands of lines would take gtest minutes).
std::string firstDifference(const std::string& a, const std::string& b)
{
    if (a == b)
        return "";
    std::istringstream ia(a), ib(b);
    std::string la, lb;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(ia, la));
        const bool moreB = static_cast<bool>(std::getline(ib, lb));
        if (la != lb || moreA != moreB)
            return "line " + std::to_string(line) + ":\n  " + (moreA ? la : "(end)") + "\n  " + (moreB ? lb : "(end)");
        if (!moreA)
            return "same lines, different ends";
    }
}

struct Case {
    const OperationDef* op;
    AnalysisArgs args;
    std::string label;
};

// Every operation that lists rows, the searches with terms that hit often, rarely, across the
// objects' borders and not at all, and the unused analyses with and without the C/AL-aware rules.
std::vector<Case> everyOperation()
{
    std::vector<Case> cases;
    cases.push_back({&catalogueOperation(), {}, "objects"});
    for (const OperationDef* op : operationTable()) {
        if (op->input == OperationInput::OutputFile || op->input == OperationInput::FolderAndRange)
            continue; // they write files and list nothing
        if (op->input == OperationInput::SearchTerm) {
            const struct {
                const char* term;
                bool regex;
                bool caseSensitive;
            } searches[] = {{"Amount", false, false}, {"amount", false, true}, {"Amount", true, true},
                            {"e", false, false},       {"\r\n\r\n", false, true}, {"...", true, true},
                            {"^OBJECT", true, true},   {"^[^e]", true, true},     {"[^a-z]Rec", true, true}, {"END;|BEGIN", true, true},
                            {"", false, false},        {"(", true, true},        {"none such", false, false}};
            for (const auto& s : searches) {
                AnalysisArgs args;
                args.term = s.term;
                args.useRegex = s.regex;
                args.caseSensitive = s.caseSensitive;
                cases.push_back({op, args, std::string("search ") + s.term});
            }
            continue;
        }
        AnalysisArgs args;
        if (op->input == OperationInput::NumberRange) {
            args.from = 1;
            args.to = 60000;
        }
        cases.push_back({op, args, op->command});
        args.flags.push_back(kAwareOption);
        if (std::string(op->command).rfind("unused-", 0) == 0)
            cases.push_back({op, args, std::string(op->command) + " aware"});
    }
    return cases;
}

void expectSameOnOneAndSeveralThreads(const std::string& exportText, const std::string& name,
                                      const std::vector<int>& threadCounts)
{
    ThreadCountGuard guard;
    for (const Case& c : everyOperation()) {
        const std::string one = runOn(exportText, 1, *c.op, c.args);
        for (int threads : threadCounts)
            EXPECT_EQ(firstDifference(one, runOn(exportText, threads, *c.op, c.args)), "") << name << ": " << c.label << " on " << threads << " threads";
    }
}

} // namespace

TEST(ParallelRuns, EveryOperationGivesTheSameRowsAndLocationsOnTheSampleAndTheSmallExport)
{
    expectSameOnOneAndSeveralThreads(readFile(std::string(QUELLIX_SOURCE_DIR) + "/examples/sample-export.txt"),
                                     "sample", {2, 4, 7});
    expectSameOnOneAndSeveralThreads(smallExport(), "small", {2, 4, 7});
}

TEST(ParallelRuns, EveryOperationGivesTheSameRowsAndLocationsOnAGeneratedExport)
{
    SKIP_ON_WINDOWS("runs the benchmark tool gen_export through a POSIX shell");
    const std::string path = std::string(QUELLIX_BINARY_DIR) + "/parallel-runs-generated.txt";
    const std::string command = std::string(QUELLIX_BINARY_DIR) + "/bench/gen_export '" + path + "' 1 5 --newer > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string text = readFile(path);
    std::remove(path.c_str());
    ASSERT_GT(text.size(), 500000u);
    expectSameOnOneAndSeveralThreads(text, "generated", {4});
}

namespace {

// Raises the cancellation flag once the progress passes a position, and notes from which threads
// the progress came.
class CancelAt : public IProgress {
public:
    CancelAt(std::atomic<bool>& flag, int at) : m_flag(flag), m_at(at) {}
    void setRange(int, int) override {}
    void setPos(int pos) override
    {
        if (std::this_thread::get_id() != m_thread)
            otherThread = true;
        if (pos >= m_at)
            m_flag = true;
    }
    bool otherThread = false;

private:
    std::atomic<bool>& m_flag;
    int m_at;
    std::thread::id m_thread = std::this_thread::get_id();
};

std::vector<std::string> listLines(const CResultList& list)
{
    std::vector<std::string> lines;
    std::istringstream in(list.GetListText("\t", "\n"));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(ParallelRuns, ACancelledRunKeepsTheRowsOfTheObjectsBeforeTheCancellationOnly)
{
    ThreadCountGuard guard;
    const std::string text = readFile(std::string(QUELLIX_SOURCE_DIR) + "/examples/sample-export.txt");
    std::vector<std::string> firstCut;
    for (int threads : {1, 3}) {
        setWorkerThreads(threads);
        LoadedExport whole(text);
        CResultList all;
        whole.manager->findUnusedVariables(all, nullptr);
        LoadedExport cut(text);
        std::atomic<bool> cancel{false};
        CancelAt progress(cancel, 8);
        cut.manager->setCancelFlag(&cancel);
        CResultList some;
        cut.manager->findUnusedVariables(some, &progress);
        EXPECT_FALSE(progress.otherThread);
        const auto allLines = listLines(all);
        const auto someLines = listLines(some);
        ASSERT_LT(someLines.size(), allLines.size()) << threads;
        EXPECT_TRUE(std::equal(someLines.begin(), someLines.end(), allLines.begin())) << threads;
        EXPECT_EQ(cut.manager->results.count(), static_cast<int>(someLines.size()) - 1) << threads;
        if (threads == 1)
            firstCut = someLines;
        else
            EXPECT_EQ(someLines, firstCut);
    }
}
