// The catalogue: the objects of the export as they were loaded.
#include "analysis/OperationTable.h"
#include "model/ObjektManager.h"
#include "results/ResultList.h"

#include <string>

namespace {
// One row per object in catalogue order: type, number, name and the object's span. The type is the
// OBJECT line's word, so a Page or XMLport (type 0) is named too.
Outcome fillCatalogue(CObjektManager& manager, CResultList& list, IProgress*, const AnalysisArgs&)
{
    list.ResetList();
    for (const ColumnDef& column : catalogueOperation().columns)
        list.AddColumn(column.heading, LIST_ALIGN_LEFT, column.width);
    for (int i = 0; i < manager.count(); ++i) {
        const CObjectRecord& r = manager.get(i);
        list.AddRow({r.shownTypeWord(), r.numberText(), r.headerName(), std::to_string(r.objectSpan.start()),
                     std::to_string(r.objectSpan.end())},
                    -1, r.typeImage());
    }
    return {};
}
} // namespace

const OperationDef& catalogueOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_NO_COMMAND,
        .command = "objects",
        .summary = "the catalogue: type, number, name, start and end of every object",
        .columns = {{"Type", 100}, {"No.", 100}, {"Name", 100}, {"Start", 100}, {"End", 100}},
        .run = fillCatalogue,
    };
    return row;
}
