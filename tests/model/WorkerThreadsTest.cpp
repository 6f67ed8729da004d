#include "model/WorkerThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {
struct ThreadCountGuard {
    ~ThreadCountGuard()
    {
        setWorkerThreads(0);
        unsetenv("QUELLIX_THREADS");
    }
};
} // namespace

TEST(WorkerThreads, TheCountComesFromTheSettingThenTheEnvironmentThenTheHardware)
{
    ThreadCountGuard guard;
    unsetenv("QUELLIX_THREADS");
    EXPECT_GE(workerThreads(), 1);
    setenv("QUELLIX_THREADS", "3", 1);
    EXPECT_EQ(workerThreads(), 3);
    setWorkerThreads(5);
    EXPECT_EQ(workerThreads(), 5);
    setWorkerThreads(0);
    for (const char* odd : {"0", "-2", "x", "3x", ""}) {
        setenv("QUELLIX_THREADS", odd, 1);
        setWorkerThreads(0);
        const int fromHardware = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        EXPECT_EQ(workerThreads(), fromHardware) << odd;
    }
    setWorkerThreads(4);
    EXPECT_EQ(workersFor(2), 2);
    EXPECT_EQ(workersFor(0), 1);
}

TEST(WorkerThreads, MergesRunInOrderOnTheCallingThreadAfterTheirWork)
{
    ThreadCountGuard guard;
    for (int threads : {1, 2, 4}) {
        setWorkerThreads(threads);
        const int count = 500;
        std::vector<std::atomic<int>> worked(count);
        std::vector<int> merged;
        bool otherThread = false;
        const auto caller = std::this_thread::get_id();
        runInOrder(
            count, [&](int i, int worker) { worked[static_cast<size_t>(i)] = worker + 1; },
            [&](int i) {
                otherThread = otherThread || std::this_thread::get_id() != caller;
                EXPECT_GT(worked[static_cast<size_t>(i)].load(), 0);
                EXPECT_LE(worked[static_cast<size_t>(i)].load(), threads);
                merged.push_back(i);
            },
            [] { return false; });
        ASSERT_EQ(merged.size(), static_cast<size_t>(count)) << threads;
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(merged[static_cast<size_t>(i)], i);
        EXPECT_FALSE(otherThread);
    }
}

TEST(WorkerThreads, AStopEndsTheRunAfterAGaplessPrefixAndAFailureIsRethrown)
{
    ThreadCountGuard guard;
    for (int threads : {1, 3}) {
        setWorkerThreads(threads);
        std::atomic<bool> stop{false};
        std::vector<int> merged;
        runInOrder(
            1000, [&](int i, int) { if (i == 40) stop = true; },
            [&](int i) { merged.push_back(i); }, [&] { return stop.load(); });
        // Nothing behind the item that raised the stop is merged; on one thread everything up to it is.
        EXPECT_LE(merged.size(), 41u);
        if (threads == 1) {
            EXPECT_EQ(merged.size(), 41u);
        }
        for (size_t i = 0; i < merged.size(); ++i)
            EXPECT_EQ(merged[i], static_cast<int>(i));

        int mergedBeforeFailure = 0;
        EXPECT_THROW(runInOrder(
                         100, [](int i, int) { if (i == 10) throw std::runtime_error("no memory"); },
                         [&](int) { ++mergedBeforeFailure; }, [] { return false; }),
                     std::runtime_error);
        EXPECT_LE(mergedBeforeFailure, 10);
    }
}
