#include "analysis/AnalysisRun.h"
#include "analysis/NameOccurrences.h"
#include "analysis/OperationTable.h"

#include <string>
#include <vector>

// A table field is unused when its name occurs only once in the whole export: in its own entry.
// The occurrences of all field names are counted in one pass over the text first.
void CObjektManager::findUnusedTableFields(CResultList& list, IProgress* progress)
{
    AnalysisRun run(*this, list, progress, unusedFieldsOperation());
    std::vector<std::string> names;
    for (int i = 0; i < count() && !cancelled(); ++i) {
        get(i).ensureFields();
        for (const CTableField& field : get(i).fields)
            names.push_back(field.name);
    }
    CNameOccurrences occurrences(names);
    if (m_text != nullptr)
        occurrences.scan(m_text->view(), 2, cancelFlag());
    run.forEachObject([&](int i, CObjectRecord& record) {
        record.ensureFields();
        run.position(i);
        run.status(i, record);
        for (const CTableField& field : record.fields)
            if (occurrences.count(field.name) == 1)
                run.addRow({std::string(record.headerText()), "", std::to_string(field.number), field.name, "", ""},
                           -1, record.typeImage());
    });
}

const OperationDef& unusedFieldsOperation()
{
    static const OperationDef row{rid::ID_UNUSED_FIELDS,
                                  "unused-fields",
                                  "Unused Fields",
                                  OperationInput::None,
                                  AnalysisThread::Worker,
                                  {{"Object", 250},
                                   {"Count of unused Vars", 10},
                                   {"ID", 100},
                                   {"Name", 200},
                                   {"Sort", 60},
                                   {"Type", 100},
                                   {"Function", 360}},
                                  "%d von %d Name: %s durchsuchen",
                                  nullptr,
                                  runPlainAnalysis<&CObjektManager::findUnusedTableFields>};
    return row;
}
