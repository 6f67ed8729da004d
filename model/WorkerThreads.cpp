#include "model/WorkerThreads.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

std::atomic<int> g_override{0};

int environmentThreads()
{
    const char* value = std::getenv("QUELLIX_THREADS");
    if (value == nullptr || *value == '\0')
        return 0;
    char* end = nullptr;
    const long n = std::strtol(value, &end, 10);
    if (*end != '\0' || n < 1)
        return 0;
    return static_cast<int>(std::min<long>(n, 256));
}

// What the workers and the merging thread share.
struct InOrderState {
    std::mutex mutex;
    std::condition_variable itemDone;
    std::vector<char> done;
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    int running = 0;
    std::exception_ptr error;
};

void workLoop(InOrderState& s, int worker, int count, const std::function<void(int, int)>& work,
              const std::function<bool()>& stop)
{
    for (;;) {
        if (s.failed.load(std::memory_order_relaxed) || stop())
            break;
        const int i = s.next.fetch_add(1);
        if (i >= count)
            break;
        try {
            work(i, worker);
        } catch (...) {
            std::lock_guard lock(s.mutex);
            if (!s.error)
                s.error = std::current_exception();
            s.failed = true;
            break;
        }
        {
            std::lock_guard lock(s.mutex);
            s.done[static_cast<size_t>(i)] = 1;
        }
        s.itemDone.notify_one();
    }
    {
        std::lock_guard lock(s.mutex);
        --s.running;
    }
    s.itemDone.notify_one();
}

} // namespace

int workerThreads()
{
    if (int n = g_override.load(); n > 0)
        return n;
    if (int n = environmentThreads(); n > 0)
        return n;
    return std::max(1u, std::thread::hardware_concurrency());
}

void setWorkerThreads(int count) { g_override = std::max(0, count); }

int workersFor(int count) { return std::max(1, std::min(workerThreads(), count)); }

void runInOrder(int count, const std::function<void(int, int)>& work, const std::function<void(int)>& merge,
                const std::function<bool()>& stop)
{
    const int threads = workersFor(count);
    if (threads <= 1) {
        for (int i = 0; i < count && !stop(); ++i) {
            work(i, 0);
            merge(i);
        }
        return;
    }
    InOrderState s;
    s.done.assign(static_cast<size_t>(count), 0);
    std::vector<std::thread> pool;
    pool.reserve(static_cast<size_t>(threads));
    for (int t = 0; t < threads; ++t) {
        {
            std::lock_guard lock(s.mutex);
            ++s.running;
        }
        try {
            pool.emplace_back(workLoop, std::ref(s), t, count, std::cref(work), std::cref(stop));
        } catch (const std::exception&) {
            // No thread to spare (or no memory for one): the ones already started do every item.
            std::lock_guard lock(s.mutex);
            --s.running;
            break;
        }
    }
    if (pool.empty()) {
        for (int i = 0; i < count && !stop(); ++i) {
            work(i, 0);
            merge(i);
        }
        return;
    }
    try {
        for (int i = 0; i < count && !stop(); ++i) {
            {
                std::unique_lock lock(s.mutex);
                s.itemDone.wait(lock, [&] { return s.done[static_cast<size_t>(i)] != 0 || s.running == 0; });
                if (s.done[static_cast<size_t>(i)] == 0)
                    break;
            }
            merge(i);
        }
    } catch (...) {
        s.failed = true;
        for (std::thread& t : pool)
            t.join();
        throw;
    }
    for (std::thread& t : pool)
        t.join();
    if (s.error)
        std::rethrow_exception(s.error);
}

void runSlices(int slices, const std::function<void(int)>& work)
{
    if (slices <= 1) {
        if (slices == 1)
            work(0);
        return;
    }
    std::vector<std::exception_ptr> errors(static_cast<size_t>(slices));
    std::vector<char> onCaller(static_cast<size_t>(slices), 0);
    std::vector<std::thread> pool;
    pool.reserve(static_cast<size_t>(slices - 1));
    auto guarded = [&](int k) {
        try {
            work(k);
        } catch (...) {
            errors[static_cast<size_t>(k)] = std::current_exception();
        }
    };
    for (int k = 1; k < slices; ++k) {
        try {
            pool.emplace_back(guarded, k);
        } catch (const std::exception&) {
            onCaller[static_cast<size_t>(k)] = 1;
        }
    }
    guarded(0);
    for (int k = 1; k < slices; ++k)
        if (onCaller[static_cast<size_t>(k)] != 0)
            guarded(k);
    for (std::thread& t : pool)
        t.join();
    for (const std::exception_ptr& error : errors)
        if (error)
            std::rethrow_exception(error);
}
