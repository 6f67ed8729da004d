#include "model/FileAccess.h"

#include <cerrno>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

std::FILE* openFile(const std::string& path, const char* mode)
{
    return std::fopen(path.c_str(), mode);
}

std::string fileErrorText(int error)
{
    return std::strerror(error);
}

bool readFileAt(std::FILE* f, char* into, std::size_t size, std::int64_t offset, int& error)
{
    const int fd = fileno(f);
    while (size > 0) {
        const ssize_t got = pread(fd, into, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = got < 0 ? errno : 0;
            return false;
        }
        into += got;
        size -= static_cast<std::size_t>(got);
        offset += got;
    }
    return true;
}

// 2 MB pages: a file of hundreds of MB otherwise costs a page fault per 4 KB when it is first
// written, and a TLB miss per 4 KB on every later pass.
void adviseLargePages(char* begin, std::size_t capacity)
{
    constexpr std::uintptr_t kLarge = 2u << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t first = (start + kLarge - 1) & ~(kLarge - 1);
    const std::uintptr_t last = (start + capacity) & ~(kLarge - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

void prefaultPages(char* begin, std::size_t size)
{
#ifdef MADV_POPULATE_WRITE
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t from = (start + page - 1) & ~(page - 1);
    const std::uintptr_t to = (start + size) & ~(page - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
    (void)begin;
    (void)size;
#endif
}
