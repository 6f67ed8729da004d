#pragma once

#include <string>
#include <vector>

// True when path names a regular file this process may execute.
bool isExecutableFile(const std::string& path);

// The first of the diff programs meld, kdiff3, kompare and diffuse found as an executable file in
// the folders of pathVariable (a PATH value, folders separated by kPathListSeparator; on Windows
// the names end in ".exe"); empty when none is there.
std::string findDiffProgram(const std::string& pathVariable);
extern const char kPathListSeparator;
extern const char* const kProgramSuffix;

// The command line that hands argv to a Windows program one argument each, as the C runtime and
// CommandLineToArgvW split it: the program name in quotes, an argument with blanks, tabs or quotes
// (or none at all) in quotes with its quotes and the backslashes before them escaped.
std::string windowsCommandLine(const std::vector<std::string>& argv);

// Starts argv[0] with the arguments argv (each one argument as it stands: no shell, no splitting)
// and does not wait for it; the child is reaped in the background. False with a one-line reason
// when the program cannot be started.
bool startProgram(const std::vector<std::string>& argv, std::string& error);
