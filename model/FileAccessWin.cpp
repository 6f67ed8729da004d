#include "model/FileAccess.h"

#include "model/WinText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <io.h>

std::FILE* openFile(const std::string& path, const char* mode)
{
    std::FILE* file = _wfopen(widePath(path).c_str(), widen(mode).c_str());
    if (file == nullptr) {
        const DWORD error = GetLastError();
        if (errno == ENOENT)
            errno = missingPathError(path);
        else if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
            errno = EBUSY; // the C library says EACCES, as for a file one may not read
    }
    return file;
}

std::string fileErrorText(int error)
{
    return error == EBUSY ? systemErrorText(ERROR_SHARING_VIOLATION) : std::string(std::strerror(error));
}

bool readFileAt(std::FILE* f, char* into, std::size_t size, std::int64_t offset, int& error)
{
    const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
    while (size > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
        DWORD got = 0;
        const DWORD step = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (!ReadFile(file, into, step, &got, &at) || got == 0) {
            error = got == 0 && GetLastError() == ERROR_HANDLE_EOF ? 0 : EIO;
            return false;
        }
        into += got;
        size -= got;
        offset += got;
    }
    return true;
}

void adviseLargePages(char*, std::size_t)
{
}

void prefaultPages(char*, std::size_t)
{
}
