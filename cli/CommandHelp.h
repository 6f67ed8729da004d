#pragma once

#include <string>
#include <string_view>
#include <vector>

// One option of a command in the help texts: its spelling with the value, and one line.
struct CliOptionHelp {
    const char* option;
    const char* text;
};

// One command of quellix-cli in the help texts. A new command adds one entry to the table in
// CommandHelp.cpp; the general help, the command's own help and the bash completion (which
// reads the general help) follow from it.
struct CliCommandHelp {
    const char* name;
    const char* arguments;   // what follows the name, e.g. "EXPORT TERM"
    const char* summary;     // one line
    std::vector<CliOptionHelp> options;
};

// The commands in the order the help lists them.
const std::vector<CliCommandHelp>& cliCommandHelp();
const CliCommandHelp* findCliCommandHelp(std::string_view name);

// "quellix-cli --help": the synopsis, then one line per command, then the help options.
std::string cliGeneralHelp();
// "quellix-cli COMMAND --help": the command's synopsis, its line, and one line per option.
std::string cliCommandHelpText(const CliCommandHelp& command);

// Answers --help, -h and --version anywhere in argv: writes the text to out and returns 0.
// Returns -1 when argv asks for none of them. "COMMAND --help" with an unknown command gives
// the general help on err and 2.
int answerHelpOrVersion(int argc, char** argv, std::string& out, std::string& err);
