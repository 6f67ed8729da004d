#pragma once

// Given to every Windows compile ahead of the source (-include): the POSIX calls the sources use
// that the Windows C runtime lacks or hides, so no source needs a platform branch for them.

// localtime_r and gmtime_r, which mingw-w64's <time.h> declares only with this set.
#ifndef _POSIX_THREAD_SAFE_FUNCTIONS
#define _POSIX_THREAD_SAFE_FUNCTIONS 200112L
#endif

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif
// The first occurrence of needle in haystack, or null; model/CompatWin.cpp.
void* memmem(const void* haystack, size_t haystackSize, const void* needle, size_t needleSize);
// The last byte c among the first size bytes at s, or null; model/CompatWin.cpp.
void* memrchr(const void* s, int c, size_t size);
// The environment variable name set to value (replaced only when overwrite is not 0), and
// removed: POSIX's calls over the C runtime's _putenv_s; model/CompatWin.cpp.
int setenv(const char* name, const char* value, int overwrite);
int unsetenv(const char* name);
#ifdef __cplusplus
}
#endif
