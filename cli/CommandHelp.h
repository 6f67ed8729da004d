#pragma once

#include <string>
#include <string_view>
#include <vector>

// One option of a command in the help texts: its spelling with the value, and one line.
struct CliOptionHelp {
    const char* option;
    const char* text;
};

// One command of quellix-cli in the help texts. The commands that run an operation come from the
// operation table (analysis/OperationTable.h): their arguments and options follow from the kind
// of input the operation asks for, their line from the summaries in CommandHelp.cpp (the
// operation's last-action text when it has none there). Commands outside the table (db-objects)
// have an entry of their own in CommandHelp.cpp.
struct CliCommandHelp {
    const char* name;
    const char* arguments;   // what follows the name, e.g. "EXPORT TERM"
    const char* summary;     // one line
    std::vector<CliOptionHelp> options;
};

// What an analysis finds and why that matters, in a few sentences (the SARIF rule's full
// description); null for a command without such a text.
const char* cliCommandDetails(std::string_view name);

// The commands in the order the help lists them.
const std::vector<CliCommandHelp>& cliCommandHelp();
const CliCommandHelp* findCliCommandHelp(std::string_view name);

// "quellix-cli --help": the synopsis, then one line per command, then the common options.
std::string cliGeneralHelp();
// "quellix-cli COMMAND --help": the command's synopsis, its line, and one line per option.
std::string cliCommandHelpText(const CliCommandHelp& command);

// Answers --help, -h and --version: writes the text to out and returns 0. Returns -1 when argv
// asks for none of them. "COMMAND --help" with an unknown command gives the general help on err
// and 2.
int answerHelpOrVersion(int argc, char** argv, std::string& out, std::string& err);
