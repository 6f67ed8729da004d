// One rule per test, each on a short export with one case that fires and one that must not.
#include "support/Catalogue.h"

#include <gtest/gtest.h>

using Rows = std::vector<std::vector<std::string>>;

TEST(DuplicateIdRule, SameIdTwiceInOneObjectNotAcrossObjects)
{
    Catalogue e(R"(OBJECT Codeunit 50000 Twins
{
  CODE
  {

    PROCEDURE First@1();
    BEGIN
      EXIT;
    END;

    PROCEDURE Second@1();
    BEGIN
      EXIT;
    END;

    BEGIN
    END.
  }
}

OBJECT Form 50001 Boxes
{
  CONTROLS
  {
    { 3   ;TextBox      ;0    ;0    ;1000 ;400  ;SourceExpr=A }
    { 3   ;TextBox      ;0    ;500  ;1000 ;400  ;SourceExpr=B }
    { 4   ;Label        ;0    ;900  ;1000 ;400  }
  }
  CODE
  {

    PROCEDURE First@1();
    BEGIN
      EXIT;
    END;

    PROCEDURE Second@2();
    BEGIN
      EXIT;
    END;

    BEGIN
    END.
  }
}
)");
    CResultList list;
    e.manager->findDuplicateIds(list, nullptr);
    EXPECT_EQ(rowCells(list), (Rows{
                                  {"Codeunit 50000 Twins", "Fehler: ProcedureID 1 Second MaxFktID = 1"},
                                  {"Form 50001 Boxes", "Fehler: ControlID 3 MaxFktID = 4"},
                              }));
}

TEST(PageTranslationRule, PageCountsThatDifferEitherWay)
{
    // The languages are walked in the order DEU, ENU: tab control 1 has more pages in the later
    // language, 2 in the earlier one; 3 has the same count in both, 4 only one language.
    Catalogue e(R"(OBJECT Form 50000 Tabs
{
  CONTROLS
  {
    { 1   ;TabControl   ;0    ;0    ;8000 ;5000 ;PageNamesML=[DEU=Kopf,Zeilen;ENU=Head,Lines,Extra] }
    { 2   ;TabControl   ;0    ;0    ;8000 ;5000 ;PageNamesML=[DEU=Kopf,Zeilen,Mehr;ENU=Head,Lines] }
    { 3   ;TabControl   ;0    ;0    ;8000 ;5000 ;PageNamesML=[DEU=Kopf,Zeilen;ENU=Head,Lines] }
    { 4   ;TabControl   ;0    ;0    ;8000 ;5000 ;PageNamesML=[ENU=Head,Lines,Extra] }
  }
}
)");
    CResultList list;
    e.manager->findMissingPageNameTranslations(list, nullptr);
    EXPECT_EQ(rowCells(list), (Rows{
                                  {"50000", "Form 50000 Tabs", "TabControl", "1"},
                                  {"50000", "Form 50000 Tabs", "TabControl", "2"},
                              }));
}

TEST(FormCheckRule, ReadsTheControlsOfFormsOnlyAndListsNothing)
{
    Catalogue e(R"(OBJECT Form 50000 Card
{
  CONTROLS
  {
    { 1   ;TextBox      ;0    ;0    ;1000 ;400  ;SourceExpr=A }
    { 1   ;TextBox      ;0    ;500  ;1000 ;400  ;SourceExpr=B }
  }
}

OBJECT Report 50001 List
{
  DATAITEMS
  {
    { PROPERTIES
      {
        DataItemTable=Table18;
      }
      SECTIONS
      {
        { PROPERTIES
          {
            SectionType=Body;
          }
          CONTROLS
          {
            { 1   ;TextBox      ;0    ;0    ;1500 ;423  ;SourceExpr="No." }
          }
           }
      }
       }
  }
}
)");
    CResultList list;
    e.manager->checkForms(list, nullptr);
    EXPECT_EQ(list.GetColumnCount(), 6);
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(e.byNumber(OT_FORM, 50000).controls.count(), 2);
    EXPECT_EQ(e.byNumber(OT_REPORT, 50001).controls.count(), 0);
    // The report's controls are still unread, so the ID check reads them afterwards.
    e.byNumber(OT_REPORT, 50001).readReportControls();
    EXPECT_EQ(e.byNumber(OT_REPORT, 50001).controls.count(), 1);
}
