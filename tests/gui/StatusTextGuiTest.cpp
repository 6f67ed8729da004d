// What the search view says in the status bar after the list was appended to a file, after a code
// export, and when "Search in list" finds nothing or starts over.
#include "GuiTestSupport.h"

#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "resources/ResourceIds.h"
#include "views/ResultListCtrl.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/textentry.h>
#include <wx/textctrl.h>

#include <cstdio>

using namespace guitest;

namespace {
class StatusTextTest : public testing::Test {
protected:
    void SetUp() override
    {
        view = openSearchView(wxString::FromUTF8(sourcePath("tests/data/small-export.txt")));
        ASSERT_NE(view, nullptr);
        takeMessages();
    }
    void TearDown() override { closeAllDocuments(); }

    void setTerm(const wxString& term)
    {
        dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue(term);
    }
    void search(const wxString& term)
    {
        setTerm(term);
        view->RunSearch();
        ASSERT_TRUE(waitForJob(view));
        pump(100);
    }
    static wxString status() { return wxGetApp().mainFrame()->messageText(); }

    CSearchView* view = nullptr;
};
} // namespace

TEST_F(StatusTextTest, ExportToFileSaysItAppended)
{
    search("Customer");
    std::string file = tempPath("appended.txt");
    std::remove(file.c_str());
    view->ExportToFile(wxString::FromUTF8(file));
    EXPECT_EQ(status(), "appended to " + wxString::FromUTF8(file));
    std::remove(file.c_str());
}

TEST_F(StatusTextTest, ANewJobAndAResetListShowNoSelection)
{
    search("OBJECT ");
    CResultListCtrl* list = view->ResultListCtrl();
    ASSERT_GT(list->GetItemCount(), 4);
    list->SetItemState(3, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    pump(50);
    ASSERT_EQ(list->GetFirstSelectedRow(), 3);
    search("Customer");
    ASSERT_GT(list->GetItemCount(), 3);
    EXPECT_EQ(list->GetFirstSelectedRow(), -1);

    list->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    pump(50);
    view->Results().ResetList();
    list->SyncFromList();
    view->Results().AddColumn("A", 0, 50);
    view->Results().AddRow({"x"}, 0, -1);
    view->Results().AddRow({"y"}, 0, -1);
    list->SyncFromList();
    EXPECT_EQ(list->GetFirstSelectedRow(), -1);
}

TEST_F(StatusTextTest, TimersRunOnlyWhileAJobRuns)
{
    pump(100);
    EXPECT_FALSE(wxGetApp().mainFrame()->IsStatusTimerRunning());
    EXPECT_FALSE(view->IsJobTimerRunning());
    setTerm("OBJECT ");
    view->RunSearch();
    EXPECT_TRUE(wxGetApp().mainFrame()->IsStatusTimerRunning());
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_FALSE(wxGetApp().mainFrame()->IsStatusTimerRunning());
    EXPECT_FALSE(view->IsJobTimerRunning());
    // The status line still reaches the bar: the frame takes it when idle.
    wxGetApp().statusRelay().setStatusText("from a command");
    pump(100);
    EXPECT_EQ(status(), "from a command");
}
