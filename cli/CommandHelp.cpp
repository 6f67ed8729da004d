#include "cli/CommandHelp.h"

#include "analysis/OperationTable.h"
#include "QuellixVersion.h"

#include <algorithm>
#include <cctype>

namespace {

const CliOptionHelp kOemOption = {"--oem 850|437", "OEM code page of the export (default 850)"};

// Options of every command that prints a list read from an export.
const std::vector<CliOptionHelp> kListOptions = {
    kOemOption,
    {"--locations", "add the columns ItemData and Position"},
    {"--ansi", "write the raw Windows-1252 bytes instead of UTF-8"},
    {"--format tsv|json|sarif", "tab-separated lines (default), one JSON document, or a SARIF 2.1.0 log"},
    {"--baseline FILE", "leave out the findings that FILE (from --write-baseline) holds"},
    {"--write-baseline FILE", "write this run's findings to FILE, one sorted line each"},
    {"--fail-on-findings", "exit status 3 when rows remain"},
};

std::vector<CliOptionHelp> checkOptions()
{
    std::vector<CliOptionHelp> options = {
        {"--only NAME,NAME...", "run only the named analyses (unused-variables, once-used ...)"}};
    options.insert(options.end(), kListOptions.begin(), kListOptions.end());
    return options;
}

// Commands that run no operation of the table.
const std::vector<CliCommandHelp> kOtherCommands = {
    {"check", "EXPORT", "every analysis over one load; a first column names the analysis", checkOptions()},
    {"db-objects", "--server SERVER|DATABASE", "a database's Object table through C/FRONT",
     {{"--server SERVER|DATABASE", "the server, or the database file with --net lokal"},
      {"--net tcp|netb|lokal", "network type (default tcp)"},
      {"--program-path DIR", "folder holding cfront/cfront.so (default: the program's, else the installed one)"},
      {"--license FILE", "licence file"},
      {"--user USER", "user name; the password comes from QUELLIX_DB_PASSWORD or a prompt"},
      {"--oem 850|437", "OEM code page of the database texts (default 850)"},
      {"--format tsv|json|sarif", "tab-separated lines (default), one JSON document, or a SARIF 2.1.0 log"}}},
    {"db-compare", "--server1 SERVER|DATABASE --server2 SERVER|DATABASE",
     "two databases' objects found in one only or differing in date, time, name or version",
     {{"--server1 SERVER|DATABASE", "database 1: the server, or the database file with --net1 lokal"},
      {"--net1 tcp|netb|lokal", "database 1's network type (default tcp)"},
      {"--program-path1 DIR", "folder holding cfront/cfront.so (default: the program's, else the installed one)"},
      {"--license1 FILE", "database 1's licence file"},
      {"--user1 USER", "database 1's user; the password comes from QUELLIX_DB1_PASSWORD or a prompt"},
      {"--server2 SERVER|DATABASE", "database 2, as database 1"},
      {"--net2 tcp|netb|lokal", "database 2's network type (default tcp)"},
      {"--program-path2 DIR", "database 2's program path"},
      {"--license2 FILE", "database 2's licence file"},
      {"--user2 USER", "database 2's user; the password comes from QUELLIX_DB2_PASSWORD or a prompt"},
      {"--all-types", "also XMLports, MenuSuites, Pages and Queries (types 6 to 9), under their own names"},
      {"--ansi", "write the raw ANSI bytes instead of UTF-8"},
      {"--oem 850|437", "OEM code page of the database texts (default 850)"},
      {"--format tsv|json", "tab-separated lines (default) or one JSON document; no sarif: differences are not findings"}}},
    {"db-watch", "--server SERVER|DATABASE", "objects changed since each request, until N requests or Ctrl+C",
     {{"--server SERVER|DATABASE", "the server, or the database file with --net lokal"},
      {"--net tcp|netb|lokal", "network type (default tcp)"},
      {"--program-path DIR", "folder holding cfront/cfront.so (default: the program's, else the installed one)"},
      {"--user USER", "user name; the password comes from QUELLIX_DB_PASSWORD or a prompt"},
      {"--interval SECONDS", "seconds between two requests, 5..3600 (default 20)"},
      {"--count N", "stop after N requests"},
      {"--log FILE", "append the changed objects to FILE when the watch stops"},
      {"--sessions", "also print the sessions table at each request"},
      {"--all-types", "also XMLports, MenuSuites, Pages and Queries (types 6 to 9), under their own names"},
      {"--deleted", "also list each object deleted since the previous request, once, its Date cell \"deleted\""},
      {"--oem 850|437", "OEM code page of the database texts (default 850)"},
      {"--format tsv|json", "tab-separated lines (default) or JSON Lines: one JSON document a line, at the start and "
                            "after each request; no sarif: changes are not findings"}}},
    {"intersect", "SOURCE1 SOURCE2 TARGET1 TARGET2",
     "TARGET1 holds SOURCE1's objects that SOURCE2 also has, in SOURCE2's order; TARGET2 holds SOURCE2's "
     "objects that SOURCE1 also has, in SOURCE1's order",
     {{"--ignore-noise", "both files carry the Date, Time and Version List lines of SOURCE1's object"},
      kOemOption}},
    {"diff", "EXPORT_A EXPORT_B",
     "what changed from EXPORT_A to EXPORT_B, object by object and element by element; one row per change",
     {{"--noise", "also objects and lines where only Date, Time or Version List changed"},
      {"--unified", "a unified diff per changed object, named as the split names its file (patch -p1)"},
      {"--fail-on-changes", "exit status 3 when changes remain"},
      {"--format tsv|json", "tab-separated lines (default) or one JSON document with the hunks"},
      {"--ansi", "write the Windows-1252 bytes of the cells instead of UTF-8"},
      kOemOption}},
};

// The arguments and options an operation's input kind asks for on the command line.
CliCommandHelp operationHelp(const OperationDef& row)
{
    CliCommandHelp help{row.command, "EXPORT", row.summary, kListOptions};
    help.options.insert(help.options.begin(), row.options.begin(), row.options.end());
    switch (row.input) {
    case OperationInput::None:
        break;
    case OperationInput::Target:
        help.arguments = "EXPORT TARGET";
        break;
    case OperationInput::SearchTerm:
        help.arguments = "EXPORT TERM";
        help.options.insert(help.options.begin(),
                            {"--mode normal|case|regex",
                             "normal ignores case, case is case-sensitive, regex a regular expression"});
        break;
    case OperationInput::NumberRange:
        help.arguments = "EXPORT FROM TO";
        help.options.insert(help.options.begin(),
                            {{"--no-objects", "leave out the objects"}, {"--no-fields", "leave out the table fields"}});
        break;
    case OperationInput::OutputFile:
        help.arguments = "EXPORT OUTFILE";
        help.options = {kOemOption};
        break;
    case OperationInput::FolderAndRange:
        help.arguments = "EXPORT FOLDER FROM TO";
        help.options = {kOemOption};
        break;
    }
    return help;
}

void appendColumns(std::string& out, const std::string& left, const char* right, size_t width)
{
    out += "  " + left;
    if (left.size() + 1 >= width)
        out += "\n  " + std::string(width, ' ');
    else
        out += std::string(width - left.size(), ' ');
    out += right;
    out += "\n";
}

// "-h" could be a search term, so it counts only as the first or second argument; "--help" and
// "--version" are never terms (every argument starting with "--" is an option).
bool asksFor(const std::vector<std::string>& args, const char* option, const char* shortOption = nullptr)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == option || (shortOption && i < 2 && args[i] == shortOption))
            return true;
    }
    return false;
}

} // namespace

