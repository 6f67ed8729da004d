#include "analysis/AnalysisTable.h"

#include "model/ObjektManager.h"

namespace {
const std::vector<ColumnDef> kSearchColumns = {
    {"Type", 30}, {"Object", 300}, {"Function", 200}, {"", 20}, {"Environment", 500}};
const std::vector<ColumnDef> kUnusedColumns = {
    {"Object", 250}, {"Count of unused Vars", 10}, {"Name", 200}, {"Sort", 60}, {"Type", 100}, {"Function", 360}};
const std::vector<ColumnDef> kUnusedFieldColumns = {{"Object", 250}, {"Count of unused Vars", 10}, {"ID", 100},
                                                    {"Name", 200},   {"Sort", 60},                 {"Type", 100},
                                                    {"Function", 360}};
const std::vector<ColumnDef> kSumIndexColumns = {
    {"Tablename", 250}, {"Key-Status", 10}, {"Keyname", 200}, {"SumIndexField", 200}};
const std::vector<ColumnDef> kNumberRangeColumns = {
    {"Type", 100}, {"ObjectID", 100}, {"ReferenceID", 100}, {"Description", 300}, {"", 10}};
// Also the columns of the ID check.
const std::vector<ColumnDef> kLocalGlobalColumns = {
    {"Object", 250}, {"local Variable", 200}, {"local Fct.", 200}, {"global Variable", 100}};
const std::vector<ColumnDef> kOnceUsedColumns = {{"Object", 250}, {"Count of unused Vars.", 10}, {"Name", 200},
                                                 {"Sort", 60},    {"Type", 100},                  {"Type2", 100},
                                                 {"Function", 360}};
const std::vector<ColumnDef> kTranslationColumns = {
    {"ObjectID", 70}, {"ObjectName", 250}, {"Control Type", 100}, {"Control ID", 70}, {"Function", 360}};

// The analyses that take nothing but the list and the progress.
template <void (CObjektManager::*Analysis)(CResultList&, IProgress*)>
void runPlain(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs&)
{
    (m.*Analysis)(list, progress);
}

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
void runNumberRange(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs& args)
{
    m.searchNumberRange(list, progress, args.from, args.to, args.objects, args.tableFields);
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
     nullptr, runPlain<&CObjektManager::findUnusedVariables>},
    {"unused-functions", 1037, "Unused Functions", AnalysisThread::Worker, kUnusedColumns, "%d von %d Name: %s",
     nullptr, runPlain<&CObjektManager::findUnusedProcedures>},
    {"unused-fields", 1038, "Unused Fields", AnalysisThread::Worker, kUnusedFieldColumns,
     "%d von %d Name: %s durchsuchen", nullptr, runPlain<&CObjektManager::findUnusedTableFields>},
    {"unused-sumindexfields", 1068, "Search unused SumIndexFields", AnalysisThread::Worker, kSumIndexColumns,
     "%d from %d Name: %s", nullptr, runPlain<&CObjektManager::findUnusedSumIndexFields>},
    {"number-range", 1039, "Search range of numbers", AnalysisThread::Worker, kNumberRangeColumns, nullptr, nullptr,
     runNumberRange},
    {"local-global", 1040, "Search local = global Variables", AnalysisThread::Worker, kLocalGlobalColumns,
     "%d from %d Name: %s", nullptr, runPlain<&CObjektManager::findLocalEqualsGlobal>},
    {"once-used", 32777, "Search once used Variables", AnalysisThread::Worker, kOnceUsedColumns,
     "%d from %d Name: %s", nullptr, runPlain<&CObjektManager::findOnceUsedGlobals>},
    {"duplicate-ids", 1062, "Search double IDs", AnalysisThread::Worker, kLocalGlobalColumns, "%d von %d Name: %s",
     nullptr, runPlain<&CObjektManager::findDuplicateIds>},
    {"page-translations", 32789, "Search Missing PageName Translations", AnalysisThread::Worker, kTranslationColumns,
     nullptr, nullptr, runPlain<&CObjektManager::findMissingPageNameTranslations>},
    {"check-forms", 32782, "Forms checken", AnalysisThread::UserInterface, kUnusedColumns, "%d from %d Name: %s",
     nullptr, runPlain<&CObjektManager::checkForms>},
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
