#include "model/Console.h"

#include "model/WinText.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace {
UINT g_savedOutputCodePage = 0;

void restoreCodePage()
{
    if (g_savedOutputCodePage != 0)
        SetConsoleOutputCP(g_savedOutputCodePage);
}
} // namespace

std::vector<std::string> consoleArguments(int argc, char** argv)
{
    g_savedOutputCodePage = GetConsoleOutputCP();
    if (g_savedOutputCodePage != 0 && SetConsoleOutputCP(CP_UTF8))
        std::atexit(restoreCodePage);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i)
        args.push_back(narrow(wide[i]));
    LocalFree(wide);
    return args;
}
