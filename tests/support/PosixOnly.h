#pragma once

#include <gtest/gtest.h>

// Skips the running test (or every test of a fixture, from its SetUp) on Windows, saying which
// POSIX facility it needs. scripts/test-windows.sh covers the ground of the shell-driven ones with
// the Windows programs.
#ifdef _WIN32
#define SKIP_ON_WINDOWS(reason) GTEST_SKIP() << "needs POSIX: " << (reason)
#else
#define SKIP_ON_WINDOWS(reason) static_cast<void>(0)
#endif
