#include "analysis/OperationTable.h"

#include <algorithm>
#include <cstring>

// The table: one line per operation, in the order of the command line's usage text. Each row
// function is defined in the file that implements its operation.
#define QUELLIX_OPERATION_ROWS(ROW)                                                                                  \
    ROW(catalogueOperation)                                                                                          \
    ROW(textSearchOperation)                                                                                         \
    ROW(fieldReferenceOperation)                                                                                     \
    ROW(tableReferenceOperation)                                                                                     \
    ROW(unusedVariablesOperation)                                                                                    \
    ROW(unusedFunctionsOperation)                                                                                    \
    ROW(unusedFieldsOperation)                                                                                       \
    ROW(unusedSumIndexFieldsOperation)                                                                               \
    ROW(localGlobalOperation)                                                                                        \
    ROW(onceUsedOperation)                                                                                           \
    ROW(duplicateIdsOperation)                                                                                       \
    ROW(pageTranslationsOperation)                                                                                   \
    ROW(checkFormsOperation)                                                                                         \
    ROW(numberRangeOperation)                                                                                        \
    ROW(referencesOperation)                                                                                         \
    ROW(exportCodeOperation)                                                                                         \
    ROW(splitOperation)

#define QUELLIX_DECLARE_ROW(function) const OperationDef& function();
#define QUELLIX_TABLE_ROW(function) &function(),

QUELLIX_OPERATION_ROWS(QUELLIX_DECLARE_ROW)

const OperationRows& operationTable()
{
    static const OperationRows rows = {QUELLIX_OPERATION_ROWS(QUELLIX_TABLE_ROW)};
    return rows;
}

const OperationDef* findOperation(std::string_view command)
{
    for (const OperationDef* row : operationTable())
        if (command == row->command)
            return row;
    return nullptr;
}

const OperationDef* findOperationById(int commandId)
{
    if (commandId == rid::ID_NO_COMMAND)
        return nullptr;
    for (const OperationDef* row : operationTable())
        if (row->commandId == commandId)
            return row;
    return nullptr;
}

OperationRows checkedByDefault(const OperationRows& rows)
{
    OperationRows checked;
    for (const OperationDef* row : rows)
        if (row->check == CheckUse::Always)
            checked.push_back(row);
    return checked;
}

std::vector<AnalysesMenuGroup> analysesMenuLayout(const OperationRows& rows)
{
    OperationRows entries;
    for (const OperationDef* row : rows)
        if (row->menu.caption != nullptr)
            entries.push_back(row);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const OperationDef* a, const OperationDef* b) { return a->menu.position < b->menu.position; });
    std::vector<AnalysesMenuGroup> groups;
    for (const OperationDef* row : entries) {
        const char* submenu = row->menu.submenu;
        auto group = std::find_if(groups.begin(), groups.end(), [&](const AnalysesMenuGroup& g) {
            return submenu != nullptr && g.submenu != nullptr && std::strcmp(g.submenu, submenu) == 0;
        });
        if (group == groups.end())
            group = groups.insert(groups.end(), AnalysesMenuGroup{submenu, {}});
        group->entries.push_back(row);
    }
    return groups;
}
