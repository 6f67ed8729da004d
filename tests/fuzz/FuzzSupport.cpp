#include "FuzzSupport.h"

#include <filesystem>
#include <unistd.h>

namespace fuzz {

const std::string& scratchFolder()
{
    // The process ID keeps parallel fuzzing jobs (-jobs=N) apart.
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / ("quellix-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder;
}

} // namespace fuzz
