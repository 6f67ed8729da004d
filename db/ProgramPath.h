#pragma once

#include <string>

// The program path the database commands and views use when the user gives none. It is the
// folder of the running program when that folder holds cfront/cfront.so (cfront\cfront.dll on
// Windows: the build tree, the unpacked zip);
// otherwise the installed library folder, <program folder>/../lib/quellix, when that holds it;
// otherwise the program folder (where the missing library is then reported).
std::string defaultProgramPath();

// The same rule for a given program folder.
std::string defaultProgramPathFor(const std::string& programFolder);

// The folder of the running program; "." when it cannot be told.
std::string runningProgramFolder();
