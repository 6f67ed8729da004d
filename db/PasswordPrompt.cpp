#include "db/PasswordPrompt.h"

#include <cstdio>
#include <iostream>
#include <termios.h>
#include <unistd.h>

bool readPassword(const std::string& prompt, std::string& password)
{
    password.clear();
    bool terminal = isatty(STDIN_FILENO) == 1;
    termios saved{};
    if (terminal && tcgetattr(STDIN_FILENO, &saved) == 0) {
        termios quiet = saved;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        std::cerr << prompt << std::flush;
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        bool ok = static_cast<bool>(std::getline(std::cin, password));
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::cerr << "\n";
        return ok;
    }
    if (!std::getline(std::cin, password))
        return false;
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    return true;
}
