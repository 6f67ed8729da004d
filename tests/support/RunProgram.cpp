#include "support/RunProgram.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string readAndRemove(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::remove(path.c_str());
    return bytes;
}

int temporaryFile(std::string& path)
{
    path = "/tmp/quellix-run-XXXXXX";
    return ::mkstemp(path.data());
}

} // namespace

ProgramRun runProgram(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment,
                      long killAfterMicroseconds)
{
    std::string outPath, errPath;
    const int out = temporaryFile(outPath);
    const int err = temporaryFile(errPath);
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e)
        environment.emplace_back(*e);
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> args, envp;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string& e : environment)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execve(args[0], args.data(), envp.data());
        ::_exit(127);
    }
    ::close(out);
    ::close(err);
    ProgramRun run;
    int status = 0;
    if (child > 0 && killAfterMicroseconds > 0) {
        ::usleep(static_cast<useconds_t>(killAfterMicroseconds));
        ::kill(child, SIGKILL); // nothing happens when it has ended: it stays a zombie until waited for
    }
    if (child > 0 && ::waitpid(child, &status, 0) == child) {
        if (WIFEXITED(status))
            run.exitStatus = WEXITSTATUS(status);
        else if (WIFSIGNALED(status))
            run.signal = WTERMSIG(status);
    }
    run.out = readAndRemove(outPath);
    run.err = readAndRemove(errPath);
    return run;
}
