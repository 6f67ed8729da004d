#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// Opening and reading files as the platform wants it (POSIX calls; wide names and handles on
// Windows), and memory advice for the buffer a large export is read into.

// std::fopen of a UTF-8 file name: on Windows any character (umlauts, Cyrillic) and names longer
// than 260 characters open too. Null with errno set on failure.
std::FILE* openFile(const std::string& path, const char* mode);

// The reason for an errno value from openFile or readFileAt, in the system's words: strerror,
// except that on Windows a file another program holds open without sharing it is said so (the C
// library would call it "Permission denied", as for a file one may not read).
std::string fileErrorText(int error);

// A UTF-8 file name as a path for the standard streams and std::filesystem: on Windows the
// streams then open it by its wide name, so every character is kept.
inline std::filesystem::path fileSystemPath(const std::string& path)
{
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

// Reads size bytes at offset of f's file, without using or moving f's position, so several
// threads may read slices of one file at once. False with an errno value (0: end of file) in error.
bool readFileAt(std::FILE* f, char* into, std::size_t size, std::int64_t offset, int& error);

// Asks for large pages for the buffer [begin, begin + capacity); advice only.
void adviseLargePages(char* begin, std::size_t capacity);

// Has the pages of [begin, begin + size) made present now, by the calling thread; advice only.
void prefaultPages(char* begin, std::size_t size);
