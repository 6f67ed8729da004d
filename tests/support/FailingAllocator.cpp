// Replaces the global operator new and delete of a test build of a program so that memory can run
// short on purpose:
//   QUELLIX_FAIL_ALLOC=N         the Nth request of the process (counted from 1, on every thread)
//                                fails: std::bad_alloc, or null for the nothrow forms;
//   QUELLIX_FAIL_ALLOC_COUNT=F   at exit, the number of requests made is written to the file F,
//                                so a test knows the range of N to sweep.
// A test linked with it picks the failing request of one thread itself (FailingAllocator.h).
// Linked only into the test builds of the programs (never the shipped ones).
#include "FailingAllocator.h"

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long long> g_requests{0};
// Requests of this thread until the one that fails; 0: none is to fail.
thread_local long long t_untilFailure = 0;

long long failingRequest()
{
    static const long long n = [] {
        const char* value = std::getenv("QUELLIX_FAIL_ALLOC");
        return value == nullptr ? -1LL : std::atoll(value);
    }();
    return n;
}

void writeCount()
{
    if (const char* path = std::getenv("QUELLIX_FAIL_ALLOC_COUNT")) {
        if (std::FILE* file = std::fopen(path, "w")) {
            std::fprintf(file, "%lld\n", g_requests.load());
            std::fclose(file);
        }
    }
}

const bool g_countAtExit = [] {
    if (std::getenv("QUELLIX_FAIL_ALLOC_COUNT") != nullptr)
        std::atexit(writeCount);
    return true;
}();

// True when this request is the one that must fail.
bool mustFail()
{
    const bool nth = g_requests.fetch_add(1, std::memory_order_relaxed) + 1 == failingRequest();
    return (t_untilFailure > 0 && --t_untilFailure == 0) || nth;
}

void* allocate(std::size_t size, std::size_t alignment)
{
    if (mustFail())
        return nullptr;
    if (size == 0)
        size = 1;
    if (alignment <= alignof(std::max_align_t))
        return std::malloc(size);
    return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
}

void* allocateOrThrow(std::size_t size, std::size_t alignment)
{
    void* p = allocate(size, alignment);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

} // namespace

void failAllocationOnThisThread(long long n)
{
    t_untilFailure = n;
}

void* operator new(std::size_t size) { return allocateOrThrow(size, 0); }
void* operator new[](std::size_t size) { return allocateOrThrow(size, 0); }
void* operator new(std::size_t size, std::align_val_t a) { return allocateOrThrow(size, static_cast<std::size_t>(a)); }
void* operator new[](std::size_t size, std::align_val_t a) { return allocateOrThrow(size, static_cast<std::size_t>(a)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size, 0); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size, 0); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return allocate(size, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return allocate(size, static_cast<std::size_t>(a));
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
