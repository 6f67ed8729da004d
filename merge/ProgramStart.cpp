#include "merge/ProgramStart.h"

#include <cstring>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

bool isExecutableFile(const std::string& path)
{
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

const char kPathListSeparator = ':';
const char* const kProgramSuffix = "";

bool startProgram(const std::vector<std::string>& argv, std::string& error)
{
    if (argv.empty() || argv[0].empty()) {
        error = "no program given";
        return false;
    }
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    // posix_spawn reports a failed exec (missing file, no permission, bad format) as its result.
    int rc = ::posix_spawn(&pid, argv[0].c_str(), nullptr, nullptr, args.data(), environ);
    if (rc != 0) {
        error = argv[0] + ": " + std::strerror(rc);
        return false;
    }
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
    return true;
}
