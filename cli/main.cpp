// quellix-cli: loads one export, runs one operation on a fresh catalogue and prints its list.
#include "analysis/OperationTable.h"
#include "analysis/PatternMatcher.h"
#include "cli/CliOutput.h"
#include "cli/CommandHelp.h"
#include "model/Console.h"
#include "cli/DbCompareCommand.h"
#include "cli/DbObjectsCommand.h"
#include "cli/DbWatchCommand.h"
#include "cli/DiffCommand.h"
#include "cli/IntersectCommand.h"
#include "cli/OutputFormat.h"
#include "jobs/JobRunner.h"
#include "model/CodePage.h"
#include "model/ExportObjects.h"
#include "model/FileReplace.h"
#include "model/ObjektManager.h"
#include "results/ResultList.h"
#include "model/FileAccess.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int usage(const std::string& problem)
{
    if (!problem.empty())
        std::cerr << "quellix-cli: " << problem << "\n";
    std::cerr << cliGeneralHelp();
    return 2;
}

struct Invocation {
    std::string command;
    std::string exportPath;
    std::vector<std::string> args;
    std::string mode = "normal";
    bool locations = false;
    bool ansi = false;
    bool noObjects = false;
    bool noFields = false;
    std::vector<std::string> flags; // switches of an operation's own options ("--aware")
    OemCodePage page = OemCodePage::CP850;
    OutputFormat format = OutputFormat::Tsv;
    std::string baseline;
    std::string writeBaseline;
    bool failOnFindings = false;
    std::vector<std::string> only; // check: the analyses named by --only
    bool onlyGiven = false;
};

// Whether some operation has the switch as one of its own options.
bool isOperationSwitch(const std::string& option)
{
    const OperationRows& rows = operationTable();
    return std::any_of(rows.begin(), rows.end(), [&](const OperationDef* row) { return takesSwitch(*row, option); });
}

// The one-line summary of the command's help, the SARIF rule's short description.
std::string describe(const OperationDef& row)
{
    const CliCommandHelp* help = findCliCommandHelp(row.command);
    return help && help->summary ? help->summary : row.command;
}

std::vector<std::string> splitNames(const std::string& list)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = std::min(list.find(',', start), list.size());
        if (comma > start)
            names.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

// Splits argv into positional arguments and options; returns an error text or "".
std::string parseArguments(int argc, char** argv, Invocation& inv)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--locations") {
            inv.locations = true;
        } else if (a == "--ansi") {
            inv.ansi = true;
        } else if (a == "--no-objects") {
            inv.noObjects = true;
        } else if (a == "--no-fields") {
            inv.noFields = true;
        } else if (a == "--fail-on-findings") {
            inv.failOnFindings = true;
        } else if (a == "--format" || a == "--baseline" || a == "--write-baseline" || a == "--only") {
            if (i + 1 >= argc)
                return a + " needs a value";
            std::string v = argv[++i];
            if (a == "--format" && !parseOutputFormat(v, inv.format))
                return "unknown format: " + v;
            if (a == "--baseline")
                inv.baseline = v;
            if (a == "--write-baseline")
                inv.writeBaseline = v;
            if (a == "--only") {
                inv.only = splitNames(v);
                inv.onlyGiven = true;
            }
        } else if (isOperationSwitch(a)) {
            inv.flags.push_back(a);
        } else if (a == "--oem" || a == "--mode") {
            if (i + 1 >= argc)
                return a + " needs a value";
            std::string v = argv[++i];
            if (a == "--mode") {
                if (v != "normal" && v != "case" && v != "regex")
                    return "unknown mode: " + v;
                inv.mode = v;
            } else if (v == "850" || v == "437") {
                inv.page = v == "437" ? OemCodePage::CP437 : OemCodePage::CP850;
            } else {
                return "unknown OEM code page: " + v;
            }
        } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            return "unknown option: " + a;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() < 2)
        return positional.empty() ? "no command given" : "no export file given";
    inv.command = positional[0];
    inv.exportPath = positional[1];
    inv.args.assign(positional.begin() + 2, positional.end());
    if (inv.ansi && inv.format != OutputFormat::Tsv)
        return "--ansi writes tsv only";
    if (inv.command == "check" && std::find(inv.flags.begin(), inv.flags.end(), kTypedOption) != inv.flags.end())
        return "check takes no --typed";
    if (inv.onlyGiven && inv.command != "check")
        return "--only belongs to check";
    return "";
}

