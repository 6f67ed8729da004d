#pragma once

#include <atomic>

// Ctrl+C stops a long command instead of ending the process: it sets flag, which the command
// checks. POSIX: SIGINT and SIGTERM; Windows: Ctrl+C, Ctrl+Break and closing the console. flag
// must live as long as the process.
void stopOnInterrupt(std::atomic<bool>& flag);
