#pragma once

#include <string>

// Turns every LF that is not preceded by CR into CR LF.
void normalizeLineEnds(std::string& text);

// Reads an export file whole into its final buffer and, in one pass, normalises its line ends and
// converts it from the process-wide OEM code page to ANSI. On failure returns false and leaves a one-line reason in error.
bool readExportFile(const std::string& path, std::string& text, std::string& error);