bool parseInt(const std::string& text, int& value)
{
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < -2147483647L - 1 || v > 2147483647L)
        return false;
    value = static_cast<int>(v);
    return true;
}

// Fills args from the command's own arguments, by the kind of input the operation takes; returns
// an error text or "".
std::string operationArguments(const OperationDef& row, const Invocation& inv, AnalysisArgs& args)
{
    const std::string name = row.command;
    const std::vector<std::string>& a = inv.args;
    for (const std::string& flag : inv.flags) {
        if (!takesSwitch(row, flag))
            return name + " takes no " + flag;
        args.flags.push_back(flag);
    }
    if (args.hasFlag(kTypedOption) && args.hasFlag(kAwareOption))
        return "--typed and --aware exclude each other";
    switch (row.input) {
    case OperationInput::None:
        return a.empty() ? "" : name + " takes no arguments";
    case OperationInput::SearchTerm:
        if (a.size() != 1)
            return name + " needs TERM";
        args.useRegex = inv.mode == "regex";
        args.caseSensitive = inv.mode != "normal";
        return "";
    case OperationInput::NumberRange:
        if (a.size() != 2 || !parseInt(a[0], args.from) || !parseInt(a[1], args.to))
            return name + " needs FROM TO";
        args.objects = !inv.noObjects;
        args.tableFields = !inv.noFields;
        return "";
    case OperationInput::OutputFile:
        if (a.size() != 1)
            return name + " needs OUTFILE";
        args.path = a[0];
        return "";
    case OperationInput::Target:
        if (a.size() != 1)
            return name + " needs TARGET";
        args.term = utf8ToAnsiViaOem(a[0], inv.page);
        return "";
    case OperationInput::FolderAndRange:
        if (a.size() != 3 || !parseInt(a[1], args.from) || !parseInt(a[2], args.to))
            return name + " needs FOLDER FROM TO";
        args.path = a[0];
        return "";
    }
    return "";
}

// The search term as the loaded text's bytes; "" or why it cannot be searched for (a character
// the export cannot hold would silently stand for "?").
std::string searchTerm(const std::string& utf8, const Invocation& inv, AnalysisArgs& args)
{
    std::string problem;
    if (!utf8ToAnsiExact(utf8, inv.page, args.term, problem))
        return "the search term " + problem;
    if (args.useRegex && !CPatternMatcher().compile(args.term))
        return "invalid regular expression: " + utf8;
    return "";
}

// The one-line message of a failed job (exit status 1).
std::string failureMessage(const Outcome& status, const OperationDef& row)
{
    if (status.kind != OutcomeKind::CannotWrite)
        return "cannot read " + status.reason;
    if (!status.reason.empty())
        return "cannot write " + status.reason; // names the file and the system's reason
    if (row.input == OperationInput::FolderAndRange)
        return "cannot write into " + status.path;
    return "cannot write " + status.path;
}

// The operations `check` runs: every analysis, or those --only names; "" or a usage problem.
std::string checkOperations(const Invocation& inv, std::vector<const OperationDef*>& operations)
{
    if (!inv.args.empty())
        return "check takes no arguments besides --only";
    if (!inv.onlyGiven) {
        operations = checkedByDefault(operationTable());
        return "";
    }
    if (inv.only.empty())
        return "--only names no analysis";
    for (const std::string& name : inv.only) {
        const OperationDef* row = findOperation(name);
        if (row == nullptr || row->check == CheckUse::Never)
            return "check cannot run " + name;
        if (std::find(operations.begin(), operations.end(), row) == operations.end()) // named twice: run once
            operations.push_back(row);
    }
    return "";
}

// The exit status of a printed list: with --fail-on-findings 3 when rows remain, and 1 for a file
// that was never an export (a gate must not pass on it).
int findingsStatus(const Invocation& inv, size_t rows, bool noExport)
{
    if (!inv.failOnFindings)
        return 0;
    return noExport ? 1 : rows > 0 ? 3 : 0;
}

