#include "store/System.h"

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace cfront {

std::string hostName()
{
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

long processId()
{
    return static_cast<long>(getpid());
}

bool processGone(long long pid)
{
    return pid > 0 && kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
}

bool createOwnerOnlyFile(const std::string& path, std::string& reason)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::error_code ignored;
        const bool link = std::filesystem::is_symlink(path, ignored);
        reason = link ? "it is a symbolic link" : errno == EEXIST ? "the file exists" : std::strerror(errno);
        return false;
    }
    fchmod(fd, 0600); // whatever the umask
    close(fd);
    return true;
}

bool writable(const std::string& path)
{
    struct stat status{};
    return access(path.c_str(), W_OK) == 0 && stat(path.c_str(), &status) == 0 && (status.st_mode & 0222) != 0;
}

std::string moduleFolder(const void* address)
{
    Dl_info info{};
    if (dladdr(address, &info) == 0 || !info.dli_fname)
        return ".";
    return std::filesystem::path(info.dli_fname).parent_path().string();
}

} // namespace cfront