std::vector<CliCommandHelp> cliCommandHelp(const OperationRows& rows)
{
    std::vector<CliCommandHelp> all;
    for (const OperationDef* row : rows)
        all.push_back(operationHelp(*row));
    all.insert(all.end(), kOtherCommands.begin(), kOtherCommands.end());
    return all;
}

const std::vector<CliCommandHelp>& cliCommandHelp()
{
    static const std::vector<CliCommandHelp> commands = cliCommandHelp(operationTable());
    return commands;
}

const CliCommandHelp* findCliCommandHelp(std::string_view name)
{
    const std::vector<CliCommandHelp>& commands = cliCommandHelp();
    auto it = std::find_if(commands.begin(), commands.end(), [&](const CliCommandHelp& c) { return c.name == name; });
    return it == commands.end() ? nullptr : &*it;
}

std::string cliGeneralHelp()
{
    return cliGeneralHelp(cliCommandHelp());
}

std::string cliGeneralHelp(const std::vector<CliCommandHelp>& commands)
{
    size_t width = 0;
    for (const CliCommandHelp& c : commands)
        width = std::max(width, std::string_view(c.name).size() + 2);
    std::string out = "usage: quellix-cli COMMAND EXPORT [ARGS...] [OPTIONS]\n"
                      "       quellix-cli COMMAND --help\n"
                      "\n"
                      "commands:\n";
    for (const CliCommandHelp& c : commands)
        appendColumns(out, c.name, c.summary, width);
    out += "\n"
           "options of the commands that print a list of an export:\n";
    for (const CliOptionHelp& o : kListOptions)
        appendColumns(out, o.option, o.text, width);
    out += "\n"
           "options:\n";
    appendColumns(out, "-h, --help", "this text; after a COMMAND, its arguments and options", width);
    appendColumns(out, "--version", "the version number", width);
    return out;
}

