#pragma once

#include <string>
#include <string_view>
#include <vector>

class CObjektManager;
class CResultList;
class IProgress;

// Inputs an analysis may take besides the catalogue.
struct AnalysisArgs {
    std::string term;         // text search: the pattern
    bool useRegex = false;
    bool caseSensitive = false;
    int from = 0;             // number range
    int to = 0;
    bool objects = true;
    bool tableFields = true;
};

enum class AnalysisThread { Worker, WorkerHighPriority, UserInterface };

struct ColumnDef {
    const char* heading;
    int width;
};

// One row of the table of analyses that the desktop program's commands and the CLI both walk.
struct AnalysisDef {
    const char* command;           // quellix-cli command name
    int commandId;                 // command ID of the search view
    const char* lastAction;        // "last action" text of the search view
    AnalysisThread thread;
    std::vector<ColumnDef> columns;
    const char* statusFormat;      // "%d from %d Name: %s" ..., or nullptr for none
    const char* fixedPattern;      // canned searches: the pattern; otherwise nullptr
    void (*run)(CObjektManager& manager, CResultList& list, IProgress* progress, const AnalysisArgs& args);
};

const std::vector<AnalysisDef>& analysisTable();
const AnalysisDef* findAnalysis(std::string_view command);
const AnalysisDef* findAnalysisById(int commandId);
