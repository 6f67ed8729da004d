#include "model/FileReplace.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::atomic<unsigned> temporaryCounter{0};
}

namespace {

enum class TargetKind { Replace, InPlace, Refused };

bool underSystemFolder(const std::string& path)
{
    return path.rfind("/dev/", 0) == 0 || path.rfind("/proc/", 0) == 0;
}

// The path a new file is created at: the target itself, or where its chain of symbolic links ends
// (a link to a file not there yet makes that file).
std::string linkEnd(std::string path)
{
    struct stat info;
    for (int hop = 0; hop < 40 && ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode); ++hop) {
        std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t got = ::readlink(path.c_str(), link.data(), link.size());
        if (got < 0 || static_cast<std::size_t>(got) >= link.size())
            break;
        link.resize(static_cast<std::size_t>(got));
        const std::size_t slash = path.rfind('/');
        path = link.front() == '/' || slash == std::string::npos ? link : path.substr(0, slash + 1) + link;
    }
    return path;
}

// How target is written; resolved becomes the path the temporary file is renamed over.
TargetKind targetKind(const std::string& target, std::string& resolved)
{
    struct stat info;
    if (::stat(target.c_str(), &info) != 0) {
        resolved = linkEnd(target);
        return errno == ENOENT ? TargetKind::Replace : TargetKind::Refused;
    }
    if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode))
        return TargetKind::InPlace;
    if (!S_ISREG(info.st_mode))
        return TargetKind::Refused;
    // /dev/stdout and its kin name whatever the shell opened: a rename would take the file away
    // from under the redirection.
    if (underSystemFolder(target))
        return TargetKind::InPlace;
    char* real = ::realpath(target.c_str(), nullptr);
    resolved = real != nullptr ? real : target;
    std::free(real);
    return TargetKind::Replace;
}

} // namespace

CReplacingFile::CReplacingFile(std::string target, bool sync) : m_target(std::move(target)), m_sync(sync)
{
    std::string resolved = m_target;
    const TargetKind kind = targetKind(m_target, resolved);
    if (kind == TargetKind::Refused) {
        struct stat info;
        noteError(::stat(m_target.c_str(), &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
        return;
    }
    if (kind == TargetKind::InPlace) {
        m_inPlace = true;
        m_fd = ::open(m_target.c_str(), O_WRONLY | O_CLOEXEC);
        if (m_fd < 0)
            noteError(errno);
        return;
    }
    m_target = resolved;
    // A name of this process and call: O_EXCL never opens someone else's file, and the mode
    // 0666 goes through the umask as it would for the target itself.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = m_target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(temporaryCounter++);
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        noteError(errno);
        m_temporary.clear();
    }
    struct stat old;
    if (m_fd >= 0 && ::stat(m_target.c_str(), &old) == 0)
        ::fchmod(m_fd, old.st_mode & 07777); // a replaced file keeps its permissions
}

CReplacingFile::~CReplacingFile()
{
    discard();
}

bool CReplacingFile::write(std::string_view bytes)
{
    while (m_fd >= 0 && !bytes.empty()) {
        const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
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
    if (m_inPlace) {
        ::lseek(m_fd, 0, SEEK_END); // appends to a file behind /dev/stdout; a device has no end
        return ok();
    }
    std::FILE* old = std::fopen(m_target.c_str(), "rb");
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
    if (m_inPlace) {
        // A file reached through /dev/stdout ends where the writing ended.
        struct stat info;
        const off_t end = ::lseek(m_fd, 0, SEEK_CUR);
        const bool cut = ::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode) || end < 0 || ::ftruncate(m_fd, end) == 0;
        if (!cut)
            noteError(errno);
        const bool closed = ::close(m_fd) == 0;
        if (!closed)
            noteError(errno);
        m_fd = -1;
        return cut && closed;
    }
    const bool synced = !m_sync || ::fsync(m_fd) == 0;
    if (!synced)
        noteError(errno);
    const bool closed = ::close(m_fd) == 0;
    if (!closed)
        noteError(errno);
    m_fd = -1;
    if (synced && closed && std::rename(m_temporary.c_str(), m_target.c_str()) == 0) {
        m_temporary.clear();
        return true;
    }
    noteError(errno);
    ::unlink(m_temporary.c_str());
    m_temporary.clear();
    return false;
}

void CReplacingFile::discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}
