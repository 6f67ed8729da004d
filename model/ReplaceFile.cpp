// What the POSIX and the Windows replacing file share.
#include "model/FileReplace.h"

#include <cerrno>
#include <cstring>

std::string CReplacingFile::failure() const
{
    if (!m_reason.empty())
        return m_target + ": " + m_reason;
    return m_target + ": " + std::strerror(m_error != 0 ? m_error : EIO);
}

bool replaceFile(const std::string& path, std::string_view bytes, bool sync, std::string* reason)
{
    CReplacingFile file(path, sync);
    if (file.write(bytes) && file.commit())
        return true;
    if (reason != nullptr)
        *reason = file.failure();
    return false;
}
