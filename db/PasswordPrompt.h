#pragma once

#include <string>

// Reads a password: from the terminal without echo when standard input is one (the prompt goes
// to standard error), otherwise one line of standard input. Returns false when nothing could be
// read (end of input).
bool readPassword(const std::string& prompt, std::string& password);
