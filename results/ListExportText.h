#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

class CResultList;

// CR LF, CR LF, "Quellix-Analyse vom YYYY-MM-DD HH:MM:SS", CR LF (local date and time of now).
std::string exportHeader(std::time_t now);
// The text the clipboard copy and the file export write: the dated header, then the list text
// with TAB between cells and CR LF at line ends.
std::string buildExportText(const CResultList& list, std::time_t now);
// The same list text with every heading and cell read back through a buffer of cellBufferBytes
// (its terminating zero included): cut to cellBufferBytes - 1 bytes, then CR LF pairs removed.
std::string buildExportText(const CResultList& list, std::time_t now, size_t cellBufferBytes);
// The list text of some rows: the heading line, then the given rows in the given order (every row
// when rows is empty), with TAB after every cell and CR LF at line ends. Rows out of range are skipped.
std::string listTextOfRows(const CResultList& list, const std::vector<int>& rows);
// Appends text at the end of path, creating the file when it is missing; never truncates. The
// result replaces the file at once: when writing fails, the old file stays as it was.
bool appendToFile(const std::string& path, const std::string& text);
