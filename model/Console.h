#pragma once

#include <string>
#include <vector>

// The program's arguments as UTF-8, with the console made ready for UTF-8 output. POSIX: argv
// as given. Windows: argv from the wide command line (any character arrives), the console's
// output code page UTF-8 until the program ends, and standard output and error in binary mode,
// so a redirected file gets the same bytes as on POSIX.
std::vector<std::string> consoleArguments(int argc, char** argv);

// argv-style pointers to the texts of args, ending in a null pointer; valid while args is.
inline std::vector<char*> argumentPointers(std::vector<std::string>& args)
{
    std::vector<char*> pointers;
    for (std::string& arg : args)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    return pointers;
}
