// The object viewer opened from rows of a search over the sample export.
#include "GuiTestSupport.h"

#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "app/QuellixDoc.h"
#include "model/ObjectRecord.h"
#include "resources/ResourceIds.h"
#include "views/AnsiText.h"
#include "views/Messages.h"
#include "views/ObjectViewer.h"
#include "views/ResultListCtrl.h"
#include "views/SearchView.h"
#include "settings/SettingsKeys.h"

#include <gtest/gtest.h>
#include <wx/textentry.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/display.h>
#include <wx/checkbox.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/fileconf.h>
#include <wx/stc/stc.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>

using namespace guitest;

namespace {
std::vector<wxString> childTexts(wxTreeCtrl* tree, const wxTreeItemId& parent)
{
    std::vector<wxString> texts;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId item = tree->GetFirstChild(parent, cookie); item.IsOk(); item = tree->GetNextChild(parent, cookie))
        texts.push_back(tree->GetItemText(item));
    return texts;
}

wxTreeItemId childNamed(wxTreeCtrl* tree, const wxTreeItemId& parent, const wxString& text)
{
    wxTreeItemIdValue cookie;
    for (wxTreeItemId item = tree->GetFirstChild(parent, cookie); item.IsOk(); item = tree->GetNextChild(parent, cookie))
        if (tree->GetItemText(item) == text)
            return item;
    return wxTreeItemId();
}

// Separate runs of the bold red hit style in the text control.
int markedRuns(wxStyledTextCtrl* text)
{
    int runs = 0;
    bool inside = false;
    for (int pos = 0, length = text->GetLength(); pos < length; ++pos) {
        bool hit = text->GetStyleAt(pos) == CAL_HIT;
        runs += hit && !inside;
        inside = hit;
    }
    return runs;
}

// The expected first visible line for the selection's start: ten lines above it, at least 0.
int tenLinesAbove(wxStyledTextCtrl* text)
{
    return std::max(0, text->LineFromPosition(text->GetSelectionStart()) + 1 - 10);
}

class ObjectViewerTest : public testing::Test {
protected:
    void SetUp() override
    {
        view = openSearchView(wxString::FromUTF8(sourcePath("examples/sample-export.txt")));
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override { closeAllDocuments(); }

    void search(const wxString& term)
    {
        dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue(term);
        dynamic_cast<wxChoice*>(view->Form()->FindWindow(rid::IDC_SEARCH_OPTION))->SetStringSelection("normal");
        view->RunSearch();
        ASSERT_TRUE(waitForJob(view));
        pump(100);
    }
    CObjektManager& manager() { return view->Doc()->manager(); }
    const CResultLocation& locationOfRow(int row) { return manager().results[view->Results().GetItemData(row)]; }
    // The first row whose location lies in the object with this header, -1 when none.
    int firstRowOf(const std::string& header)
    {
        for (int row = 0; row < view->Results().GetRowCount(); ++row)
            if (locationOfRow(row).objectName() == header)
                return row;
        return -1;
    }
    int rowsOf(const std::string& header)
    {
        int rows = 0;
        for (int row = 0; row < view->Results().GetRowCount(); ++row)
            rows += locationOfRow(row).objectName() == header;
        return rows;
    }
    wxString titleOf(const CResultLocation& location)
    {
        return fromAnsi(location.objectName()) + " - " + fromAnsi(location.where);
    }
    // Opens row with the given opener, lets inspect look at the viewer, then ends it with code.
    bool openRow(int row, const std::function<void()>& open, const std::function<void(CObjectViewer&)>& inspect,
                 int code = wxID_CANCEL)
    {
        bool seen = false;
        whenDialogAppears(titleOf(locationOfRow(row)), [&](wxDialog* dialog) {
            seen = true;
            auto* viewer = dynamic_cast<CObjectViewer*>(dialog);
            EXPECT_NE(viewer, nullptr);
            if (viewer != nullptr)
                inspect(*viewer);
            dialog->EndModal(code);
        });
        open();
        return runUntil([&] { return seen; }, 5000);
    }
    bool openRow(int row, const std::function<void(CObjectViewer&)>& inspect)
    {
        return openRow(row, [this, row] { view->OpenRow(row); }, inspect);
    }

    CSearchView* view = nullptr;
};

wxButton* button(CObjectViewer& viewer, int id)
{
    return dynamic_cast<wxButton*>(viewer.FindWindow(id));
}
} // namespace

