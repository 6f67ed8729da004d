#include "analysis/AnalysisRun.h"
#include "model/SourceText.h"

#include <string>

// A table field is unused when its name occurs only once in the whole export: in its own entry.
void CObjektManager::findUnusedTableFields(CResultList& list, IProgress* progress)
{
    AnalysisRun run(*this, list, progress, "unused-fields");
    const std::string_view whole = m_text != nullptr ? m_text->view() : std::string_view();
    run.forEachObject([&](int i, CObjectRecord& record) {
        record.ensureFields();
        run.position(i);
        run.status(i, record);
        for (const CTableField& field : record.fields) {
            const int first = srctext::find(whole, field.name, 0);
            if (first == -1 || srctext::find(whole, field.name, first + 1) != -1)
                continue;
            run.addRow({std::string(record.headerText()), "", std::to_string(field.number), field.name, "", ""}, -1,
                       record.typeImage());
        }
    });
}
