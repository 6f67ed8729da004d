#pragma once

#include "analysis/CommandIds.h"

#include <string>
#include <vector>

class CObjektManager;
class CResultList;
class IProgress;

// Inputs an operation may take besides the catalogue.
struct AnalysisArgs {
    std::string term;         // text search: the pattern
    bool useRegex = false;
    bool caseSensitive = false;
    int from = 0;             // number range, split
    int to = 0;
    bool objects = true;
    bool tableFields = true;
    std::string path;         // code export: the output file; split: the target folder
    std::vector<std::string>* written = nullptr; // split: receives every file written, when set
    bool aware = false;       // unused analyses: the C/AL-aware rules (analysis/AwareRules.h)
    std::vector<std::string>* renamed = nullptr; // split: the files written as "<Type> <No> (2).txt" ...
    bool typed = false;       // unused analyses: by the reference index instead of the text
};

// What an operation asks for before it runs. The search view picks its dialog by it and the
// command line its positional arguments:
//   None            nothing (a menu command runs at once; no arguments)
//   SearchTerm      the search term and mode (the "Search" button; TERM [--mode ...])
//   OutputFile      a file to write (a save dialog; OUTFILE)
//   FolderAndRange  a folder and a number range (the split dialog; FOLDER FROM TO)
//   NumberRange     a number range and what to search in it (its dialog; FROM TO [--no-...])
//   Target          what to find the references of, in AnalysisArgs::term ("Table 18.\"No.\""; TARGET)
enum class OperationInput { None, SearchTerm, OutputFile, FolderAndRange, NumberRange, Target };

enum class AnalysisThread { Worker, WorkerHighPriority, UserInterface };

struct ColumnDef {
    const char* heading;
    int width;
};

// Runs an operation. Returns false only when a file it writes cannot be written.
using OperationRunner = bool (*)(CObjektManager& manager, CResultList& list, IProgress* progress,
                                 const AnalysisArgs& args);

// One row of the operation table: everything the desktop program and the command line need to
// offer, ask for and run one operation. The file that implements an operation defines its row.
struct OperationDef {
    int commandId;                 // rid::ID_..., or ID_NO_COMMAND
    const char* command;           // quellix-cli command name
    const char* lastAction;        // "last action" text of the search view (split: its prefix), or nullptr
    OperationInput input;
    AnalysisThread thread;
    std::vector<ColumnDef> columns;
    const char* statusFormat;      // "%d from %d Name: %s" ..., or nullptr for none
    const char* fixedPattern;      // canned searches: the pattern; otherwise nullptr
    OperationRunner run;
};

// Runner of the analyses that take nothing but the list and the progress.
template <void (CObjektManager::*Analysis)(CResultList&, IProgress*)>
bool runPlainAnalysis(CObjektManager& manager, CResultList& list, IProgress* progress, const AnalysisArgs&)
{
    (manager.*Analysis)(list, progress);
    return true;
}

// Runner of the unused analyses, which take the C/AL-aware option besides.
template <void (CObjektManager::*Analysis)(CResultList&, IProgress*, bool)>
bool runAwareAnalysis(CObjektManager& manager, CResultList& list, IProgress* progress, const AnalysisArgs& args)
{
    (manager.*Analysis)(list, progress, args.aware);
    return true;
}

// Runner of the unused analyses that have a typed form besides (by the reference index).
template <void (CObjektManager::*Analysis)(CResultList&, IProgress*, bool),
          void (CObjektManager::*Typed)(CResultList&, IProgress*)>
bool runTypedOrAwareAnalysis(CObjektManager& manager, CResultList& list, IProgress* progress, const AnalysisArgs& args)
{
    if (args.typed)
        (manager.*Typed)(list, progress);
    else
        (manager.*Analysis)(list, progress, args.aware);
    return true;
}
