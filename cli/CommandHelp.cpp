#include "cli/CommandHelp.h"

#include "QuellixVersion.h"

#include <algorithm>

namespace {

// Options of every command that reads an export.
const std::vector<CliOptionHelp> kExportOptions = {
    {"--oem 850|437", "OEM code page of the export (default 850)"},
    {"--locations", "add the columns ItemData and Position"},
    {"--ansi", "write the raw Windows-1252 bytes instead of UTF-8"},
};

std::vector<CliOptionHelp> withExportOptions(std::vector<CliOptionHelp> own)
{
    own.insert(own.end(), kExportOptions.begin(), kExportOptions.end());
    return own;
}

const std::vector<CliCommandHelp> kCommands = {
    {"objects", "EXPORT", "the catalogue: type, number, name, start and end of every object", kExportOptions},
    {"search", "EXPORT TERM", "text search over all objects",
     withExportOptions({{"--mode normal|case|regex",
                         "normal ignores case, case is case-sensitive, regex a regular expression"}})},
    {"field-reference-problem", "EXPORT", "the regular expression search =Field[0-9]", kExportOptions},
    {"table-reference-problem", "EXPORT", "the regular expression search Relation=Table[0-9]", kExportOptions},
    {"unused-variables", "EXPORT", "global and local variables that are never used", kExportOptions},
    {"unused-functions", "EXPORT", "procedures that are never called", kExportOptions},
    {"unused-fields", "EXPORT", "table fields whose name occurs only once in the export", kExportOptions},
    {"unused-sumindexfields", "EXPORT", "SumIndexFields that no CALCSUMS and no FlowField formula uses", kExportOptions},
    {"local-global", "EXPORT", "local variables that repeat a global name", kExportOptions},
    {"once-used", "EXPORT", "global variables used only once", kExportOptions},
    {"duplicate-ids", "EXPORT", "control and procedure IDs used twice in an object", kExportOptions},
    {"page-translations", "EXPORT", "tab controls with missing PageName translations", kExportOptions},
    {"check-forms", "EXPORT", "the form check: reads the controls of every form, lists nothing", kExportOptions},
    {"number-range", "EXPORT FROM TO", "objects and table fields numbered FROM..TO",
     withExportOptions({{"--no-objects", "leave out the objects"}, {"--no-fields", "leave out the table fields"}})},
    {"export-code", "EXPORT OUTFILE", "write the code of forms, reports and dataports to OUTFILE",
     {{"--oem 850|437", "OEM code page of the export (default 850)"}}},
    {"split", "EXPORT FOLDER FROM TO", "one file per object numbered FROM..TO; prints each written path",
     {{"--oem 850|437", "OEM code page of the export (default 850)"}}},
    {"db-objects", "--server SERVER|DATABASE", "a database's Object table through C/FRONT",
     {{"--server SERVER|DATABASE", "the server, or the database file with --net lokal"},
      {"--net tcp|netb|lokal", "network type (default tcp)"},
      {"--program-path DIR", "folder holding cfront/cfront.so (default: the installed one)"},
      {"--license FILE", "licence file"},
      {"--user USER", "user name; the password comes from QUELLIX_DB_PASSWORD or a prompt"},
      {"--oem 850|437", "OEM code page of the database texts (default 850)"}}},
};

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

const std::vector<CliCommandHelp>& cliCommandHelp()
{
    return kCommands;
}

const CliCommandHelp* findCliCommandHelp(std::string_view name)
{
    auto it = std::find_if(kCommands.begin(), kCommands.end(), [&](const CliCommandHelp& c) { return c.name == name; });
    return it == kCommands.end() ? nullptr : &*it;
}

std::string cliGeneralHelp()
{
    size_t width = 0;
    for (const CliCommandHelp& c : kCommands)
        width = std::max(width, std::string_view(c.name).size() + 2);
    std::string out = "usage: quellix-cli COMMAND EXPORT [ARGS...] [OPTIONS]\n"
                      "       quellix-cli COMMAND --help\n"
                      "\n"
                      "commands:\n";
    for (const CliCommandHelp& c : kCommands)
        appendColumns(out, c.name, c.summary, width);
    out += "\n"
           "options of the commands that read an export:\n";
    for (const CliOptionHelp& o : kExportOptions)
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