TEST_F(ObjectViewerTest, TableShowsTitleKeysAndEveryHitOfTheSearchInBoldRed)
{
    search("Bonus");
    int row = firstRowOf("Table 18 Customer");
    ASSERT_GE(row, 0);
    ASSERT_TRUE(openRow(row, [&](CObjectViewer& viewer) {
        EXPECT_EQ(viewer.GetTitle(), titleOf(locationOfRow(row)));
        wxTreeCtrl* tree = viewer.Tree();
        wxTreeItemId root = tree->GetRootItem();
        EXPECT_EQ(childTexts(tree, root), (std::vector<wxString>{"Keys", "Procedures", "globale Variablen", "Fields"}));
        wxTreeItemId keys = childNamed(tree, root, "Keys");
        EXPECT_EQ(childTexts(tree, keys), (std::vector<wxString>{"Key0 active", "Key1 active", "Key2 active"}));
        EXPECT_EQ(childTexts(tree, childNamed(tree, keys, "Key2 active")),
                  (std::vector<wxString>{"Bonus Code", "Name"}));
        wxTreeItemId globals = childNamed(tree, root, "globale Variablen");
        std::vector<wxString> globalTexts = childTexts(tree, globals);
        ASSERT_GE(globalTexts.size(), 4u);
        EXPECT_EQ(globalTexts[0], "Text001 ");
        EXPECT_EQ(globalTexts[1], "BonusSetup Record");

        wxStyledTextCtrl* text = viewer.TextCtrl();
        EXPECT_TRUE(text->GetReadOnly());
        EXPECT_EQ(markedRuns(text), rowsOf("Table 18 Customer"));
        int chosen = viewer.Model().chosenHit();
        ASSERT_GE(chosen, 0);
        EXPECT_EQ(viewer.Model().current(), chosen);
        EXPECT_EQ(text->GetSelectedText().Lower(), "bonus");
        EXPECT_EQ(text->GetStyleAt(text->GetSelectionStart()), CAL_HIT);
        EXPECT_TRUE(text->StyleGetBold(CAL_HIT));
        EXPECT_EQ(text->StyleGetForeground(CAL_HIT), wxColour(255, 0, 0));
        EXPECT_EQ(text->GetFirstVisibleLine(), tenLinesAbove(text));
        EXPECT_GT(text->GetFirstVisibleLine(), 0);
    }));
}

