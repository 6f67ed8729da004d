#include "db/PasswordPrompt.h"

#include "model/WinText.h"

#include <iostream>

namespace {
// The console's input line as UTF-8, without the line end; false at end of input.
bool readConsoleLine(HANDLE input, std::string& line)
{
    std::wstring wide;
    wchar_t c = 0;
    DWORD got = 0;
    while (ReadConsoleW(input, &c, 1, &got, nullptr) && got == 1) {
        if (c == L'\r')
            continue;
        if (c == L'\n') {
            line = narrow(wide);
            return true;
        }
        wide += c;
    }
    line = narrow(wide);
    return !wide.empty();
}
} // namespace

bool readPassword(const std::string& prompt, std::string& password)
{
    password.clear();
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD saved = 0;
    if (input != INVALID_HANDLE_VALUE && GetConsoleMode(input, &saved)) {
        std::cerr << prompt << std::flush;
        SetConsoleMode(input, (saved | ENABLE_LINE_INPUT) & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
        const bool ok = readConsoleLine(input, password);
        SetConsoleMode(input, saved);
        std::cerr << "\n";
        return ok;
    }
    if (!std::getline(std::cin, password))
        return false;
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    return true;
}
