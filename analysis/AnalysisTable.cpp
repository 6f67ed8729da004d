#include "analysis/AnalysisTable.h"

#include "model/ObjektManager.h"

namespace {
const std::vector<ColumnDef> kSearchColumns = {
    {"Type", 30}, {"Object", 300}, {"Function", 200}, {"", 20}, {"Environment", 500}};
const std::vector<ColumnDef> kUnusedColumns = {
    {"Object", 250}, {"Count of unused Vars", 10}, {"Name", 200}, {"Sort", 60}, {"Type", 100}, {"Function", 360}};

void runSearch(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs& args)
{
    m.searchText(args.term, list, progress, args.useRegex, args.caseSensitive);
}
void runFieldReference(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs&)
{
    m.searchText("=Field[0-9]", list, progress, true, true);
}
void runTableReference(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs&)
{
    m.searchText("Relation=Table[0-9]", list, progress, true, true);
}
void runUnusedVariables(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs&)
{
    m.findUnusedVariables(list, progress);
}
void runUnusedFunctions(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs&)
{
    m.findUnusedProcedures(list, progress);
}

// One row per analysis: CLI name, command ID, last action, thread, columns, status format,
// canned pattern, operation.
const std::vector<AnalysisDef> kAnalyses = {
    {"search", 1012, "Search: ", AnalysisThread::WorkerHighPriority, kSearchColumns, nullptr, nullptr, runSearch},
    {"field-reference-problem", 32786, "Search: Field Reference Problem", AnalysisThread::WorkerHighPriority,
     kSearchColumns, nullptr, "=Field[0-9]", runFieldReference},
    {"table-reference-problem", 32787, "Search: Table Reference Problem", AnalysisThread::WorkerHighPriority,
     kSearchColumns, nullptr, "Relation=Table[0-9]", runTableReference},
    {"unused-variables", 1030, "Unused Variables", AnalysisThread::Worker, kUnusedColumns, "%d from %d Name: %s",
     nullptr, runUnusedVariables},
    {"unused-functions", 1037, "Unused Functions", AnalysisThread::Worker, kUnusedColumns, "%d von %d Name: %s",
     nullptr, runUnusedFunctions},
};
} // namespace

const std::vector<AnalysisDef>& analysisTable() { return kAnalyses; }

const AnalysisDef* findAnalysis(std::string_view command)
{
    for (const AnalysisDef& def : kAnalyses)
        if (command == def.command)
            return &def;
    return nullptr;
}

const AnalysisDef* findAnalysisById(int commandId)
{
    for (const AnalysisDef& def : kAnalyses)
        if (def.commandId == commandId)
            return &def;
    return nullptr;
}