TEST_F(ObjectViewerTest, CodeunitShowsProceduresAndGlobalsAndStepsFromHitToHit)
{
    search("Bonus");
    int row = firstRowOf("Codeunit 50001 Bonus Management");
    ASSERT_GE(row, 0);
    ASSERT_TRUE(openRow(row, [&](CObjectViewer& viewer) {
        wxTreeCtrl* tree = viewer.Tree();
        wxTreeItemId root = tree->GetRootItem();
        EXPECT_EQ(childTexts(tree, root), (std::vector<wxString>{"Procedures", "globale Variablen"}));
        std::vector<wxString> procedures = childTexts(tree, childNamed(tree, root, "Procedures"));
        ASSERT_EQ(procedures.size(), 9u);
        EXPECT_EQ(procedures[0], "CalcAllBonus@1() Id 1 ");
        EXPECT_EQ(procedures[2], "GetCreditLimit@3(CustNo@1000 : Code[20]) : Decimal Id 3 ");
        EXPECT_EQ(procedures[7], "RoundBonus@7(Amount@1000 : Decimal) : Decimal Id 7 ");
        EXPECT_EQ(procedures[8], "GetSetup@1() Id 1 ");
        std::vector<wxString> globals = childTexts(tree, childNamed(tree, root, "globale Variablen"));
        EXPECT_EQ(globals[3], "Window Dialog");
        EXPECT_EQ(globals[7], "LastBonusNo Code");

        wxStyledTextCtrl* text = viewer.TextCtrl();
        EXPECT_EQ(markedRuns(text), rowsOf("Codeunit 50001 Bonus Management"));
        const int last = static_cast<int>(viewer.Model().hits().size()) - 1;
        ASSERT_GT(last, 3);
        click(button(viewer, rid::IDC_LAST_HIT));
        EXPECT_EQ(viewer.Model().current(), last);
        EXPECT_EQ(text->GetSelectionStart(), viewer.Shown().at(viewer.Model().hits().back().offset));
        EXPECT_EQ(text->GetFirstVisibleLine(), tenLinesAbove(text));
        EXPECT_GT(text->GetFirstVisibleLine(), 10);
        click(button(viewer, rid::IDC_NEXT_HIT));
        EXPECT_EQ(viewer.Model().current(), last);
        click(button(viewer, rid::IDC_PREVIOUS_HIT));
        EXPECT_EQ(viewer.Model().current(), last - 1);
        EXPECT_EQ(text->GetFirstVisibleLine(), tenLinesAbove(text));
        click(button(viewer, rid::IDC_FIRST_HIT));
        EXPECT_EQ(viewer.Model().current(), 0);
        EXPECT_EQ(text->LineFromPosition(text->GetSelectionStart()), 1) << "the name in the header, after the empty line";
        EXPECT_EQ(text->GetFirstVisibleLine(), 0);

        // A single click in the tree leaves the text; a double click goes to the declaration.
        wxTreeItemId window = childNamed(tree, childNamed(tree, root, "globale Variablen"), "Window Dialog");
        ASSERT_TRUE(window.IsOk());
        tree->SelectItem(window);
        EXPECT_EQ(text->GetFirstVisibleLine(), 0);
        EXPECT_TRUE(viewer.ScrollToDeclaration(window));
        EXPECT_EQ(text->GetSelectedText(), "Window@1003 : Dialog;");
        EXPECT_EQ(text->GetFirstVisibleLine(), tenLinesAbove(text));
        EXPECT_FALSE(viewer.ScrollToDeclaration(childNamed(tree, root, "Procedures")));

        EXPECT_TRUE(viewer.FindNext("Faktor", true, true));
        EXPECT_EQ(text->GetSelectedText(), "Faktor");
        EXPECT_FALSE(viewer.FindNext("NoSuchWordAnywhere", true, false));

    }));
}

