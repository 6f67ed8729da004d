#include "analysis/AnalysisRun.h"
#include "analysis/OperationTable.h"

#include <string>

// Objects whose number, and table fields whose field number, lie in from..to; every row opens the
// object at its start.
void CObjektManager::searchNumberRange(CResultList& list, IProgress* progress, int from, int to, bool objects,
                                       bool tableFields)
{
    AnalysisRun run(*this, list, progress, numberRangeOperation());
    run.forEachObjectInParallel([&](int, CObjectRecord& record, ObjectRows& rows) {
        const bool release = !keepParses() && record.parseLevel == 1;
        record.fieldsOnce();
        const std::string name = record.headerName();
        const std::string number = std::to_string(record.number);
        if (objects && from <= record.number && record.number <= to)
            rows.addLocated(record, {record.shownTypeWord(), number, number, name}, record.objectSpan.start(), name);
        if (tableFields && record.type == OT_TABLE) {
            for (const CTableField& field : record.fields)
                if (from <= field.number && field.number <= to)
                    rows.addLocated(record, {"TableField", number, std::to_string(field.number), field.name},
                                    record.objectSpan.start(), name);
        }
        if (release)
            record.releaseCode();
    });
}

namespace {
Outcome runNumberRange(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs& args)
{
    m.searchNumberRange(list, progress, args.from, args.to, args.objects, args.tableFields);
    return {};
}
} // namespace

const OperationDef& numberRangeOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_NUMBER_RANGE,
        .command = "number-range",
        .summary = "objects and table fields numbered FROM..TO",
        .lastAction = "Search range of numbers",
        .input = OperationInput::NumberRange,
        .columns = {{"Type", 100}, {"ObjectID", 100}, {"ReferenceID", 100}, {"Description", 300}, {"", 10}},
        .run = runNumberRange,
    };
    return row;
}
