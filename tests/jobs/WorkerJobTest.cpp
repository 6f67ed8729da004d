#include "jobs/WorkerJob.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <new>
#include <stdexcept>
#include <vector>

using namespace std::chrono_literals;

namespace {
// Records the notifications of a worker slot in the order they arrive.
struct Events {
    std::mutex mutex;
    std::vector<std::string> lines;
    void add(const std::string& line)
    {
        std::lock_guard<std::mutex> lock(mutex);
        lines.push_back(line);
    }
};

void spinUntilCancelled(const std::atomic<bool>& cancel)
{
    while (!cancel.load())
        std::this_thread::sleep_for(1ms);
}
} // namespace

TEST(WorkerSlot, ANewJobStopsTheRunningOneFirst)
{
    Events events;
    CWorkerSlot slot;
    std::atomic<bool> firstRunning{false};
    int first = slot.start(
        [&](const std::atomic<bool>& cancel) {
            firstRunning = true;
            spinUntilCancelled(cancel);
            events.add("first saw cancel");
        },
        [&](int id) { events.add("started " + std::to_string(id)); },
        [&](int id) { events.add("finished " + std::to_string(id)); });
    while (!firstRunning)
        std::this_thread::sleep_for(1ms);
    int second = slot.start([&](const std::atomic<bool>& cancel) { events.add(cancel ? "cancelled" : "second ran"); },
                            nullptr, [&](int id) { events.add("finished " + std::to_string(id)); });
    while (slot.running())
        std::this_thread::sleep_for(1ms);
    slot.stop();
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(slot.currentJob(), second);
    std::vector<std::string> expected = {"started 1", "first saw cancel", "finished 1", "second ran",
                                         "finished 2"};
    EXPECT_EQ(events.lines, expected);
    EXPECT_FALSE(slot.running());
}

TEST(WorkerSlot, StopReturnsAsSoonAsTheJobSeesTheFlag)
{
    CWorkerSlot slot;
    slot.start(spinUntilCancelled, nullptr, nullptr);
    EXPECT_TRUE(slot.running());
    auto before = std::chrono::steady_clock::now();
    slot.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms);
    EXPECT_FALSE(slot.running());
    slot.stop(); // nothing running: no effect
}

TEST(WorkerSlot, AnExceptionOfAJobOrItsEndReachesTheStarterOnceAndAReplacedJobsIsDropped)
{
    const struct {
        const char* what;
        CWorkerSlot::Job job;
        CWorkerSlot::Notify finished;
    } cases[] = {
        {"job", [](const std::atomic<bool>&) { throw std::bad_alloc(); }, nullptr},
        {"finished", [](const std::atomic<bool>&) {}, [](int) { throw std::runtime_error("end"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CWorkerSlot slot;
        slot.start(c.job, nullptr, c.finished);
        slot.stop();
        EXPECT_TRUE(slot.takeFailure() != nullptr);
        EXPECT_TRUE(slot.takeFailure() == nullptr);
        slot.start(c.job, nullptr, c.finished);
        slot.start([](const std::atomic<bool>&) {}, nullptr, nullptr); // replaces the failed job
        slot.stop();
        EXPECT_TRUE(slot.takeFailure() == nullptr);
    }
}

TEST(ProgressRelay, ReaderSeesOnlyChangesAndTheLatestState)
{
    CProgressRelay relay;
    CProgressRelay::Snapshot s;
    EXPECT_FALSE(relay.takeChanged(s));
    relay.setRange(0, 500);
    for (int i = 0; i <= 300; ++i)
        relay.setPos(i);
    ASSERT_TRUE(relay.takeChanged(s));
    EXPECT_EQ(s.high, 500);
    EXPECT_EQ(s.pos, 300);
    EXPECT_FALSE(relay.takeChanged(s));
    relay.setPos(300);
    EXPECT_FALSE(relay.takeChanged(s));
    relay.setPos(0);
    EXPECT_TRUE(relay.takeChanged(s));
}

TEST(StatusRelay, ReaderGetsTheNewestLineOnce)
{
    CStatusRelay relay;
    std::string text;
    EXPECT_FALSE(relay.takeNewer(text));
    relay.setStatusText("1 \t Name: Table 18 Customer");
    relay.setStatusText("2 \t Name: Form 21 Customer Card");
    ASSERT_TRUE(relay.takeNewer(text));
    EXPECT_EQ(text, "2 \t Name: Form 21 Customer Card");
    EXPECT_FALSE(relay.takeNewer(text));
}
