#include "analysis/AnalysisRun.h"
#include "analysis/AwareRules.h"
#include "analysis/NameOccurrences.h"
#include "analysis/OperationTable.h"
#include "model/WorkerThreads.h"

#include <optional>
#include <string>
#include <vector>

// A table field is unused when its name occurs only once in the whole export: in its own entry.
// The occurrences of all field names are counted in one pass over the text first. With the
// C/AL-aware option the names found unused are counted again without regard to letter case, in a
// second pass over the text with names and text folded.
void CObjektManager::findUnusedTableFields(CResultList& list, IProgress* progress, bool aware)
{
    AnalysisRun run(*this, list, progress, unusedFieldsOperation());
    setAwareSummary("");
    std::vector<std::string> names;
    runInOrder(
        count(), [&](int i, int) { get(i).ensureFields(); },
        [&](int i) {
            for (const CTableField& field : get(i).fields)
                names.push_back(field.name);
        },
        [&] { return cancelled(); });
    CNameOccurrences occurrences(names);
    if (m_text != nullptr)
        occurrences.scan(m_text->view(), 2, cancelFlag());
    aware::AwareCounts counts;
    std::optional<CNameOccurrences> foldedOccurrences;
    if (aware && m_text != nullptr) {
        std::vector<std::string> unused;
        for (const std::string& name : names)
            if (occurrences.count(name) == 1)
                unused.push_back(aware::folded(name));
        foldedOccurrences.emplace(unused);
        foldedOccurrences->scanFolded(m_text->view(), 2, cancelFlag());
    }
    run.forEachObject([&](int i, CObjectRecord& record) {
        record.ensureFields();
        run.position(i);
        run.status(i, record);
        for (const CTableField& field : record.fields) {
            if (occurrences.count(field.name) != 1)
                continue;
            if (foldedOccurrences) {
                ++counts.textual;
                if (foldedOccurrences->count(aware::folded(field.name)) > 1) {
                    ++counts.letterCase;
                    continue;
                }
            }
            run.addRow({std::string(record.headerText()), "", std::to_string(field.number), field.name, "", ""},
                           -1, record.typeImage());
        }
    });
    if (!aware)
        return;
    setAwareSummary(counts.summary());
    status(awareSummary());
}

const OperationDef& unusedFieldsOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_UNUSED_FIELDS,
        .command = "unused-fields",
        .summary = "table fields whose name occurs only once in the export",
        .details = "Lists table fields whose name occurs only once in the whole export, in their definition. Such a field takes "
                   "room in every record and in every upgrade without being read or written by any object.",
        .options = {kTypedSwitch, kAwareSwitch},
        .lastAction = "Unused Fields",
        .menu = {"search unused ...", "table fields", 21},
        .check = CheckUse::Always,
        .columns = {{"Object", 250}, {"Count of unused Vars", 10}, {"ID", 100}, {"Name", 200}, {"Sort", 60}, {"Type", 100}, {"Function", 360}},
        .statusFormat = "%d von %d Name: %s durchsuchen",
        .run = runTypedOrAwareAnalysis<&CObjektManager::findUnusedTableFields, &CObjektManager::findUnusedTableFieldsTyped>,
    };
    return row;
}
