#include "analysis/OperationTable.h"

#include "support/TestExport.h"

#include "model/ObjektManager.h"
#include "results/ResultList.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(OperationTable, EveryRowIsFoundByItsNameAndCommandIdAndHasARunner)
{
    std::set<std::string> names;
    std::set<int> ids;
    for (const OperationDef* row : operationTable()) {
        EXPECT_TRUE(names.insert(row->command).second) << row->command;
        EXPECT_EQ(findOperation(row->command), row);
        EXPECT_NE(row->run, nullptr) << row->command;
        EXPECT_STRNE(row->summary, "") << row->command;
        if (row->commandId != rid::ID_NO_COMMAND) {
            EXPECT_TRUE(ids.insert(row->commandId).second) << row->command;
            EXPECT_EQ(findOperationById(row->commandId), row);
        }
    }
    // The commands of quellix-cli.
    for (const char* name : {"objects", "search", "field-reference-problem", "table-reference-problem",
                             "unused-variables", "unused-functions", "unused-fields", "unused-sumindexfields",
                             "local-global", "once-used", "duplicate-ids", "page-translations", "check-forms",
                             "number-range", "export-code", "split"})
        EXPECT_TRUE(names.count(name)) << name;
    EXPECT_EQ(findOperationById(rid::ID_SEARCH)->input, OperationInput::SearchTerm);
    EXPECT_EQ(findOperationById(rid::ID_NO_COMMAND), nullptr);
    EXPECT_EQ(findOperation("no-such-command"), nullptr);
}

TEST(OperationTable, TheInputKindsOfTheOperationsThatAskForMore)
{
    EXPECT_EQ(findOperation("search")->input, OperationInput::SearchTerm);
    EXPECT_EQ(findOperation("number-range")->input, OperationInput::NumberRange);
    EXPECT_EQ(findOperation("export-code")->input, OperationInput::OutputFile);
    EXPECT_EQ(findOperation("split")->input, OperationInput::FolderAndRange);
    EXPECT_EQ(findOperation("objects")->input, OperationInput::None);
    EXPECT_EQ(findOperation("unused-fields")->input, OperationInput::None);
    EXPECT_STREQ(findOperationById(rid::ID_FIELD_REFERENCE_PROBLEM)->fixedPattern, "=Field[0-9]");
    EXPECT_STREQ(findOperationById(rid::ID_TABLE_REFERENCE_PROBLEM)->fixedPattern, "Relation=Table[0-9]");
}

// Each analysis adds the columns of the row it is handed: a row given to the wrong analysis, or a
// list without columns, shows here.
TEST(OperationTable, EveryListingOperationShowsTheColumnsOfItsOwnRow)
{
    LoadedExport e(
        "OBJECT Table 18 Customer\r\n{\r\n  FIELDS\r\n  {\r\n    { 1   ;   ;No.                 ;Code20        }\r\n"
        "  }\r\n  CODE\r\n  {\r\n    VAR\r\n      Unused@1000 : Integer;\r\n\r\n    BEGIN\r\n    END.\r\n  }\r\n}\r\n");
    for (const OperationDef* row : operationTable()) {
        if (row->input == OperationInput::OutputFile || row->input == OperationInput::FolderAndRange)
            continue;
        AnalysisArgs args;
        args.term = "Customer";
        args.from = 1;
        args.to = 100;
        CResultList list;
        ASSERT_TRUE(row->run(*e.manager, list, nullptr, args).ok()) << row->command;
        ASSERT_FALSE(row->columns.empty()) << row->command;
        ASSERT_EQ(list.GetColumnCount(), static_cast<int>(row->columns.size())) << row->command;
        for (size_t c = 0; c < row->columns.size(); ++c)
            EXPECT_EQ(list.GetColumn(static_cast<int>(c)).heading, row->columns[c].heading) << row->command;
    }
}
