#include "db/ProgramPath.h"

#include "db/CFrontLibrary.h"

#include <filesystem>

// Where the installed library folder lies, seen from the folder of the installed programs; set by
// the build from the install directories.
#ifndef QUELLIX_INSTALLED_PROGRAM_PATH
#define QUELLIX_INSTALLED_PROGRAM_PATH "../lib/quellix"
#endif

namespace {
bool holdsLibrary(const std::filesystem::path& folder)
{
    std::error_code error;
    return std::filesystem::is_regular_file(CFrontLibrary::libraryFilePath(folder.string()), error);
}
} // namespace

std::string defaultProgramPathFor(const std::string& programFolder)
{
    const std::filesystem::path folder(programFolder);
    if (holdsLibrary(folder))
        return programFolder;
    const std::filesystem::path installed = (folder / QUELLIX_INSTALLED_PROGRAM_PATH).lexically_normal();
    if (holdsLibrary(installed))
        return installed.string();
    // Without the library anywhere the message names where it belongs: for an installed program
    // (in a bin folder) the folder its package puts it in, for a build tree the program's own.
    return folder.filename() == "bin" ? installed.string() : programFolder;
}

std::string defaultProgramPath()
{
    return defaultProgramPathFor(runningProgramFolder());
}
