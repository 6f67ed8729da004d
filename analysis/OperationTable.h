#pragma once

#include "analysis/Operation.h"

#include <string_view>
#include <vector>

// The rows of the operation table, each defined in the file that implements the operation.
const OperationDef& catalogueOperation();          // analysis/Catalogue.cpp
const OperationDef& exportCodeOperation();         // analysis/FileOperations.cpp
const OperationDef& splitOperation();              // analysis/FileOperations.cpp
const OperationDef& textSearchOperation();         // analysis/TextSearch.cpp
const OperationDef& fieldReferenceOperation();     // analysis/TextSearch.cpp
const OperationDef& tableReferenceOperation();     // analysis/TextSearch.cpp
const OperationDef& unusedVariablesOperation();    // analysis/UnusedVariables.cpp
const OperationDef& unusedFunctionsOperation();    // analysis/UnusedFunctions.cpp
const OperationDef& unusedFieldsOperation();       // analysis/UnusedFields.cpp
const OperationDef& unusedSumIndexFieldsOperation(); // analysis/UnusedSumIndexFields.cpp
const OperationDef& numberRangeOperation();        // analysis/NumberRange.cpp
const OperationDef& localGlobalOperation();        // analysis/VariableChecks.cpp
const OperationDef& onceUsedOperation();           // analysis/VariableChecks.cpp
const OperationDef& duplicateIdsOperation();       // analysis/ControlChecks.cpp
const OperationDef& pageTranslationsOperation();   // analysis/ControlChecks.cpp
const OperationDef& checkFormsOperation();         // analysis/ControlChecks.cpp
const OperationDef& referencesOperation();         // analysis/References.cpp
// Whether an operation has a typed form (--typed: by the reference index): unused fields, functions, variables.
bool offersTypedOption(const OperationDef& row);   // analysis/References.cpp

// Every operation a user can start, in the order of the command line's usage text.
const std::vector<const OperationDef*>& operationTable();
// The row of a quellix-cli command name, or nullptr.
const OperationDef* findOperation(std::string_view command);
// The row of a command ID, or nullptr (never for ID_NO_COMMAND).
const OperationDef* findOperationById(int commandId);
