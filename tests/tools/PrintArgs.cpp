// print_args FILE ARGS...: writes the number of ARGS and each of them on a line of FILE (UTF-8),
// so a test sees exactly what a started program received.
#include "model/Console.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> args = consoleArguments(argc, argv);
    if (args.size() < 2)
        return 2;
    const std::filesystem::path file(std::u8string(args[1].begin(), args[1].end()));
    std::filesystem::path part = file;
    part += ".part";
    std::ofstream out(part, std::ios::binary);
    out << args.size() - 2 << "\n";
    for (size_t i = 2; i < args.size(); ++i)
        out << args[i] << "\n";
    out.close();
    // Renamed when complete, so the test never reads half of it.
    std::filesystem::rename(part, file);
    return 0;
}
