// quellix-cli: loads one export, runs one operation on a fresh catalogue and prints its list.
#include "analysis/OperationTable.h"
#include "cli/CliOutput.h"
#include "cli/CommandHelp.h"
#include "cli/DbObjectsCommand.h"
#include "cli/DbWatchCommand.h"
#include "cli/IntersectCommand.h"
#include "jobs/JobRunner.h"
#include "model/CodePage.h"
#include "model/ObjektManager.h"
#include "results/ResultList.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
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
    OemCodePage page = OemCodePage::CP850;
};

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
    switch (row.input) {
    case OperationInput::None:
        return a.empty() ? "" : name + " takes no arguments";
    case OperationInput::SearchTerm:
        if (a.size() != 1)
            return name + " needs TERM";
        args.term = utf8ToAnsiViaOem(a[0], inv.page);
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
    case OperationInput::FolderAndRange:
        if (a.size() != 3 || !parseInt(a[1], args.from) || !parseInt(a[2], args.to))
            return name + " needs FOLDER FROM TO";
        args.path = a[0];
        return "";
    }
    return "";
}

// The one-line message of a failed job (exit status 1).
std::string failureMessage(const JobStatus& status, const OperationDef& row)
{
    if (status.kind != JobErrorKind::CannotWrite)
        return "cannot read " + status.reason;
    if (row.input == OperationInput::FolderAndRange)
        return "cannot write into " + status.path;
    return "cannot write " + status.path;
}

} // namespace

int main(int argc, char** argv)
{
    std::string helpOut, helpErr;
    if (int status = answerHelpOrVersion(argc, argv, helpOut, helpErr); status >= 0) {
        std::cout << helpOut;
        std::cerr << helpErr;
        return status;
    }
    if (argc > 1 && std::string(argv[1]) == "db-objects")
        return runDbObjects(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    if (argc > 1 && std::string(argv[1]) == "db-watch")
        return runDbWatchUntilSignal(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    if (argc > 1 && std::string(argv[1]) == "intersect")
        return runIntersect(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    Invocation inv;
    std::string problem = parseArguments(argc, argv, inv);
    if (!problem.empty())
        return usage(problem);
    JobRequest request;
    request.operation = findOperation(inv.command);
    if (request.operation == nullptr)
        return usage("unknown command: " + inv.command);
    const OperationDef& row = *request.operation;
    problem = operationArguments(row, inv, request.args);
    if (!problem.empty())
        return usage(problem);
    std::vector<std::string> written;
    request.args.written = &written;
    request.sourceFile = inv.exportPath;

    setOemCodePage(inv.page);
    TerminalProgress terminal;
    const bool showProgress = isatty(STDERR_FILENO);
    CLoadedExport loaded;
    CObjektManager manager;
    CResultList list;
    JobStatus status = runJob(request, loaded, manager, list, showProgress ? &terminal : nullptr,
                              showProgress ? &terminal : nullptr, nullptr);
    terminal.finish();
    if (status.kind == JobErrorKind::NotFound || status.kind == JobErrorKind::Unreadable) {
        std::cerr << "quellix-cli: " << failureMessage(status, row) << "\n";
        return 1;
    }
    // What the command prints follows its input: a written file is announced, the split's files
    // are listed (also those written before a failure), every other operation prints its list.
    if (row.input == OperationInput::OutputFile) {
        if (status.ok())
            std::cout << "Export done\n";
    } else if (row.input == OperationInput::FolderAndRange) {
        for (const std::string& path : written)
            std::cout << path << "\n";
    } else {
        CliListOptions options{inv.locations, inv.ansi, inv.page};
        std::string out = cliListText(list, manager, options);
        std::fwrite(out.data(), 1, out.size(), stdout);
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
