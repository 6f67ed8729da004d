#include "analysis/AnalysisColumns.h"
#include "analysis/AnalysisRun.h"
#include "analysis/OperationTable.h"

#include <string>
#include <vector>

// Locals of procedures and triggers that carry the name of a global of their object.
void CObjektManager::findLocalEqualsGlobal(CResultList& list, IProgress* progress)
{
    AnalysisRun run(*this, list, progress, localGlobalOperation());
    run.forEachObjectInParallel([&](int, CObjectRecord& record, ObjectRows& rows) {
        std::vector<const CVariable*> locals;
        record.ensureTriggerVars();
        record.globalsUsedIn(locals);
        for (const CVariable* local : locals)
            rows.addLocated(record, {std::string(record.headerText()), local->name, local->note, local->name},
                           local->declPos, local->name);
    });
}

// Globals whose name occurs exactly twice in their object: the declaration and one use.
void CObjektManager::findOnceUsedGlobals(CResultList& list, IProgress* progress)
{
    AnalysisRun run(*this, list, progress, onceUsedOperation());
    run.forEachObjectInParallel([&](int, CObjectRecord& record, ObjectRows& rows) {
        record.countGlobalUses();
        for (const CVariable& global : record.globals) {
            if (global.occurrences != 1)
                continue;
            const int use = record.objectSpan.start() + global.firstUse;
            const std::string context = record.locate(use, global.name).context();
            const std::string header(record.headerText());
            rows.addLocated(record, {header, "", global.name, "global Var", global.typeName(), context}, use,
                            global.name);
        }
    });
}

const OperationDef& localGlobalOperation()
{
    static const OperationDef row{rid::ID_LOCAL_GLOBAL,
                                  "local-global",
                                  "Search local = global Variables",
                                  OperationInput::None,
                                  AnalysisThread::Worker,
                                  kLocalGlobalColumns,
                                  "%d from %d Name: %s",
                                  nullptr,
                                  runPlainAnalysis<&CObjektManager::findLocalEqualsGlobal>};
    return row;
}

const OperationDef& onceUsedOperation()
{
    static const OperationDef row{rid::ID_ONCE_USED,
                                  "once-used",
                                  "Search once used Variables",
                                  OperationInput::None,
                                  AnalysisThread::Worker,
                                  {{"Object", 250},
                                   {"Count of unused Vars.", 10},
                                   {"Name", 200},
                                   {"Sort", 60},
                                   {"Type", 100},
                                   {"Type2", 100},
                                   {"Function", 360}},
                                  "%d from %d Name: %s",
                                  nullptr,
                                  runPlainAnalysis<&CObjektManager::findOnceUsedGlobals>};
    return row;
}
