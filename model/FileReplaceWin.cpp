#include "model/FileReplace.h"

#include "model/WinText.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace {
std::atomic<unsigned> temporaryCounter{0};

// Whether a rename over target failed because another program holds it open without sharing it
// (Windows answers "access denied" for that as for a read-only file).
bool inUse(DWORD error, const std::wstring& target)
{
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return true;
    if (error != ERROR_ACCESS_DENIED)
        return false;
    const HANDLE probe = CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(probe);
    return false;
}
} // namespace

CReplacingFile::CReplacingFile(std::string target, bool sync) : m_target(std::move(target)), m_sync(sync)
{
    // A folder is never replaced, and Windows refuses the rename over a read-only file: both are
    // said before anything is written, so no temporary file is left and the reason is the same
    // as on POSIX.
    const DWORD attributes = GetFileAttributesW(widePath(m_target).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        noteError(EISDIR);
        return;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        noteError(EACCES);
        return;
    }
    // _O_EXCL never opens someone else's file; the name is of this process and call.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = m_target + ".tmp" + std::to_string(GetCurrentProcessId()) + "-" +
                      std::to_string(temporaryCounter++);
        m_fd = _wopen(widePath(m_temporary).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                      _S_IREAD | _S_IWRITE);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        noteError(errno == ENOENT ? missingPathError(m_target) : errno);
        m_temporary.clear();
    }
}

CReplacingFile::~CReplacingFile()
{
    discard();
}

bool CReplacingFile::write(std::string_view bytes)
{
    while (m_fd >= 0 && !bytes.empty()) {
        const unsigned step = static_cast<unsigned>(std::min<size_t>(bytes.size(), 1u << 30));
        const int written = _write(m_fd, bytes.data(), step);
        if (written <= 0) {
            noteError(written < 0 ? errno : ENOSPC);
            discard();
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return m_fd >= 0;
}

bool CReplacingFile::copyTarget()
{
    std::FILE* old = _wfopen(widePath(m_target).c_str(), L"rb");
    if (old == nullptr)
        return errno == ENOENT ? ok() : (noteError(errno), discard(), false);
    char buffer[65536];
    std::size_t got = 0;
    bool good = ok();
    while (good && (got = std::fread(buffer, 1, sizeof buffer, old)) > 0)
        good = write(std::string_view(buffer, got));
    good = good && !std::ferror(old);
    std::fclose(old);
    if (!good)
        discard();
    return good;
}

bool CReplacingFile::commit()
{
    if (m_fd < 0)
        return false;
    const bool synced = !m_sync || _commit(m_fd) == 0;
    if (!synced)
        noteError(errno);
    const bool closed = _close(m_fd) == 0;
    if (!closed)
        noteError(errno);
    m_fd = -1;
    const std::wstring temporary = widePath(m_temporary);
    const std::wstring target = widePath(m_target);
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (m_sync ? MOVEFILE_WRITE_THROUGH : 0);
    if (synced && closed) {
        if (MoveFileExW(temporary.c_str(), target.c_str(), flags)) {
            m_temporary.clear();
            return true;
        }
        if (m_error == 0 && inUse(GetLastError(), target))
            m_reason = systemErrorText(ERROR_SHARING_VIOLATION);
        noteError(EACCES);
    }
    DeleteFileW(temporary.c_str());
    m_temporary.clear();
    return false;
}

void CReplacingFile::discard()
{
    if (m_fd >= 0)
        _close(m_fd);
    m_fd = -1;
    if (!m_temporary.empty())
        DeleteFileW(widePath(m_temporary).c_str());
    m_temporary.clear();
}
