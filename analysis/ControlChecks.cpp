#include "analysis/AnalysisColumns.h"
#include "analysis/AnalysisRun.h"
#include "analysis/OperationTable.h"
#include "model/SourceText.h"

#include <string>
#include <vector>

// Duplicate procedure and control IDs of every object, one row per message line.
void CObjektManager::findDuplicateIds(CResultList& list, IProgress* progress)
{
    AnalysisRun run(*this, list, progress, duplicateIdsOperation());
    run.forEachObjectInParallel([&](int, CObjectRecord& record, ObjectRows& rows) {
        std::vector<std::string> lines;
        record.ensureTriggerVars();
        record.readReportControls();
        record.readFormControls();
        record.checkDuplicateIds(lines);
        for (const std::string& line : lines)
            rows.addRow({std::string(record.headerText()), line}, 0, record.typeImage());
    });
}

namespace {

// True when the captions of the languages do not all have the same number of ","-separated pages.
bool pageCountsDiffer(const std::map<std::string, std::string>& pageNames)
{
    int first = -1;
    for (const auto& [language, caption] : pageNames) {
        std::vector<std::string> pages;
        const int count = srctext::split(caption, ",", pages);
        if (first == -1)
            first = count;
        else if (count != first)
            return true;
    }
    return false;
}

} // namespace

// Tab controls of forms whose page names have a different number of pages in some language.
void CObjektManager::findMissingPageNameTranslations(CResultList& list, IProgress* progress)
{
    AnalysisRun run(*this, list, progress, pageTranslationsOperation());
    run.forEachObjectInParallel([&](int, CObjectRecord& record, ObjectRows& rows) {
        record.readFormControlsAbsolute();
        for (const CControl& control : record.controls) {
            if (control.type != CT_TABCONTROL || !pageCountsDiffer(control.pageNames))
                continue;
            rows.addLocated(record,
                            {std::to_string(record.number), std::string(record.headerText()), control.typeName(),
                             std::to_string(control.id)},
                            control.span.start(), "TabControl", -1);
        }
    });
}

// Reads the controls of every form; lists nothing.
void CObjektManager::checkForms(CResultList& list, IProgress* progress)
{
    AnalysisRun run(*this, list, progress, checkFormsOperation());
    run.forEachObjectInParallel([&](int, CObjectRecord& record, ObjectRows&) { record.readFormControls(); });
}

const OperationDef& duplicateIdsOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_DUPLICATE_IDS,
        .command = "duplicate-ids",
        .summary = "control and procedure IDs used twice in an object",
        .details = "Lists every procedure ID and every control ID that an earlier procedure or control of the same object "
                   "already carries, with the highest ID in use. Duplicate IDs break the import of the object into the "
                   "development environment.",
        .lastAction = "Search double IDs",
        .menu = {"Object synchronisation", "analyse control und fct-IDs", 30},
        .check = CheckUse::Always,
        .columns = kLocalGlobalColumns,
        .statusFormat = "%d von %d Name: %s",
        .run = runPlainAnalysis<&CObjektManager::findDuplicateIds>,
    };
    return row;
}

const OperationDef& pageTranslationsOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_PAGE_TRANSLATIONS,
        .command = "page-translations",
        .summary = "tab controls with missing PageName translations",
        .details = "Lists tab controls whose PageNames lack a translation. Users of the missing language see an untranslated tab "
                   "caption.",
        .lastAction = "Search Missing PageName Translations",
        .menu = {"Analyse sourceproblems", "Missing PageName Translations", 14},
        .check = CheckUse::Always,
        .columns = {{"ObjectID", 70}, {"ObjectName", 250}, {"Control Type", 100}, {"Control ID", 70}, {"Function", 360}},
        .run = runPlainAnalysis<&CObjektManager::findMissingPageNameTranslations>,
    };
    return row;
}

const OperationDef& checkFormsOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_CHECK_FORMS,
        .command = "check-forms",
        .summary = "the form check: reads the controls of every form, lists nothing",
        .details = "Reads the controls of every form; it lists nothing and shows that every form can be read.",
        .lastAction = "Forms checken",
        .menu = {.caption = "Check Forms", .position = 40},
        .check = CheckUse::Always,
        .columns = kUnusedColumns,
        .statusFormat = "%d from %d Name: %s",
        .run = runPlainAnalysis<&CObjektManager::checkForms>,
    };
    return row;
}
