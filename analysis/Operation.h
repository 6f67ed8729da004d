#pragma once

// The operation table's rows are designated initialisers that leave out what takes its default;
// g++ 12 warns about every member left out even so.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include "analysis/CommandIds.h"
#include "model/Outcome.h"

#include <string>
#include <string_view>
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
    std::vector<std::string> flags; // the switches of the operation's own options that are on ("--aware")
    std::vector<std::string>* renamed = nullptr; // split: the files written as "<Type> <No> (2).txt" ...

    bool hasFlag(std::string_view option) const
    {
        for (const std::string& flag : flags)
            if (flag == option)
                return true;
        return false;
    }
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

struct ColumnDef {
    const char* heading;
    int width;
};

// Runs an operation. Fails only when a file it writes cannot be written (CannotWrite, naming it).
using OperationRunner = Outcome (*)(CObjektManager& manager, CResultList& list, IProgress* progress,
                                   const AnalysisArgs& args);

// A switch of one operation, besides the arguments and options its input kind brings: its
// spelling and its line in the command's help. On the command line it lands in AnalysisArgs::flags.
struct OperationOption {
    const char* option;
    const char* text;
};

// The switch of the unused analyses' C/AL-aware rules (analysis/AwareRules.h).
inline constexpr const char* kAwareOption = "--aware";
inline constexpr OperationOption kAwareSwitch{kAwareOption,
                                              "C/AL-aware: leave out what the platform calls, compare names without regard to case"};

// The switch of the unused analyses' typed form: by the reference index instead of the text.
inline constexpr const char* kTypedOption = "--typed";
inline constexpr OperationOption kTypedSwitch{kTypedOption, "unused by the reference index: no resolved reference of any kind"};

// Where an operation stands in the search view's "Source Analyses " menu. Entries are ordered by
// position; a submenu stands where its first entry would; no submenu puts the entry on the menu
// itself. No caption: the operation is not in that menu.
struct MenuEntry {
    const char* submenu = nullptr;
    const char* caption = nullptr;
    int position = 0;
};

// Whether `check` runs an operation: always (when --only names none), only when --only names it,
// or never.
enum class CheckUse { Never, WhenNamed, Always };

// One row of the operation table: everything the desktop program and the command line need to
// offer, ask for, explain and run one operation. The file that implements an operation defines
// its row with designated initialisers; what a row leaves out takes the default below.
struct OperationDef {
    int commandId = rid::ID_NO_COMMAND; // rid::ID_... (a menu command or button), or ID_NO_COMMAND
    const char* command = nullptr;      // quellix-cli command name
    const char* summary = "";           // its line in quellix-cli's help
    const char* details = nullptr;      // what an analysis finds and why it matters (SARIF rule text)
    std::vector<OperationOption> options; // its own switches (quellix-cli help and arguments)
    const char* lastAction = nullptr;   // "last action" text of the search view (split: its prefix), or nullptr
    OperationInput input = OperationInput::None;
    MenuEntry menu;
    CheckUse check = CheckUse::Never;
    std::vector<ColumnDef> columns;
    const char* statusFormat = nullptr; // "%d from %d Name: %s" ..., or nullptr for none
    const char* fixedPattern = nullptr; // canned searches: the pattern; otherwise nullptr
    OperationRunner run = nullptr;
};

// Whether option is one of the row's own switches.
inline bool takesSwitch(const OperationDef& row, std::string_view option)
{
    for (const OperationOption& own : row.options)
        if (option == own.option)
            return true;
    return false;
}

// Runner of the analyses that take nothing but the list and the progress.
template <void (CObjektManager::*Analysis)(CResultList&, IProgress*)>
Outcome runPlainAnalysis(CObjektManager& manager, CResultList& list, IProgress* progress, const AnalysisArgs&)
{
    (manager.*Analysis)(list, progress);
    return {};
}

// Runner of the unused analyses, which take the C/AL-aware option besides.
template <void (CObjektManager::*Analysis)(CResultList&, IProgress*, bool)>
Outcome runAwareAnalysis(CObjektManager& manager, CResultList& list, IProgress* progress, const AnalysisArgs& args)
{
    (manager.*Analysis)(list, progress, args.hasFlag(kAwareOption));
    return {};
}

// Runner of the unused analyses that have a typed form besides (by the reference index).
template <void (CObjektManager::*Analysis)(CResultList&, IProgress*, bool),
          void (CObjektManager::*Typed)(CResultList&, IProgress*)>
Outcome runTypedOrAwareAnalysis(CObjektManager& manager, CResultList& list, IProgress* progress, const AnalysisArgs& args)
{
    if (args.hasFlag(kTypedOption))
        (manager.*Typed)(list, progress);
    else
        (manager.*Analysis)(list, progress, args.hasFlag(kAwareOption));
    return {};
}
