#include "admin/SessionHold.h"

#include "model/StopSignal.h"
#include "store/System.h"

#include <atomic>
#include <chrono>
#include <iostream>
#include <thread>

namespace cfront {
namespace {

std::atomic<bool> g_stop{false};

int64_t share(int64_t total, double part)
{
    return static_cast<int64_t>(static_cast<double>(total) * part);
}

} // namespace

int holdSession(Database& db, const std::string& user, int64_t holdSeconds, const SessionCounters& target)
{
    stopOnInterrupt(g_stop);

    int64_t id = addSession(db, user, hostName(), processId(), nullptr);
    std::cout << "session " << id << std::endl;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto end = start + std::chrono::seconds(holdSeconds);
    for (auto now = start; !g_stop; now = Clock::now()) {
        double part = now >= end ? 1.0 : std::chrono::duration<double>(now - start).count() /
                                              static_cast<double>(holdSeconds);
        SessionCounters counters{share(target.found, part), share(target.found, part), share(target.inserted, part),
                                 share(target.deleted, part), share(target.modified, part)};
        setSessionCounters(db, id, counters);
        if (now >= end)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    removeSession(db, id);
    return 0;
}

} // namespace cfront
