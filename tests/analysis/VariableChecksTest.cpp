#include "support/Catalogue.h"
#include "support/CustomerExport.h"

#include <gtest/gtest.h>

using Rows = std::vector<std::vector<std::string>>;

namespace {

const char* const kVariables = R"(OBJECT Codeunit 9 Vars
{
  PROPERTIES
  {
    OnRun=VAR
            Cust@1000 : Record 18;
          BEGIN
            Cust.INIT;
            Item.GET;
          END;

  }
  CODE
  {
    VAR
      Cust@1000 : Record 18;
      Msg@1001 : TextConst 'ENU=Hello';
      Ledg@1002 : Integer;
      Item@1003 : Record 27;

    PROCEDURE A@1();
    VAR
      Cust@1000 : Record 18;
    BEGIN
    END;

    PROCEDURE B@2();
    VAR
      cust@1000 : Record 18;
    BEGIN
      MESSAGE(Msg);
      Ledg := 1; // see CustLedgEntry
    END;

    BEGIN
    END.
  }
}
)";

} // namespace

TEST(LocalEqualsGlobal, LocalsOfProceduresThenTriggersWithTheGlobalsExactName)
{
    Catalogue e(kVariables);
    CResultList list;
    e.manager->findLocalEqualsGlobal(list, nullptr);
    EXPECT_EQ(rowCells(list), (Rows{
                                  {"Codeunit 9 Vars", "Cust", "", "Cust"},
                                  {"Codeunit 9 Vars", "Cust", "", "Cust"},
                              }));
    ASSERT_EQ(e.manager->results.count(), 2);
    EXPECT_EQ(e.manager->results[0].position, e.pos("Cust@1000 : Record 18;\r\n    BEGIN\r\n    END;"));
    EXPECT_EQ(e.manager->results[0].where, "Proc A@1()");
    EXPECT_EQ(e.manager->results[1].position, e.pos("Cust@1000"));
    EXPECT_EQ(list.GetColumn(2).heading, "local Fct.");
}

TEST(OnceUsedGlobals, NameOccurringExactlyTwiceInTheObject)
{
    Catalogue e(kVariables);
    CResultList list;
    e.manager->findOnceUsedGlobals(list, nullptr);
    // Ledg also stands inside CustLedgEntry, so it occurs three times.
    const Rows rows = rowCells(list);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Codeunit 9 Vars", "", "Msg", "global Var", "",
                                                 e.manager->results[0].context()}));
    EXPECT_EQ(rows[1][2], "Item");
    EXPECT_EQ(rows[1][4], "Record");
    EXPECT_EQ(e.manager->results[0].position, e.pos("Msg);"));
    EXPECT_EQ(list.GetColumn(1).heading, "Count of unused Vars.");
}

TEST(OnceUsedGlobals, FirstOccurrenceBeforeTheDeclarationIsTheLocation)
{
    Catalogue e(kCustomerExport);
    CResultList list;
    e.manager->findOnceUsedGlobals(list, nullptr);
    ASSERT_EQ(list.GetRowCount(), 1);
    EXPECT_EQ(list.GetCellText(0, 2), "SetupDone");
    const CResultLocation& use = e.manager->results[0];
    EXPECT_EQ(use.position, e.pos("SetupDone := TRUE"));
    EXPECT_NE(use.context().find("SetupDone := TRUE;"), std::string::npos);
    EXPECT_EQ(list.GetCellText(0, 5), use.context());
}
