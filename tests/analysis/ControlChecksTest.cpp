#include "support/Catalogue.h"
#include "support/CustomerExport.h"

#include <gtest/gtest.h>

using Rows = std::vector<std::vector<std::string>>;

TEST(DuplicateIds, ProcedureAndControlLinesOfEachObject)
{
    Catalogue e(kCustomerExport);
    CResultList list;
    RecordingStatus status;
    e.manager->setStatusSink(&status);
    e.manager->findDuplicateIds(list, &status);
    EXPECT_EQ(rowCells(list), (Rows{
                                  {"Form 18 Customer List", "Fehler: ProcedureID 1 Check MaxFktID = 1"},
                                  {"Form 18 Customer List", "Fehler: ControlID 5 MaxFktID = 6"},
                              }));
    EXPECT_EQ(list.GetItemData(1), 0);
    EXPECT_EQ(list.GetIcon(1), 162);
    EXPECT_EQ(e.manager->results.count(), 0);
    EXPECT_EQ(status.lines[2], "2 von 5 Name: Form 18 Customer List");
    EXPECT_EQ(e.byNumber(OT_REPORT, 18).controls.count(), 4);
}

TEST(PageNameTranslations, TabControlWithDifferentPageCountsOpensAtItsEntry)
{
    Catalogue e(kCustomerExport);
    CResultList list;
    e.manager->checkForms(list, nullptr); // controls already read keep their absolute positions
    RecordingStatus progress;
    e.manager->setStatusSink(&progress);
    e.manager->findMissingPageNameTranslations(list, &progress);
    // The second tab control has empty captions but two pages in both languages.
    EXPECT_EQ(rowCells(list), (Rows{{"18", "Form 18 Customer List", "TabControl", "1"}}));
    EXPECT_EQ(list.GetIcon(0), -1);
    ASSERT_EQ(e.manager->results.count(), 1);
    const CResultLocation& at = e.manager->results[0];
    EXPECT_EQ(at.position, e.pos("\r\n    { 1   ;TabControl"));
    EXPECT_EQ(at.term, "TabControl");
    EXPECT_EQ(at.objectName(), "Form 18 Customer List");
    EXPECT_TRUE(progress.lines.empty());
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 1, 2, 3, 4, 5, 5}));
}

TEST(CheckForms, ReadsTheFormsControlsAndListsNothing)
{
    Catalogue e(kCustomerExport);
    CResultList list;
    RecordingStatus status;
    e.manager->setStatusSink(&status);
    e.manager->checkForms(list, nullptr);
    EXPECT_EQ(list.GetColumnCount(), 6);
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(e.byNumber(OT_FORM, 18).controls.count(), 5);
    EXPECT_EQ(status.lines.back(), "4 from 5 Name: Codeunit 50000 Ledger Sums");
}