// Writes the baseline, drops what the given baseline accepts, prints the document; returns the
// exit status.
int printList(const Invocation& inv, OutputDocument& document, Baseline* baseline, bool analysisColumn,
              bool noExport)
{
    if (!inv.writeBaseline.empty()) {
        if (!replaceFile(inv.writeBaseline, Baseline::text(document))) {
            std::cerr << "quellix-cli: cannot write " << inv.writeBaseline << "\n";
            return 1;
        }
    }
    if (baseline)
        baseline->filter(document);
    bool written = true;
    writeOutput(document, inv.format, analysisColumn, [&](std::string_view piece) {
        written = written && std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
    });
    if (std::fflush(stdout) != 0 || !written) {
        std::cerr << "quellix-cli: cannot write the output\n";
        return 1;
    }
    size_t remaining = 0;
    for (const OutputList& list : document.lists)
        remaining += list.rows.size();
    return findingsStatus(inv, remaining, noExport);
}

// One line on the objects the split wrote under a numbered name: stdout lists only paths.
std::string renamedSummary(const std::vector<std::string>& renamed)
{
    std::string line = std::to_string(renamed.size()) +
                       (renamed.size() == 1 ? " object repeats" : " objects repeat") +
                       " the type and number of an earlier one, written as:";
    for (size_t i = 0; i < renamed.size(); ++i)
        line += (i == 0 ? " " : ", ") + std::filesystem::path(renamed[i]).filename().string();
    return line;
}

