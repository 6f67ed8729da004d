#include "model/Console.h"

std::vector<std::string> consoleArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}
