// The "Changes" view driven through its controls: two exports compared, an object side by side,
// stepping from change to change, the noise filter; its screenshot when QUELLIX_CHANGES_SCREENSHOT
// names the PNG file to write.
#include "GuiTestSupport.h"

#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "merge/gui/ChangesView.h"
#include "resources/ResourceIds.h"
#include "views/ResultListCtrl.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/choicdlg.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/listbox.h>
#include <wx/stc/stc.h>
#include <wx/textctrl.h>

#include <fstream>

using namespace guitest;

namespace {

class ChangesViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        whenDialogAppears("Neu", [](wxDialog* dialog) {
            dynamic_cast<wxSingleChoiceDialog*>(dialog)->SetSelection(choiceEntries(dialog).Index("Changes"));
            dialog->EndModal(wxID_OK);
        });
        wxCommandEvent newCommand(wxEVT_MENU, wxID_NEW);
        wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(newCommand);
        runUntil([this] {
            view = dynamic_cast<CChangesView*>(wxGetApp().docManager()->GetCurrentView());
            return view != nullptr;
        });
        ASSERT_NE(view, nullptr);
        pump(100);
    }
    void TearDown() override { closeAllDocuments(); }

    // Compares the sample export with a copy changed in a few places, through the buttons.
    void compareWithChangedSample()
    {
        std::string a = readFile(sourcePath("examples/sample-export.txt"));
        std::string b = a;
        auto replace = [&](const std::string& from, const std::string& to) { b.replace(b.find(from), from.size(), to); };
        replace("      CALCFIELDS(Balance);\r\n", "      CALCFIELDS(Balance,\"Balance (LCY)\");\r\n      TESTFIELD(Blocked);\r\n");
        replace("    { 7   ;   ;City                ;Text30 ", "    { 7   ;   ;City                ;Text50 ");
        replace("Time=10:20:11;", "Time=11:20:11;"); // Form 18: noise only
        const std::string pathA = tempPath("changes a.txt"), pathB = tempPath("changes b.txt");
        std::ofstream(pathA, std::ios::binary) << a;
        std::ofstream(pathB, std::ios::binary) << b;
        dynamic_cast<wxTextCtrl*>(view->Form()->FindWindow(rid::IDC_CHANGES_EXPORT_A))->SetValue(wxString::FromUTF8(pathA));
        dynamic_cast<wxTextCtrl*>(view->Form()->FindWindow(rid::IDC_CHANGES_EXPORT_B))->SetValue(wxString::FromUTF8(pathB));
        click(view->Form()->FindWindow(rid::IDC_CHANGES_COMPARE));
        ASSERT_TRUE(runUntil([this] { return !view->IsBusy(); }, 30000));
        pump(50);
    }

    CChangesView* view = nullptr;
};

} // namespace

TEST_F(ChangesViewTest, ListsChangedObjectsShowsOneSideBySideAndStepsThroughItsChanges)
{
    compareWithChangedSample();
    CResultList& list = view->Results();
    ASSERT_EQ(list.GetRowCount(), 1);
    EXPECT_EQ(list.GetListText("|", "\n"), "Type|No.|Name|Change|Elements|Lines|\nTable|18|Customer|changed|2|+3 -2|\n");
    EXPECT_NE(view->StatusText().Find("1 changed, 0 added, 0 removed, 1 with noise only"), wxNOT_FOUND);

    view->ShowObject(0);
    wxListBox* elements = view->ElementList();
    ASSERT_EQ(elements->GetCount(), 2u);
    EXPECT_EQ(elements->GetString(0), "changed 7 City Type");
    EXPECT_EQ(elements->GetString(1), "changed CheckCreditLimit Code");
    // Both sides have one row per shown line; a line added on the right is a gap on the left.
    EXPECT_EQ(view->OldText()->GetLineCount(), view->NewText()->GetLineCount());
    const int row = view->NewText()->GetCurrentLine();
    EXPECT_EQ(view->NewText()->GetLine(row).Trim(false).Left(10), "{ 7   ;   ");
    EXPECT_NE(view->OldText()->MarkerGet(row), 0);

    click(view->Form()->FindWindow(rid::IDC_CHANGES_NEXT));
    EXPECT_EQ(elements->GetSelection(), 1);
    const int codeRow = view->NewText()->GetCurrentLine();
    EXPECT_EQ(view->NewText()->GetLine(codeRow).Trim(false).Trim(), "CALCFIELDS(Balance,\"Balance (LCY)\");");
    click(view->Form()->FindWindow(rid::IDC_CHANGES_NEXT));
    EXPECT_EQ(elements->GetSelection(), 0); // wraps around

    wxCheckBox* noise = dynamic_cast<wxCheckBox*>(view->Form()->FindWindow(rid::IDC_CHANGES_NOISE));
    noise->SetValue(true);
    wxCommandEvent toggled(wxEVT_CHECKBOX, rid::IDC_CHANGES_NOISE);
    toggled.SetEventObject(noise);
    noise->GetEventHandler()->ProcessEvent(toggled);
    EXPECT_EQ(list.GetRowCount(), 2);
    EXPECT_TRUE(view->ResultListCtrl()->FindInList("Customer List"));
    EXPECT_EQ(list.GetFirstSelectedRow(), 1);
}

TEST_F(ChangesViewTest, StepsAfterANewComparisonFindNoElementsOfTheOneBefore)
{
    compareWithChangedSample();
    view->ShowObject(0);
    ASSERT_EQ(view->ElementList()->GetCount(), 2u);
    compareWithChangedSample(); // the comparison the elements belonged to is gone
    view->StepChange(true);
    click(view->Form()->FindWindow(rid::IDC_CHANGES_PREVIOUS));
    EXPECT_EQ(view->ElementList()->GetCount(), 0u);
    EXPECT_EQ(view->ElementList()->GetSelection(), wxNOT_FOUND);
}

TEST_F(ChangesViewTest, Screenshot)
{
    wxString target;
    if (!wxGetEnv("QUELLIX_CHANGES_SCREENSHOT", &target) || target.empty())
        GTEST_SKIP() << "set QUELLIX_CHANGES_SCREENSHOT to a PNG path to take it";
    CMainFrame* frame = wxGetApp().mainFrame();
    frame->SetSize(0, 0, 1180, 860);
    pump(300);
    compareWithChangedSample();
    ASSERT_EQ(view->Results().GetRowCount(), 1);
    view->ShowObject(0);
    click(view->Form()->FindWindow(rid::IDC_CHANGES_NEXT));
    pump(800);
    frame->Update();
    const wxRect area = frame->GetScreenRect();
    wxBitmap shot(area.width, area.height);
    {
        wxScreenDC screen;
        wxMemoryDC memory(shot);
        memory.Blit(0, 0, area.width, area.height, &screen, area.x, area.y);
    }
    ASSERT_TRUE(shot.SaveFile(target, wxBITMAP_TYPE_PNG));
}
