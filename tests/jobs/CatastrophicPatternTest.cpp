// A regular expression search that backtracks without end must stay within its step budget and
// stop as soon as its worker is stopped.
#include "analysis/OperationTable.h"
#include "analysis/PatternMatcher.h"
#include "jobs/JobRunner.h"
#include "jobs/WorkerJob.h"
#include "model/ObjektManager.h"
#include "results/ResultList.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// An export whose one code line is a megabyte of "a" followed by "cb": every start position
// backtracks through the runs of "a", and the "b" the pattern must contain is there.
std::string megabyteLineExport()
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("quellix-mb-line-" + std::to_string(getpid()) + ".txt")).string();
    std::ofstream(path, std::ios::binary) << "OBJECT Codeunit 1 Long\r\n{\r\n  CODE\r\n  {\r\n    BEGIN\r\n    "
                                          << std::string(1 << 20, 'a') << "cb\r\n    END.\r\n  }\r\n}\r\n";
    return path;
}

Outcome searchJob(const std::string& exportPath, const std::string& pattern, CResultList& list,
                    const std::atomic<bool>* cancel)
{
    JobRequest request;
    request.operation = &textSearchOperation();
    request.sourceFile = exportPath;
    request.args.term = pattern;
    request.args.useRegex = true;
    request.args.caseSensitive = true;
    CLoadedExport loaded;
    CObjektManager manager;
    return runJob(request, loaded, manager, list, nullptr, nullptr, cancel);
}

} // namespace

TEST(CatastrophicPattern, NestedStarIsRefusedAndNestedPlusEndsWithinItsBudget)
{
    const std::string path = megabyteLineExport();
    CResultList list;
    // "(a*)*" repeats something that matches nothing: refused when compiled, nothing found.
    CPatternMatcher matcher;
    EXPECT_FALSE(matcher.compile("(a*)*b"));
    EXPECT_TRUE(searchJob(path, "(a*)*b", list, nullptr).ok());
    EXPECT_EQ(list.GetRowCount(), 0);

    // The budget of one search grows with the text searched; the search ends when it is spent,
    // without a hit. Without the budget this would run for longer than the universe exists.
    const Clock::time_point begin = Clock::now();
    EXPECT_TRUE(searchJob(path, "(a+)+b", list, nullptr).ok());
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_LT(Clock::now() - begin, 120s); // generous: a loaded machine must not fail it
    std::filesystem::remove(path);
}

TEST(CatastrophicPattern, StoppingTheWorkerEndsTheSearchAtOnce)
{
    const std::string path = megabyteLineExport();
    CResultList list;
    CWorkerSlot slot;
    std::atomic<bool> searching{false};
    std::atomic<bool> sawCancel{false};
    // Without a step cap (as a search with an endless budget would) only the cancel flag ends it.
    slot.start(
        [&](const std::atomic<bool>& cancel) {
            CPatternMatcher matcher;
            EXPECT_TRUE(matcher.compile("(a+)+b"));
            matcher.setStepBudget(INT64_MAX);
            matcher.setCancelFlag(&cancel);
            const std::string subject = std::string(1 << 20, 'a') + "cb";
            searching = true;
            EXPECT_EQ(matcher.find(subject, 0), -1);
            sawCancel = cancel.load();
        },
        nullptr, nullptr);
    while (!searching)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(50ms);
    const Clock::time_point stopAt = Clock::now();
    slot.stop();
    const auto stopTook = Clock::now() - stopAt;
    EXPECT_TRUE(sawCancel);
    // The matcher looks at the flag every few thousand steps, well under 0.2 s apart; the bound
    // here is generous so that a loaded machine does not fail the test.
    EXPECT_LT(stopTook, 2s);

    // The search operation through the job runner ends the same way when its worker is stopped.
    slot.start([&](const std::atomic<bool>& cancel) { searchJob(path, "(a+)+b", list, &cancel); }, nullptr,
               nullptr);
    std::this_thread::sleep_for(20ms);
    slot.stop();
    EXPECT_FALSE(slot.running());
    EXPECT_EQ(list.GetRowCount(), 0);
    std::filesystem::remove(path);
}
