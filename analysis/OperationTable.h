#pragma once

#include "analysis/Operation.h"

#include <string_view>
#include <vector>

// Rows that other files name, each defined in the file that implements the operation.
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

using OperationRows = std::vector<const OperationDef*>;

// Every operation a user can start, in the order of the command line's usage text.
const OperationRows& operationTable();
// The row of a quellix-cli command name, or nullptr.
const OperationDef* findOperation(std::string_view command);
// The row of a command ID, or nullptr (never for ID_NO_COMMAND).
const OperationDef* findOperationById(int commandId);

// What the front ends derive from the rows. Each takes the rows, so a test can hand it the table
// with a trial row added; the front ends pass operationTable().

// The analyses `check` runs when --only names none, in table order.
OperationRows checkedByDefault(const OperationRows& rows);

// One group of the "Source Analyses " menu: a submenu with its entries, or (submenu nullptr) one
// entry on the menu itself.
struct AnalysesMenuGroup {
    const char* submenu = nullptr;
    OperationRows entries;
};
// The menu's groups in the order they are shown (see MenuEntry).
std::vector<AnalysesMenuGroup> analysesMenuLayout(const OperationRows& rows);
