// The references of the reference index in the desktop program: rows that open the viewer with
// every reference marked, F12 and Alt+Left, Shift+F12 into the list, the outline's "Fields".
#include "GuiTestSupport.h"

#include "app/QuellixDoc.h"
#include "model/ObjectRecord.h"
#include "resources/ResourceIds.h"
#include "views/AnsiText.h"
#include "views/ObjectViewer.h"
#include "views/ResultListCtrl.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/stc/stc.h>
#include <wx/treectrl.h>

using namespace guitest;

namespace {

class ReferencesGuiTest : public testing::Test {
protected:
    void SetUp() override
    {
        view = openSearchView(wxString::FromUTF8(sourcePath("examples/sample-export.txt")));
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override { closeAllDocuments(); }

    void findReferences(const std::string& target)
    {
        view->FindReferences(target);
        ASSERT_TRUE(waitForJob(view));
        pump(100);
    }
    const CResultLocation& locationOfRow(int row) { return view->Doc()->manager().results[view->Results().GetItemData(row)]; }
    int firstRowOf(const std::string& header)
    {
        for (int row = 0; row < view->Results().GetRowCount(); ++row)
            if (locationOfRow(row).objectName() == header)
                return row;
        return -1;
    }
    // Opens row, lets inspect look at the viewer; inspect ends it or the viewer is cancelled.
    bool openRow(int row, const std::function<void(CObjectViewer&)>& inspect)
    {
        bool seen = false;
        const CResultLocation& location = locationOfRow(row);
        whenDialogAppears(fromAnsi(location.objectName()) + " - " + fromAnsi(location.where), [&](wxDialog* dialog) {
            seen = true;
            auto* viewer = dynamic_cast<CObjectViewer*>(dialog);
            EXPECT_NE(viewer, nullptr);
            if (viewer != nullptr)
                inspect(*viewer);
            if (dialog->IsModal())
                dialog->EndModal(wxID_CANCEL);
        });
        view->OpenRow(row);
        return runUntil([&] { return seen; }, 5000);
    }
    // Puts the caret on the first occurrence of text after the line holding after.
    static void caretOn(CObjectViewer& viewer, const wxString& after, const wxString& text)
    {
        wxStyledTextCtrl* ctrl = viewer.TextCtrl();
        const int from = ctrl->FindText(0, ctrl->GetLength(), after);
        ASSERT_GE(from, 0) << after;
        const int at = ctrl->FindText(from, ctrl->GetLength(), text);
        ASSERT_GE(at, 0) << text;
        ctrl->GotoPos(at + 1);
    }

    CSearchView* view = nullptr;
};

int markedRuns(wxStyledTextCtrl* text)
{
    int runs = 0;
    bool inside = false;
    for (int pos = 0, length = text->GetLength(); pos < length; ++pos) {
        const bool hit = text->GetStyleAt(pos) == CAL_HIT;
        runs += hit && !inside;
        inside = hit;
    }
    return runs;
}

} // namespace

TEST_F(ReferencesGuiTest, RowsOpenTheViewerWithEveryReferenceOfTheObjectMarked)
{
    findReferences("Table 18.\"No.\"");
    ASSERT_EQ(view->Results().GetRowCount(), 38); // as quellix-cli references lists them
    const int row = firstRowOf("Form 21 Customer Card");
    ASSERT_GE(row, 0);
    int rowsInForm = 0;
    for (int r = 0; r < view->Results().GetRowCount(); ++r)
        rowsInForm += locationOfRow(r).objectName() == "Form 21 Customer Card";
    ASSERT_TRUE(openRow(row, [&](CObjectViewer& viewer) {
        EXPECT_EQ(markedRuns(viewer.TextCtrl()), rowsInForm);
        EXPECT_EQ(viewer.TextCtrl()->GetSelectedText(), "No.");
    }));
}

TEST_F(ReferencesGuiTest, F12GoesToTheDefinitionInAnotherObjectAndAltLeftComesBack)
{
    findReferences("Codeunit 50001.GetCreditLimit");
    ASSERT_EQ(view->Results().GetRowCount(), 1);
    ASSERT_TRUE(openRow(0, [&](CObjectViewer& viewer) {
        wxTreeCtrl* tree = viewer.Tree();
        wxTreeItemIdValue cookie;
        wxString last;
        for (wxTreeItemId item = tree->GetFirstChild(tree->GetRootItem(), cookie); item.IsOk(); item = tree->GetNextChild(tree->GetRootItem(), cookie))
            last = tree->GetItemText(item);
        EXPECT_EQ(last, "Fields");
        caretOn(viewer, "PROCEDURE CheckCreditLimit", "GetCreditLimit");
        ASSERT_TRUE(viewer.GoToDefinition());
        EXPECT_EQ(viewer.Model().object()->headerText(), "Codeunit 50001 Bonus Management");
        EXPECT_EQ(viewer.TextCtrl()->GetSelectedText(), "GetCreditLimit");
        EXPECT_TRUE(viewer.GoBack());
        EXPECT_EQ(viewer.Model().object()->headerText(), "Table 18 Customer");
        EXPECT_FALSE(viewer.GoBack());
        caretOn(viewer, "CODE", "BEGIN"); // a keyword names nothing
        EXPECT_FALSE(viewer.GoToDefinition());
    }));
}

TEST_F(ReferencesGuiTest, ShiftF12ListsTheReferencesInTheSearchViewsList)
{
    findReferences("Codeunit 50001.GetCreditLimit");
    ASSERT_TRUE(openRow(0, [&](CObjectViewer& viewer) {
        caretOn(viewer, "PROCEDURE CheckCreditLimit", "Balance");
        EXPECT_TRUE(viewer.FindReferences());
        EXPECT_EQ(viewer.ReferencesTarget(), "Table 18.\"Balance\"");
    }));
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_EQ(view->Results().GetRowCount(), 3);
}
