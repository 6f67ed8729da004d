#pragma once

#include <ctime>
#include <string>

class CResultList;

// CR LF, CR LF, "Quellix-Analyse vom YYYY-MM-DD HH:MM:SS", CR LF (local date and time of now).
std::string exportHeader(std::time_t now);
// The text the clipboard copy and the file export write: the dated header, then the list text
// with TAB between cells and CR LF at line ends.
std::string buildExportText(const CResultList& list, std::time_t now);
// Appends text at the end of path, creating the file when it is missing; never truncates. The
// result replaces the file at once: when writing fails, the old file stays as it was.
bool appendToFile(const std::string& path, const std::string& text);
