#pragma once

#include <string>
#include <vector>

// How a program started by runProgram ended, with what it wrote.
struct ProgramRun {
    int exitStatus = -1; // -1 when it did not exit by itself
    int signal = 0;      // the signal that ended it, 0 when it exited
    std::string out;
    std::string err;
};

// Runs argv[0] with the arguments argv[1..], the environment plus extraEnvironment ("NAME=value"
// each), standard input from /dev/null, and waits for it.
// With killAfterMicroseconds > 0 the program is sent SIGKILL that long after its start, unless it
// has ended before.
ProgramRun runProgram(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment = {},
                      long killAfterMicroseconds = 0);
