#include "store/System.h"

#include "model/WinText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace cfront {

std::string hostName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? narrow(std::wstring(name, size)) : std::string();
}

long processId()
{
    return static_cast<long>(GetCurrentProcessId());
}

bool processGone(long long pid)
{
    if (pid <= 0)
        return false;
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr)
        return GetLastError() == ERROR_INVALID_PARAMETER;
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

bool createOwnerOnlyFile(const std::string& path, std::string& reason)
{
    // The user's own folders keep other users out; the file gets no wider rights than they give.
    const int fd = _wopen(widePath(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                          _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        reason = errno == EEXIST ? "the file exists" : std::strerror(errno);
        return false;
    }
    _close(fd);
    return true;
}

bool writable(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY);
}

std::string moduleFolder(const void* address)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module))
        return ".";
    wchar_t name[32768];
    const DWORD length = GetModuleFileNameW(module, name, 32768);
    if (length == 0 || length >= 32768)
        return ".";
    std::wstring file(name, length);
    const size_t slash = file.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::string(".") : narrow(file.substr(0, slash));
}

} // namespace cfront
