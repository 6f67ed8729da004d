// quellix-cli: loads one export, runs one operation on a fresh catalogue and prints its list.
#include "analysis/AnalysisTable.h"
#include "cli/CliOutput.h"
#include "cli/DbCompareCommand.h"
#include "cli/DbObjectsCommand.h"
#include "model/CodePage.h"
#include "model/ObjektManager.h"
#include "model/ReadExport.h"
#include "results/ResultList.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const kUsage =
    "usage: quellix-cli COMMAND EXPORT [ARGS...] [--oem 850|437] [--locations] [--ansi]\n"
    "\n"
    "commands:\n"
    "  objects                              the catalogue of objects\n"
    "  search TERM [--mode normal|case|regex] text search (normal ignores case)\n"
    "  field-reference-problem              search =Field[0-9] as regular expression\n"
    "  table-reference-problem              search Relation=Table[0-9] as regular expression\n"
    "  unused-variables | unused-functions | unused-fields | unused-sumindexfields\n"
    "  local-global | once-used             locals that repeat a global; globals used once\n"
    "  duplicate-ids | page-translations | check-forms\n"
    "  number-range FROM TO [--no-objects] [--no-fields]\n"
    "  export-code OUTFILE                  code of forms, reports and dataports\n"
    "  split FOLDER FROM TO                 one file per object numbered FROM..TO\n"
    "\n"
    "  quellix-cli db-objects --server S [--net tcp|netb|lokal] [--program-path P] [--license L] [--user U]\n"
    "                                       a database's Object table (password from QUELLIX_DB_PASSWORD\n"
    "                                       or a prompt)\n"
    "  quellix-cli db-compare --server1 S [--net1 N] [--program-path1 P] [--user1 U] [--license1 L]\n"
    "                         --server2 S [--net2 N] ... [--all-types]\n"
    "                                       the object comparison of two databases (passwords from\n"
    "                                       QUELLIX_DB1_PASSWORD, QUELLIX_DB2_PASSWORD or prompts)\n";

int usage(const std::string& problem)
{
    if (!problem.empty())
        std::cerr << "quellix-cli: " << problem << "\n";
    std::cerr << kUsage;
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

void fillObjectList(CObjektManager& manager, CResultList& list)
{
    list.ResetList();
    for (const char* heading : {"Type", "No.", "Name", "Start", "End"})
        list.AddColumn(heading, LIST_ALIGN_LEFT, 100);
    for (int i = 0; i < manager.count(); ++i) {
        const CObjectRecord& r = manager.get(i);
        list.AddRow({r.typeName(), r.numberText(), r.headerName(), std::to_string(r.objectSpan.start()),
                     std::to_string(r.objectSpan.end())},
                    -1, r.typeImage());
    }
}

} // namespace

namespace {

int runExportCode(CObjektManager& manager, const Invocation& inv)
{
    if (inv.args.size() != 1)
        return usage("export-code needs OUTFILE");
    if (!manager.exportCode(inv.args[0])) {
        std::cerr << "quellix-cli: cannot write " << inv.args[0] << "\n";
        return 1;
    }
    std::cout << "Export done\n";
    return 0;
}

int runSplit(CObjektManager& manager, const Invocation& inv, IProgress* progress)
{
    int from = 0;
    int to = 0;
    if (inv.args.size() != 3 || !parseInt(inv.args[1], from) || !parseInt(inv.args[2], to))
        return usage("split needs FOLDER FROM TO");
    std::vector<std::string> written;
    bool ok = manager.split(inv.args[0], from, to, progress, &written);
    for (const std::string& path : written)
        std::cout << path << "\n";
    if (!ok) {
        std::cerr << "quellix-cli: cannot write into " << inv.args[0] << "\n";
        return 1;
    }
    return 0;
}

// Fills args from the command's own arguments; returns an error text or "".
std::string analysisArguments(const AnalysisDef& def, const Invocation& inv, AnalysisArgs& args)
{
    std::string name = def.command;
    if (name == "search") {
        if (inv.args.size() != 1)
            return "search needs TERM";
        args.term = utf8ToAnsiViaOem(inv.args[0], inv.page);
        args.useRegex = inv.mode == "regex";
        args.caseSensitive = inv.mode != "normal";
        return "";
    }
    if (name == "number-range") {
        if (inv.args.size() != 2 || !parseInt(inv.args[0], args.from) || !parseInt(inv.args[1], args.to))
            return "number-range needs FROM TO";
        args.objects = !inv.noObjects;
        args.tableFields = !inv.noFields;
        return "";
    }
    if (!inv.args.empty())
        return name + " takes no arguments";
    return "";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "db-objects")
        return runDbObjects(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    if (argc > 1 && std::string(argv[1]) == "db-compare")
        return runDbCompare(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    Invocation inv;
    std::string problem = parseArguments(argc, argv, inv);
    if (!problem.empty())
        return usage(problem);
    const AnalysisDef* def = findAnalysis(inv.command);
    const bool known = def || inv.command == "objects" || inv.command == "export-code" || inv.command == "split";
    if (!known)
        return usage("unknown command: " + inv.command);
    AnalysisArgs args;
    if (def) {
        problem = analysisArguments(*def, inv, args);
        if (!problem.empty())
            return usage(problem);
    } else if (inv.command == "objects" && !inv.args.empty()) {
        return usage("objects takes no arguments");
    }

    setOemCodePage(inv.page);
    CSourceText text;
    std::string error;
    if (!readExportFile(inv.exportPath, text.str(), error)) {
        std::cerr << "quellix-cli: cannot read " << error << "\n";
        return 1;
    }
    TerminalProgress terminal;
    const bool showProgress = isatty(STDERR_FILENO);
    IProgress* progress = showProgress ? &terminal : nullptr;
    CObjektManager manager;
    if (showProgress)
        manager.setStatusSink(&terminal);
    manager.load(&text, inv.exportPath);

    int status = 0;
    if (inv.command == "export-code") {
        status = runExportCode(manager, inv);
    } else if (inv.command == "split") {
        status = runSplit(manager, inv, progress);
    } else {
        CResultList list;
        if (def)
            def->run(manager, list, progress, args);
        else
            fillObjectList(manager, list);
        terminal.finish();
        CliListOptions options{inv.locations, inv.ansi, inv.page};
        std::string out = cliListText(list, manager, options);
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    terminal.finish();
    if (std::fflush(stdout) != 0) {
        std::cerr << "quellix-cli: cannot write the output\n";
        return 1;
    }
    return status;
}
