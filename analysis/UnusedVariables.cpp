#include "analysis/AnalysisColumns.h"
#include "analysis/AnalysisRun.h"
#include "analysis/AwareRules.h"
#include "analysis/OperationTable.h"

#include <atomic>

namespace {

// The C/AL-aware check of a variable the textual rule found unused: true when its name occurs a
// second time in scope without regard to letter case (locals: whole word from offset 1; globals:
// plain substring).
bool usedInOtherCase(const CVariable& v, std::string_view scope)
{
    if (v.isLocal) {
        int w = aware::findWholeWordNoCase(scope, v.name, 1);
        return w >= 0 && aware::findWholeWordNoCase(scope, v.name, w + 1) >= 0;
    }
    int f = srctext::findNoCase(scope, v.name, 0);
    return f >= 0 && srctext::findNoCase(scope, v.name, f + 1) != -1;
}

} // namespace

// Variables whose name occurs only in their own declaration: locals by whole word within their
// procedure or trigger, globals by plain search within their object. With the C/AL-aware option a
// use in another letter case counts too.
void CObjektManager::findUnusedVariables(CResultList& list, IProgress* progress, bool aware)
{
    AnalysisRun run(*this, list, progress, unusedVariablesOperation());
    setAwareSummary("");
    std::atomic<int> textual{0};
    std::atomic<int> letterCase{0};
    // Whether the aware rules keep the textually unused v out of the list.
    auto removed = [&](const CVariable& v, std::string_view scope) {
        if (!aware)
            return false;
        ++textual;
        if (!usedInOtherCase(v, scope))
            return false;
        ++letterCase;
        return true;
    };
    run.forEachObjectInParallel([&](int, CObjectRecord& record, ObjectRows& rows) {
        record.markOnceOnlyGlobals();
        const std::string header(record.headerText());
        for (const CProcedure& proc : record.procedures)
            for (const CVariable& v : proc.locals)
                if (v.onceOnly && !removed(v, proc.procedureText()))
                    rows.addLocated(record, {header, "", v.name, proc.isLocal ? "local Proc. " : "Proc. ", "", proc.signature},
                                    v.declPos, v.name);
        for (const CTrigger& trigger : record.triggers)
            for (const CVariable& v : trigger.locals)
                if (v.onceOnly && !removed(v, trigger.triggerText()))
                    rows.addLocated(record, {header, "", v.name, "Trigger", trigger.name2, trigger.name}, v.declPos, v.name);
        for (const CVariable& v : record.globals)
            if (v.onceOnly && !removed(v, record.objectText()))
                rows.addLocated(record, {header, "", v.name, "global Var", ""}, v.declPos, v.name);
    });
    if (!aware)
        return;
    aware::AwareCounts counts;
    counts.textual = textual;
    counts.letterCase = letterCase;
    setAwareSummary(counts.summary());
    status(awareSummary());
}

const OperationDef& unusedVariablesOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_UNUSED_VARIABLES,
        .command = "unused-variables",
        .summary = "global and local variables that are never used",
        .details = "Lists global variables, and locals of procedures and triggers, whose name occurs nowhere in their object but "
                   "in their declaration. An unused variable is dead weight that readers must still understand, and often the "
                   "trace of code that was removed or never finished.",
        .options = {kTypedSwitch, kAwareSwitch},
        .lastAction = "Unused Variables",
        .menu = {"search unused ...", "variables", 22},
        .check = CheckUse::Always,
        .columns = kUnusedColumns,
        .statusFormat = "%d from %d Name: %s",
        .run = runTypedOrAwareAnalysis<&CObjektManager::findUnusedVariables, &CObjektManager::findUnusedVariablesTyped>,
    };
    return row;
}