TEST_F(ObjectViewerTest, TheFindBoxTakesInputFindsAgainWithF3AndEscClosesTheBoxOnly)
{
    search("Bonus");
    int row = firstRowOf("Codeunit 50001 Bonus Management");
    ASSERT_GE(row, 0);
    ASSERT_TRUE(openRow(row, [](CObjectViewer& viewer) {
        wxStyledTextCtrl* text = viewer.TextCtrl();
        wxUIActionSimulator keys;
        EXPECT_FALSE(viewer.IsFindBoxShown());
        keys.Char('F', wxMOD_CONTROL);
        ASSERT_TRUE(runUntil([&] { return viewer.IsFindBoxShown(); }, 3000));
        text->SetSelection(0, 0);
        keys.Text("BonusPosting");
        pump(100);
        auto* findText = dynamic_cast<wxTextCtrl*>(viewer.FindWindow(IDC_FIND_TEXT));
        ASSERT_NE(findText, nullptr);
        EXPECT_EQ(findText->GetValue(), "BonusPosting");
        const struct {
            int key;
            int modifiers;
            int line; // of the selection after the key, counted from 0
        } steps[] = {
            {WXK_RETURN, wxMOD_NONE, 26}, {WXK_F3, wxMOD_NONE, -1}, {WXK_F3, wxMOD_SHIFT, 26},
        };
        int afterFirst = -1;
        for (const auto& step : steps) {
            keys.Char(step.key, step.modifiers);
            pump(100);
            EXPECT_EQ(text->GetSelectedText(), "BonusPosting") << step.key;
            const int line = text->LineFromPosition(text->GetSelectionStart());
            if (step.line >= 0)
                EXPECT_EQ(line, step.line) << step.key;
            else
                EXPECT_GT(line, 26) << "F3 finds the next one";
            afterFirst = line;
        }
        EXPECT_EQ(afterFirst, 26);
        // "Match case" ticks, and then the lower-case word is found nowhere.
        auto* matchCase = dynamic_cast<wxCheckBox*>(viewer.FindWindow(IDC_FIND_MATCH_CASE));
        ASSERT_NE(matchCase, nullptr);
        click(matchCase);
        EXPECT_TRUE(matchCase->GetValue());
        findText->SetFocus();
        findText->SelectAll();
        keys.Text("bonusposting");
        keys.Char(WXK_RETURN);
        pump(100);
        EXPECT_EQ(dynamic_cast<wxStaticText*>(viewer.FindWindow(IDC_FIND_STATE))->GetLabel(), "not found");
        // Esc closes the box, the viewer stays.
        keys.Char(WXK_ESCAPE);
        pump(200);
        EXPECT_FALSE(viewer.IsFindBoxShown());
        EXPECT_TRUE(viewer.IsShown());
        EXPECT_TRUE(viewer.IsModal());
    }));
}

TEST_F(ObjectViewerTest, SteppingToAHitShowsTheStartOfItsLineAndTheTreeWidensWithTheSash)
{
    search("Bonus");
    int row = firstRowOf("Codeunit 50001 Bonus Management");
    ASSERT_GE(row, 0);
    ASSERT_TRUE(openRow(row, [](CObjectViewer& viewer) {
        viewer.SetSize(700, 500);
        viewer.Layout();
        pump(100);
        wxStyledTextCtrl* text = viewer.TextCtrl();
        int tried = 0;
        for (int n = 0; n < static_cast<int>(viewer.Model().hits().size()); ++n) {
            text->SetXOffset(2000);
            viewer.ShowHit(n);
            const int column = text->GetColumn(text->GetSelectionStart());
            if (column < 8 || column > 40)
                continue;
            ++tried;
            EXPECT_EQ(text->GetXOffset(), 0) << "hit " << n << " at column " << column;
        }
        EXPECT_GT(tried, 0) << "no hit a little right of its line's start";

        wxSplitterWindow* sash = viewer.Splitter();
        const int before = viewer.Tree()->GetSize().x;
        sash->SetSashPosition(before + 120);
        pump(100);
        EXPECT_EQ(viewer.Tree()->GetSize().x, before + 120);
    }));
}

TEST_F(ObjectViewerTest, OneHitKeepsTheButtonsAndAnObjectWithoutHitsDisablesThem)
{
    search("Dept - Bonus");
    ASSERT_EQ(view->Results().GetRowCount(), 1);
    ASSERT_TRUE(openRow(0, [&](CObjectViewer& viewer) {
        for (int id = rid::IDC_FIRST_HIT; id <= rid::IDC_LAST_HIT; ++id)
            EXPECT_TRUE(button(viewer, id)->IsEnabled()) << id;
        click(button(viewer, rid::IDC_NEXT_HIT));
        EXPECT_EQ(viewer.Model().current(), 0);
        EXPECT_EQ(viewer.TextCtrl()->GetSelectedText(), "Dept - Bonus");
        EXPECT_EQ(viewer.TextCtrl()->GetFirstVisibleLine(), 0);
        EXPECT_FALSE(viewer.Tree()->GetRootItem().IsOk() &&
                     viewer.Tree()->GetChildrenCount(viewer.Tree()->GetRootItem()) > 0)
            << "a menu suite has no keys, procedures or globals";
    }));

    // The same object seen from a location the last search did not find.
    CObjectRecord* menuSuite = locationOfRow(0).object;
    CResultLocation elsewhere = menuSuite->locate(menuSuite->objectSpan.start() + 40, "Modified");
    bool checked = false;
    whenDialogAppears(titleOf(elsewhere), [&](wxDialog* dialog) {
        auto& viewer = dynamic_cast<CObjectViewer&>(*dialog);
        for (int id = rid::IDC_FIRST_HIT; id <= rid::IDC_LAST_HIT; ++id)
            EXPECT_FALSE(button(viewer, id)->IsEnabled()) << id;
        EXPECT_EQ(markedRuns(viewer.TextCtrl()), 0);
        checked = true;
        dialog->EndModal(wxID_OK);
    });
    manager().results.removeAll(); // the last search now found nothing
    EXPECT_TRUE(CObjectViewer::show(wxGetApp().settings(), view->GetFrame(), elsewhere));
    EXPECT_TRUE(checked);
}

