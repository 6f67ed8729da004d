#include "analysis/OperationTable.h"

const std::vector<const OperationDef*>& operationTable()
{
    static const std::vector<const OperationDef*> rows = {
        &catalogueOperation(),
        &textSearchOperation(),
        &fieldReferenceOperation(),
        &tableReferenceOperation(),
        &unusedVariablesOperation(),
        &unusedFunctionsOperation(),
        &unusedFieldsOperation(),
        &unusedSumIndexFieldsOperation(),
        &localGlobalOperation(),
        &onceUsedOperation(),
        &duplicateIdsOperation(),
        &pageTranslationsOperation(),
        &checkFormsOperation(),
        &numberRangeOperation(),
        &referencesOperation(),
        &exportCodeOperation(),
        &splitOperation(),
    };
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
