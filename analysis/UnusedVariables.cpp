#include "analysis/AnalysisColumns.h"
#include "analysis/AnalysisRun.h"
#include "analysis/OperationTable.h"

// Variables whose name occurs only in their own declaration: locals by whole word within their
// procedure or trigger, globals by plain search within their object.
void CObjektManager::findUnusedVariables(CResultList& list, IProgress* progress)
{
    AnalysisRun run(*this, list, progress, unusedVariablesOperation());
    run.forEachObject([&](int i, CObjectRecord& record) {
        record.markOnceOnlyGlobals();
        run.position(i);
        run.status(i, record);
        const std::string header(record.headerText());
        for (const CProcedure& proc : record.procedures)
            for (const CVariable& v : proc.locals)
                if (v.onceOnly)
                    run.addLocated(record, {header, "", v.name, proc.isLocal ? "local Proc. " : "Proc. ", "", proc.signature},
                                   v.declPos, v.name);
        for (const CTrigger& trigger : record.triggers)
            for (const CVariable& v : trigger.locals)
                if (v.onceOnly)
                    run.addLocated(record, {header, "", v.name, "Trigger", trigger.name2, trigger.name}, v.declPos, v.name);
        for (const CVariable& v : record.globals)
            if (v.onceOnly)
                run.addLocated(record, {header, "", v.name, "global Var", ""}, v.declPos, v.name);
    });
}

const OperationDef& unusedVariablesOperation()
{
    static const OperationDef row{rid::ID_UNUSED_VARIABLES,
                                  "unused-variables",
                                  "Unused Variables",
                                  OperationInput::None,
                                  AnalysisThread::Worker,
                                  kUnusedColumns,
                                  "%d from %d Name: %s",
                                  nullptr,
                                  runPlainAnalysis<&CObjektManager::findUnusedVariables>};
    return row;
}