TEST_F(ObjectViewerTest, EnterAndShowObjectOpenTheSelectedRow)
{
    search("Bonus");
    CResultListCtrl* list = view->ResultListCtrl();
    list->SetItemState(2, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    list->SetFocus();
    pump(50);
    EXPECT_TRUE(openRow(2, [] { wxUIActionSimulator().Char(WXK_RETURN); }, [](CObjectViewer&) {}));
    pump(50);
    EXPECT_TRUE(openRow(
        2,
        [this] {
            wxCommandEvent command(wxEVT_MENU, rid::menuIdOf(rid::ID_SHOW_OBJECT));
            view->GetFrame()->GetEventHandler()->ProcessEvent(command);
        },
        [](CObjectViewer&) {}));
}

TEST_F(ObjectViewerTest, TabStepsFromTheTextThroughTheButtonsAndTheTreeBackToTheText)
{
    search("Bonus");
    int row = firstRowOf("Codeunit 50001 Bonus Management");
    ASSERT_GE(row, 0);
    ASSERT_TRUE(openRow(row, [](CObjectViewer& viewer) {
        wxUIActionSimulator keys;
        viewer.TextCtrl()->SetFocus();
        pump(50);
        auto focused = [] { return wxWindow::FindFocus() ? wxWindow::FindFocus()->GetId() : -1; };
        std::vector<int> seen;
        for (int i = 0; i < 8; ++i) {
            keys.Char(WXK_TAB);
            pump(50);
            seen.push_back(focused());
        }
        const std::vector<int> expected{rid::IDC_FIRST_HIT, rid::IDC_FIRST_HIT + 1, rid::IDC_FIRST_HIT + 2,
                                        rid::IDC_LAST_HIT,  wxID_OK,                wxID_CANCEL,
                                        rid::IDC_OBJECT_TREE, rid::IDC_OBJECT_TEXT};
        EXPECT_EQ(seen, expected);
        keys.Char(WXK_TAB, wxMOD_SHIFT);
        pump(50);
        EXPECT_EQ(focused(), rid::IDC_OBJECT_TREE);
        EXPECT_TRUE(viewer.TextCtrl()->GetReadOnly());
    }));
}

TEST_F(ObjectViewerTest, OkGivesTrueCancelFalseAndTheSizeIsRemembered)
{
    search("Bonus");
    const CResultLocation location = locationOfRow(0);
    wxRect closedAt;
    whenDialogAppears(titleOf(location), [&](wxDialog* dialog) {
        dialog->SetSize(30, 40, 820, 560);
        pump(100);
        closedAt = dialog->GetRect();
        click(dialog->FindWindow(wxID_OK));
    });
    EXPECT_TRUE(CObjectViewer::show(wxGetApp().settings(), view->GetFrame(), location));

    wxFileConfig stored(wxString(), wxString(), wxGetApp().settingsFile(), wxString(), wxCONFIG_USE_LOCAL_FILE);
    EXPECT_EQ(stored.ReadLong("/ObjectViewer/Width", 0), closedAt.width);
    EXPECT_EQ(stored.ReadLong("/ObjectViewer/Height", 0), closedAt.height);

    wxSize reopened;
    whenDialogAppears(titleOf(location), [&](wxDialog* dialog) {
        reopened = dialog->GetSize();
        click(dialog->FindWindow(wxID_CANCEL));
    });
    EXPECT_FALSE(CObjectViewer::show(wxGetApp().settings(), view->GetFrame(), location));
    EXPECT_EQ(reopened, closedAt.GetSize());

    // A place remembered on a larger screen is cut to this one's work area: OK stays in reach.
    const wxRect area = wxDisplay(0u).GetClientArea();
    ObjectViewerPlacement larger{area.x + area.width / 2, area.y + area.height / 2, area.width + 300, area.height + 200};
    larger.write(wxGetApp().settings());
    wxRect shownAt;
    whenDialogAppears(titleOf(location), [&](wxDialog* dialog) {
        pump(100);
        shownAt = dialog->GetScreenRect();
        dialog->EndModal(wxID_CANCEL);
    });
    EXPECT_FALSE(CObjectViewer::show(wxGetApp().settings(), view->GetFrame(), location));
    EXPECT_TRUE(area.Contains(shownAt)) << shownAt.x << "," << shownAt.y << " " << shownAt.width << "x" << shownAt.height;
    ObjectViewerPlacement{closedAt.x, closedAt.y, closedAt.width, closedAt.height}.write(wxGetApp().settings());
}

TEST_F(ObjectViewerTest, NothingOpensWhileAJobRuns)
{
    closeAllDocuments();
    view = openSearchView(wxString::FromUTF8(writeLargeExport("viewer-jobs.txt", 60000)));
    ASSERT_NE(view, nullptr);
    search("Customer.FIND");
    ASSERT_GT(view->Results().GetRowCount(), 0);
    const size_t windows = wxTopLevelWindows.size();
    wxCommandEvent unusedVariables(wxEVT_MENU, rid::menuIdOf(1030));
    view->GetFrame()->GetEventHandler()->ProcessEvent(unusedVariables);
    ASSERT_TRUE(view->IsWorkerRunning());
    view->OpenRow(0);
    EXPECT_EQ(wxTopLevelWindows.size(), windows);
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_NE(wxGetApp().mainFrame()->messageText(), messages::kNoOpeningDuringJob) << "said after the job too";
    ASSERT_GT(view->Results().GetRowCount(), 0);
    EXPECT_TRUE(openRow(0, [](CObjectViewer& viewer) { EXPECT_EQ(viewer.Model().hits().size(), 1u); }));
}

TEST_F(ObjectViewerTest, AHitFarRightIsScrolledIntoViewHorizontally)
{
    search("customer %1");
    int row = firstRowOf("Codeunit 50001 Bonus Management");
    ASSERT_GE(row, 0);
    ASSERT_TRUE(openRow(row, [](CObjectViewer& viewer) {
        viewer.SetSize(700, 500);
        viewer.Layout();
        pump(100);
        viewer.ShowHit(0);
        wxStyledTextCtrl* text = viewer.TextCtrl();
        int column = text->GetColumn(text->GetSelectionStart());
        ASSERT_GT(column, 100) << "the hit stands at the end of a long TextConst line";
        EXPECT_GT(text->GetXOffset(), 0);
        int left = text->PointFromPosition(text->GetSelectionStart()).x;
        int right = text->PointFromPosition(text->GetSelectionEnd()).x;
        EXPECT_GE(left, text->GetMarginWidth(0));
        EXPECT_LE(right, text->GetClientSize().x);
        // Back to a hit at the left: the view follows.
        text->SetXOffset(2000);
        viewer.ShowHit(0);
        EXPECT_GE(text->PointFromPosition(text->GetSelectionStart()).x, text->GetMarginWidth(0));
    }));
}
