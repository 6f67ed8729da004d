#include "model/FileReplace.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::atomic<unsigned> temporaryCounter{0};
}

CReplacingFile::CReplacingFile(std::string target, bool sync) : m_target(std::move(target)), m_sync(sync)
{
    // A name of this process and call: O_EXCL never opens someone else's file, and the mode
    // 0666 goes through the umask as it would for the target itself.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = m_target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(temporaryCounter++);
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0)
        m_temporary.clear();
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
            discard();
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return m_fd >= 0;
}

bool CReplacingFile::copyTarget()
{
    std::FILE* old = std::fopen(m_target.c_str(), "rb");
    if (old == nullptr)
        return errno == ENOENT ? ok() : (discard(), false);
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
    const bool synced = !m_sync || ::fsync(m_fd) == 0;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (synced && closed && std::rename(m_temporary.c_str(), m_target.c_str()) == 0) {
        m_temporary.clear();
        return true;
    }
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

bool replaceFile(const std::string& path, std::string_view bytes, bool sync)
{
    CReplacingFile file(path, sync);
    return file.write(bytes) && file.commit();
}
