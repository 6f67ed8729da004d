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
    static const OperationDef row{
        .commandId = rid::ID_LOCAL_GLOBAL,
        .command = "local-global",
        .summary = "local variables that repeat a global name",
        .details = "Lists local variables of procedures and triggers that carry the name of a global of their object. Inside "
                   "that procedure the global cannot be reached, and code that meant the global silently uses the local.",
        .lastAction = "Search local = global Variables",
        .menu = {"Analyse sourceproblems", "local = global Variables", 12},
        .check = CheckUse::Always,
        .columns = kLocalGlobalColumns,
        .statusFormat = "%d from %d Name: %s",
        .run = runPlainAnalysis<&CObjektManager::findLocalEqualsGlobal>,
    };
    return row;
}

const OperationDef& onceUsedOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_ONCE_USED,
        .command = "once-used",
        .summary = "global variables used only once",
        .details = "Lists global variables whose name occurs exactly twice in their object: the declaration and one use. Such a "
                   "global usually belongs to the one procedure that uses it, as a local.",
        .lastAction = "Search once used Variables",
        .menu = {"Analyse sourceproblems", "once used variables", 13},
        .check = CheckUse::Always,
        .columns = {{"Object", 250}, {"Count of unused Vars.", 10}, {"Name", 200}, {"Sort", 60}, {"Type", 100}, {"Type2", 100}, {"Function", 360}},
        .statusFormat = "%d from %d Name: %s",
        .run = runPlainAnalysis<&CObjektManager::findOnceUsedGlobals>,
    };
    return row;
}
