#pragma once

#include "analysis/OperationTable.h"

#include <string>
#include <string_view>
#include <vector>

// One option of a command in the help texts: its spelling with the value, and one line.
using CliOptionHelp = OperationOption;

// One command of quellix-cli in the help texts. The commands that run an operation come from the
// operation table (analysis/OperationTable.h): their arguments and options follow from the kind
// of input the operation asks for and the row's own options, their line is the row's summary.
// Commands outside the table (db-objects) have an entry of their own in CommandHelp.cpp.
struct CliCommandHelp {
    const char* name;
    const char* arguments;   // what follows the name, e.g. "EXPORT TERM"
    const char* summary;     // one line
    std::vector<CliOptionHelp> options;
};

// The commands in the order the help lists them: the rows', then the others.
const std::vector<CliCommandHelp>& cliCommandHelp();
std::vector<CliCommandHelp> cliCommandHelp(const OperationRows& rows);
const CliCommandHelp* findCliCommandHelp(std::string_view name);

// "quellix-cli --help": the synopsis, then one line per command, then the common options.
std::string cliGeneralHelp();
std::string cliGeneralHelp(const std::vector<CliCommandHelp>& commands);
// "quellix-cli COMMAND --help": the command's synopsis, its line, and one line per option.
std::string cliCommandHelpText(const CliCommandHelp& command);

// Answers --help, -h and --version: writes the text to out and returns 0. Returns -1 when argv
// asks for none of them. "COMMAND --help" with an unknown command gives the general help on err
// and 2.
int answerHelpOrVersion(int argc, char** argv, std::string& out, std::string& err);

// The man page's entries of the rows' commands (troff: .TP, the command and its arguments, the
// summary as a sentence).
std::string manPageOperationCommands(const OperationRows& rows);
// The man page text with the lines '.\" operation commands' and '.\" check analyses' replaced by
// the rows' entries and the list of what `check` runs by default.
std::string manPageWithOperations(std::string_view page, const OperationRows& rows);
