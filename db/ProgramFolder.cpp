#include "db/ProgramPath.h"

#include <filesystem>

std::string runningProgramFolder()
{
    std::error_code error;
    auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : program.parent_path().string();
}
