// One rule per test, each on a short export with one case that fires and one that must not.
#include "model/SourceText.h"
#include "support/Catalogue.h"

#include <gtest/gtest.h>

using Rows = std::vector<std::vector<std::string>>;

TEST(LocalEqualsGlobalRule, LocalWithTheGlobalsExactName)
{
    Catalogue e(R"(OBJECT Codeunit 50000 Scope
{
  CODE
  {
    VAR
      Cust@1000 : Record 18;
      Item@1001 : Record 27;

    PROCEDURE Hides@1();
    VAR
      Cust@1000 : Record 18;
    BEGIN
      EXIT;
    END;

    PROCEDURE Differs@2();
    VAR
      Items@1000 : Record 27;
      item@1001 : Record 27;
    BEGIN
      EXIT;
    END;

    BEGIN
    END.
  }
}
)");
    CResultList list;
    e.manager->findLocalEqualsGlobal(list, nullptr);
    EXPECT_EQ(rowCells(list), (Rows{{"Codeunit 50000 Scope", "Cust", "", "Cust"}}));
    ASSERT_EQ(e.manager->results.count(), 1);
    EXPECT_EQ(e.manager->results[0].where, "Proc Hides@1()");
}

TEST(OnceUsedRule, OnlyTheGlobalUsedOnceNotTheOneNeverUsedNorTheOneUsedTwice)
{
    Catalogue e(R"(OBJECT Codeunit 50000 Counts
{
  CODE
  {
    VAR
      Never@1000 : Integer;
      Once@1001 : Decimal;
      Twice@1002 : Integer;

    PROCEDURE Run@1();
    BEGIN
      Once := 1;
      Twice := Twice + 1;
    END;

    BEGIN
    END.
  }
}
)");
    CResultList list;
    e.manager->findOnceUsedGlobals(list, nullptr);
    const Rows rows = rowCells(list);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Codeunit 50000 Counts", "", "Once", "global Var", "Decimal",
                                                 rows[0][5]}));
    EXPECT_NE(rows[0][5].find("Once := 1;"), std::string::npos);
    ASSERT_EQ(e.manager->results.count(), 1);
    EXPECT_EQ(e.manager->results[0].position, e.pos("Once := 1;"));
}

TEST(WordBoundary, ANameAtTheEndOfALongerIdentifierIsNoWholeWord)
{
    EXPECT_EQ(srctext::findWholeWord("TotalAmount Amount", "Amount", 0), 12);
    EXPECT_EQ(srctext::findWholeWord("TotalAmount", "Amount", 0), -1);
    EXPECT_EQ(srctext::findWholeWord("RePost;", "Post", 0), -1);
    EXPECT_EQ(srctext::findWholeWord("Re_Post", "_Post", 0), -1);
    EXPECT_EQ(srctext::findWholeWord("x._Post", "_Post", 0), 2);
}

TEST(WordBoundary, LocalUsedOnlyAtTheEndOfALongerIdentifierIsUnused)
{
    Catalogue e(R"(OBJECT Codeunit 50000 Sums
{
  CODE
  {

    PROCEDURE Add@1();
    VAR
      Amount@1000 : Decimal;
      Total@1001 : Decimal;
    BEGIN
      TotalAmount := Total;
    END;

    BEGIN
    END.
  }
}
)");
    CResultList list;
    e.manager->findUnusedVariables(list, nullptr);
    EXPECT_EQ(rowCells(list), (Rows{{"Codeunit 50000 Sums", "", "Amount", "Proc. ", "", "Add@1()"}}));
}

TEST(WordBoundary, ProcedureCalledOnlyAtTheEndOfALongerNameIsUnused)
{
    Catalogue e(R"(OBJECT Codeunit 50000 Posting
{
  CODE
  {

    PROCEDURE Post@1();
    BEGIN
      EXIT;
    END;

    PROCEDURE _Check@2();
    BEGIN
      EXIT;
    END;

    LOCAL PROCEDURE Book@3();
    BEGIN
      EXIT;
    END;

    BEGIN
    END.
  }
}

OBJECT Codeunit 50001 Caller
{
  CODE
  {
    BEGIN
      RePost;
      Re_Check;
      Posting.Book;
    END.
  }
}
)");
    CResultList list;
    e.manager->findUnusedProcedures(list, nullptr);
    EXPECT_EQ(rowCells(list), (Rows{
                                  {"Codeunit 50000 Posting", "", "Post@1()", "Proc. ", "", "Post@1()"},
                                  {"Codeunit 50000 Posting", "", "_Check@2()", "Proc. ", "", "_Check@2()"},
                              }));
    ASSERT_EQ(e.manager->results.count(), 2);
    EXPECT_EQ(e.manager->results[0].position, e.pos("Post@1"));
    EXPECT_EQ(e.manager->results[1].position, e.pos("_Check@2"));
}