int runCommandLine(int programArgc, char** programArgv)
{
    std::vector<std::string> arguments = consoleArguments(programArgc, programArgv);
    std::vector<char*> pointers = argumentPointers(arguments);
    const int argc = static_cast<int>(arguments.size());
    char** argv = pointers.data();
    std::string helpOut, helpErr;
    if (int status = answerHelpOrVersion(argc, argv, helpOut, helpErr); status >= 0) {
        std::cout << helpOut;
        std::cerr << helpErr;
        return finishOutput(std::cout, std::cerr, "quellix-cli", status);
    }
    if (argc > 1 && std::string(argv[1]) == "db-objects")
        return runDbObjects(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    if (argc > 1 && std::string(argv[1]) == "db-compare")
        return runDbCompare(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    if (argc > 1 && std::string(argv[1]) == "db-watch")
        return runDbWatchUntilSignal(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    if (argc > 1 && std::string(argv[1]) == "diff")
        return runDiff(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    if (argc > 1 && std::string(argv[1]) == "intersect")
        return runIntersect(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    Invocation inv;
    std::string problem = parseArguments(argc, argv, inv);
    if (!problem.empty())
        return usage(problem);
    std::vector<const OperationDef*> operations;
    JobRequest request;
    const bool check = inv.command == "check";
    if (check) {
        problem = checkOperations(inv, operations);
    } else {
        request.operation = findOperation(inv.command);
        if (request.operation == nullptr)
            return usage("unknown command: " + inv.command);
        operations.push_back(request.operation);
        problem = operationArguments(*request.operation, inv, request.args);
    }
    if (!problem.empty())
        return usage(problem);
    if (!check && request.operation->input == OperationInput::SearchTerm) {
        problem = searchTerm(inv.args.front(), inv, request.args);
        if (!problem.empty()) {
            std::cerr << "quellix-cli: " << problem << "\n";
            return 2;
        }
    }
    const OperationDef& row = *operations.front();
    const bool listsRows = row.input != OperationInput::OutputFile && row.input != OperationInput::FolderAndRange;
    if (!listsRows && (inv.format != OutputFormat::Tsv || !inv.baseline.empty() || !inv.writeBaseline.empty() ||
                       inv.failOnFindings))
        return usage(std::string(row.command) + " prints no list");
    Baseline baseline;
    if (!inv.baseline.empty() && !baseline.read(inv.baseline)) {
        std::cerr << "quellix-cli: cannot read " << inv.baseline << "\n";
        return 1;
    }
    std::vector<std::string> written;
    std::vector<std::string> renamed;
    request.args.written = &written;
    request.args.renamed = &renamed;
    request.sourceFile = inv.exportPath;

    setOemCodePage(inv.page);
    TerminalProgress terminal;
    const bool showProgress = isatty(STDERR_FILENO);
    CLoadedExport loaded;
    CObjektManager manager;
    manager.setKeepParses(false); // one operation per load: what it parsed to place its rows is not needed after it
    CResultList list;
    OutputDocument document;
    document.command = inv.command;
    document.exportPath = inv.exportPath;
    std::optional<LineIndex> lines;
    CliListOptions options{inv.locations, inv.ansi, inv.page, nullptr,
                           !inv.baseline.empty() || !inv.writeBaseline.empty() || inv.format == OutputFormat::Sarif};
    // Plain tsv goes out list by list as each operation ends, rows taken out of the list as they
    // are written; a baseline or another format needs the whole document first.
    const bool streamed = listsRows && inv.format == OutputFormat::Tsv && inv.baseline.empty() &&
                          inv.writeBaseline.empty();
    size_t streamedRows = 0;
    bool streamWritten = true;
    auto writeOut = [&](std::string_view piece) {
        streamWritten = streamWritten && std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
    };
    Outcome status;
    for (const OperationDef* operation : operations) {
        request.operation = operation;
        status = runJob(request, loaded, manager, list, showProgress ? &terminal : nullptr,
                        showProgress ? &terminal : nullptr, nullptr);
        if (status.kind == OutcomeKind::NotFound || status.kind == OutcomeKind::Unreadable)
            break;
        if (!holdsObjects(manager))
            list.DeleteAllRows(); // the record a text without objects makes is no object
        if (!listsRows)
            continue;
        if (inv.format != OutputFormat::Tsv && !lines) {
            lines.emplace(loaded.text().view());
            options.lines = &*lines;
        }
        if (streamed) {
            terminal.finish(); // the progress line is not left among the rows
            streamedRows += writeTsvList(operation->command, list, manager, options, check, writeOut);
        } else {
            document.lists.push_back(takeOutputList(operation->command, describe(*operation), list, manager, options));
            if (operation->details)
                document.lists.back().details = operation->details;
        }
    }
    terminal.finish();
    if (!manager.awareSummary().empty())
        std::cerr << (request.args.hasFlag(kTypedOption) ? "typed: " : (&row == &referencesOperation() ? "references: " : "C/AL-aware: "))
                  << (options.ansi ? manager.awareSummary() : ansiToUtf8ViaOem(manager.awareSummary(), options.page)) << "\n";
    if (status.kind == OutcomeKind::NotFound || status.kind == OutcomeKind::Unreadable) {
        std::cerr << "quellix-cli: " << failureMessage(status, row) << "\n";
        return 1;
    }
    const bool noExport = !holdsObjects(manager);
    if (noExport)
        std::cerr << "quellix-cli: no objects in " << inv.exportPath << "\n";
    // What the command prints follows its input: a written file is announced, the split's files
    // are listed (also those written before a failure), every other operation prints its list.
    if (row.input == OperationInput::OutputFile) {
        if (status.ok())
            std::cout << "Export done\n";
    } else if (row.input == OperationInput::FolderAndRange) {
        for (const std::string& path : written)
            std::cout << path << "\n";
        if (!renamed.empty())
            std::cerr << "quellix-cli: " << renamedSummary(renamed) << "\n";
    } else {
        if (!streamed)
            return printList(inv, document, inv.baseline.empty() ? nullptr : &baseline, check, noExport);
        if (std::fflush(stdout) != 0 || !streamWritten) {
            std::cerr << "quellix-cli: cannot write the output\n";
            return 1;
        }
        return findingsStatus(inv, streamedRows, noExport);
    }
    if (!status.ok()) {
        std::cerr << "quellix-cli: " << failureMessage(status, row) << "\n";
        return 1;
    }
    if (std::fflush(stdout) != 0) {
        std::cerr << "quellix-cli: cannot write the output\n";
        return 1;
    }
    return 0;
}

} // namespace

// Out of memory anywhere (the workers' failures come back to this thread) ends the command with one
// line instead of an abort; files being written are dropped on the way out, so none is left half
// written.
int main(int argc, char** argv)
{
    try {
        return runCommandLine(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("quellix-cli: not enough memory\n", stderr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quellix-cli: %s\n", e.what());
    }
    return 1;
}