std::string cliCommandHelpText(const CliCommandHelp& command)
{
    std::string out = std::string("usage: quellix-cli ") + command.name + " " + command.arguments;
    if (!command.options.empty())
        out += " [OPTIONS]";
    out += "\n  " + std::string(command.summary) + "\n";
    if (!command.options.empty()) {
        out += "\noptions:\n";
        for (const CliOptionHelp& o : command.options)
            appendColumns(out, o.option, o.text, 28);
    }
    return out;
}

int answerHelpOrVersion(int argc, char** argv, std::string& out, std::string& err)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (asksFor(args, "--version")) {
        out = "quellix-cli " QUELLIX_VERSION "\n";
        return 0;
    }
    if (!asksFor(args, "--help", "-h"))
        return -1;
    if (args.front() == "--help" || args.front() == "-h" || args.front().compare(0, 2, "--") == 0) {
        out = cliGeneralHelp();
        return 0;
    }
    if (const CliCommandHelp* command = findCliCommandHelp(args.front())) {
        out = cliCommandHelpText(*command);
        return 0;
    }
    err = "quellix-cli: unknown command: " + args.front() + "\n" + cliGeneralHelp();
    return 2;
}

namespace {
// Text for a man page: "-" as "\-", "\" as "\e".
std::string troff(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '-')
            out += "\\-";
        else if (c == '\\')
            out += "\\e";
        else
            out += c;
    }
    return out;
}
} // namespace

std::string manPageOperationCommands(const OperationRows& rows)
{
    std::string out;
    for (const OperationDef* row : rows) {
        const CliCommandHelp help = operationHelp(*row);
        std::string arguments(std::string_view(help.arguments).substr(std::string_view("EXPORT").size()));
        for (char& c : arguments)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        out += ".TP\n";
        out += arguments.empty() ? ".B " + troff(row->command) : ".BI " + troff(row->command) + " \"" + arguments + "\"";
        std::string summary = row->summary;
        if (!summary.empty())
            summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
        out += "\n" + troff(summary) + ".\n";
    }
    return out;
}

std::string manPageWithOperations(std::string_view page, const OperationRows& rows)
{
    std::string checked = "(";
    for (const OperationDef* row : checkedByDefault(rows))
        checked += (checked.size() > 1 ? ", " : "") + troff(row->command);
    checked += "),\n";
    const std::pair<std::string_view, std::string> marks[] = {
        {".\\\" operation commands\n", manPageOperationCommands(rows)}, {".\\\" check analyses\n", checked}};
    std::string out(page);
    for (const auto& [mark, text] : marks)
        if (size_t at = out.find(mark); at != std::string::npos)
            out.replace(at, mark.size(), text);
    return out;
}
