// The search view driven through its controls and commands on the small export of tests/data.
#include "GuiTestSupport.h"

#include "analysis/CommandIds.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "app/QuellixDoc.h"
#include "resources/ResourceIds.h"
#include "views/AnsiText.h"
#include "views/ResultListCtrl.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/clipbrd.h>
#include <wx/combobox.h>
#include <wx/fileconf.h>
#include <wx/gauge.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <cstdio>
#include <regex>

using namespace guitest;

namespace {
class SearchViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        path = sourcePath("tests/data/small-export.txt");
        view = openSearchView(wxString::FromUTF8(path));
        ASSERT_NE(view, nullptr);
        takeMessages();
    }
    void TearDown() override { closeAllDocuments(); }

    template <class T>
    T* control(int id)
    {
        return dynamic_cast<T*>(view->Form()->FindWindow(id));
    }
    wxString text(int id) { return control<wxTextCtrl>(id)->GetValue(); }
    void sendCommand(int commandId)
    {
        wxCommandEvent command(wxEVT_MENU, rid::menuIdOf(commandId));
        view->GetFrame()->GetEventHandler()->ProcessEvent(command);
    }
    void search(const wxString& term, const wxString& option = "normal")
    {
        control<wxComboBox>(rid::IDC_SEARCH_TERM)->SetValue(term);
        control<wxChoice>(rid::IDC_SEARCH_OPTION)->SetStringSelection(option);
        int job = view->CurrentJobId();
        click(control<wxButton>(rid::IDC_SEARCH));
        ASSERT_GT(view->CurrentJobId(), job) << "the click on Search started no job";
        ASSERT_TRUE(waitForJob(view));
        pump(100);
    }

    std::string path;
    CSearchView* view = nullptr;
};

std::string settingValue(const wxString& entry)
{
    wxFileConfig stored(wxString(), wxString(), wxGetApp().settingsFile(), wxString(), wxCONFIG_USE_LOCAL_FILE);
    return stored.Read(entry, "<missing>").utf8_string();
}
} // namespace

TEST_F(SearchViewTest, OpenedOnAFileTheViewTakesItsPathAndShowsTheStartColumns)
{
    EXPECT_EQ(text(rid::IDC_SOURCE_FILE), wxString::FromUTF8(path));
    CResultListCtrl* list = view->ResultListCtrl();
    ASSERT_EQ(list->GetColumnCount(), 4);
    wxListItem column;
    column.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_WIDTH);
    list->GetColumn(0, column);
    EXPECT_EQ(column.GetText(), "Objects");
    EXPECT_EQ(list->GetColumnWidth(0), 380);
    list->GetColumn(3, column);
    EXPECT_EQ(column.GetText(), "EndPos");
}

TEST_F(SearchViewTest, SearchButtonRunsTheSearchAndShowsRowsCountsProgressAndSettings)
{
    search("Customer");
    CResultListCtrl* list = view->ResultListCtrl();
    int rows = view->Results().GetRowCount();
    EXPECT_GT(rows, 3);
    EXPECT_EQ(list->GetItemCount(), rows);
    EXPECT_EQ(text(rid::IDC_COUNT), wxString::Format("%d", rows));
    EXPECT_EQ(text(rid::IDC_OBJECT_COUNT), "5");
    EXPECT_EQ(text(rid::IDC_LAST_ACTION), "Search: Customer");
    EXPECT_EQ(control<wxGauge>(rid::IDC_PROGRESS)->GetValue(), 0);
    EXPECT_FALSE(view->IsBusy());
    EXPECT_NE(wxGetApp().mainFrame()->messageText(), wxString());
    EXPECT_EQ(settingValue("/Search/Quelldatei"), path);
    EXPECT_EQ(settingValue("/Search/Suchbegriff"), "Customer");
    EXPECT_EQ(settingValue("/Search/Searchoption"), "normal");
    for (int row = 0; row < rows; ++row)
        EXPECT_GE(view->Results().GetIcon(row), 161) << row;
}

TEST_F(SearchViewTest, SameFileIsReadOnceAndTheOptionComboIsStored)
{
    search("Customer");
    const std::string* loadedText = &view->Loaded().text().str();
    std::string before = *loadedText;
    search("customer", "Case sensitiv");
    EXPECT_EQ(view->Loaded().text().str(), before);
    EXPECT_EQ(settingValue("/Search/Searchoption"), "Case sensitiv");
    EXPECT_EQ(view->Loaded().fileName(), path);
}

TEST_F(SearchViewTest, AnAnalysisRunsThroughItsMenuCommand)
{
    int job = view->CurrentJobId();
    sendCommand(1030); // "search unused ..." > "variables"
    ASSERT_GT(view->CurrentJobId(), job);
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_EQ(text(rid::IDC_LAST_ACTION), "Unused Variables");
    EXPECT_EQ(view->Results().GetColumn(0).heading, "Object");
    EXPECT_EQ(text(rid::IDC_COUNT), wxString::Format("%d", view->Results().GetRowCount()));
    EXPECT_EQ(control<wxGauge>(rid::IDC_PROGRESS)->GetValue(), 0);
}

TEST_F(SearchViewTest, TheAwareCheckBoxIsStoredAndTurnsTheUnusedAnalysesAware)
{
    wxCheckBox* aware = control<wxCheckBox>(rid::IDC_CAL_AWARE);
    ASSERT_NE(aware, nullptr);
    EXPECT_FALSE(aware->GetValue());
    click(aware);
    pump(100);
    ASSERT_TRUE(aware->GetValue());
    EXPECT_EQ(settingValue("/Analysis/CALAware"), "1");

    int job = view->CurrentJobId();
    sendCommand(rid::ID_UNUSED_FUNCTIONS);
    ASSERT_GT(view->CurrentJobId(), job);
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_EQ(wxGetApp().mainFrame()->messageText(),
              "2 textual, 0 event subscribers, 0 platform, 0 test, 0 letter case: 2 shown, 0 external, "
              "0 events without subscriber");
    EXPECT_EQ(view->Results().GetRowCount(), 2);

    click(aware);
    pump(100);
    EXPECT_EQ(settingValue("/Analysis/CALAware"), "0");
    sendCommand(rid::ID_UNUSED_FUNCTIONS);
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_EQ(wxGetApp().mainFrame()->messageText().Find("textual"), wxNOT_FOUND);
}

TEST_F(SearchViewTest, MissingSourceFileShowsTheGermanMessageAndKeepsTheLoadedExport)
{
    search("Customer");
    int rows = view->Results().GetRowCount();
    std::string missing = tempPath("no-such-export.txt");
    control<wxTextCtrl>(rid::IDC_SOURCE_FILE)->SetValue(wxString::FromUTF8(missing));
    click(control<wxButton>(rid::IDC_SEARCH));
    pump(200);
    std::vector<wxString> messages = takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], wxString::FromUTF8(missing) + " wurde nicht gefunden.");
    EXPECT_FALSE(view->IsWorkerRunning());
    EXPECT_EQ(settingValue("/Search/Quelldatei"), path) << "a failed search writes no settings";
    EXPECT_EQ(view->Loaded().fileName(), path);
    EXPECT_EQ(view->Results().GetRowCount(), rows);
}

TEST_F(SearchViewTest, CopyToClipboardPutsTheDatedListTextOnTheClipboard)
{
    search("Sales-Post");
    sendCommand(rid::ID_COPY_TO_CLIPBOARD);
    wxString pasted;
    {
        wxClipboardLocker locker;
        ASSERT_TRUE(!!locker);
        wxTextDataObject data;
        ASSERT_TRUE(wxTheClipboard->GetData(data));
        pasted = data.GetText();
    }
    std::string expectedList = view->Results().GetListText("\t", "\r\n");
    std::string utf8 = pasted.utf8_string();
    std::regex header("^\r\n\r\nQuellix-Analyse vom \\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}\r\n");
    EXPECT_TRUE(std::regex_search(utf8, header)) << utf8;
    ASSERT_GT(utf8.size(), expectedList.size());
    EXPECT_EQ(pasted.Right(fromAnsi(expectedList).size()), fromAnsi(expectedList));
}

TEST_F(SearchViewTest, ExportingTwiceAppendsTwoDatedListTexts)
{
    search("Customer");
    std::string file = tempPath("export.txt");
    std::remove(file.c_str());
    view->ExportToFile(wxString::FromUTF8(file));
    view->ExportToFile(wxString::FromUTF8(file));
    std::string list = view->Results().GetListText("\t", "\r\n");
    std::string bytes = readFile(file);
    std::regex twice("\r\n\r\nQuellix-Analyse vom [0-9 :-]{19}\r\n([^]*)\r\n\r\nQuellix-Analyse vom [0-9 :-]{19}\r\n([^]*)");
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(bytes, parts, twice));
    EXPECT_EQ(parts[1].str(), list);
    EXPECT_EQ(parts[2].str(), list);
    std::remove(file.c_str());
}

TEST_F(SearchViewTest, SearchInListStepsFromHitToHitAndStartsOver)
{
    search("OBJECT ", "Case sensitiv");
    ASSERT_EQ(view->Results().GetRowCount(), 5);
    control<wxComboBox>(rid::IDC_SEARCH_TERM)->SetValue("codeunit");
    CResultListCtrl* list = view->ResultListCtrl();
    click(control<wxButton>(rid::IDC_SEARCH_IN_LIST));
    int first = list->GetFirstSelectedRow();
    ASSERT_GE(first, 0);
    EXPECT_NE(view->Results().GetRow(first).icon, -1);
    click(control<wxButton>(rid::IDC_SEARCH_IN_LIST));
    EXPECT_EQ(list->GetFirstSelectedRow(), -1); // only one codeunit: no further hit
    click(control<wxButton>(rid::IDC_SEARCH_IN_LIST));
    EXPECT_EQ(list->GetFirstSelectedRow(), first);
}

TEST_F(SearchViewTest, ClickOnAHeadingSortsWithTheSharedDirection)
{
    search("OBJECT ", "Case sensitiv");
    CResultListCtrl* list = view->ResultListCtrl();
    wxWindow* heading = nullptr; // the generic list's heading bar: its child at the top
    for (wxWindow* child : list->GetChildren())
        if (child->GetPosition().y == 0 && child->GetSize().y < list->GetSize().y / 2)
            heading = child;
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(list->HeadingBarHeight(), heading->GetSize().y);
    bool ascendingNext = CResultList::nextClickSortsAscending();
    // Column 1 ("Object"): the first click of a direction sorts descending, the next ascending.
    int x = list->GetColumnWidth(0) + list->GetColumnWidth(1) / 2;
    wxUIActionSimulator simulator;
    simulator.MouseMove(heading->ClientToScreen(wxPoint(x, heading->GetSize().y / 2)));
    pump(50);
    simulator.MouseClick();
    pump(200);
    EXPECT_NE(CResultList::nextClickSortsAscending(), ascendingNext);
    wxString first = list->GetItemText(0, 1), last = list->GetItemText(4, 1);
    EXPECT_EQ(first, fromAnsi(view->Results().GetCellText(0, 1)));
    if (ascendingNext)
        EXPECT_LT(first.Lower(), last.Lower());
    else
        EXPECT_GT(first.Lower(), last.Lower());
}

TEST_F(SearchViewTest, RightClickOpensTheContextMenu)
{
    search("OBJECT ", "Case sensitiv");
    CResultListCtrl* list = view->ResultListCtrl();
    int opened = 0;
    list->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) { ++opened; event.Skip(); });
    // The menu runs its own loop; a timer there closes it.
    struct CEscape : wxTimer {
        void Notify() override { wxUIActionSimulator().Char(WXK_ESCAPE); }
    } escape;
    escape.Start(500);
    wxRect row;
    ASSERT_TRUE(list->GetItemRect(1, row));
    wxUIActionSimulator simulator;
    simulator.MouseMove(list->ClientToScreen(wxPoint(row.x + 60, row.y + row.height / 2)));
    pump(50);
    simulator.MouseClick(wxMOUSE_BTN_RIGHT);
    ASSERT_TRUE(runUntil([&] { return opened > 0; }, 5000));
    pump(700);
    escape.Stop();
}

TEST_F(SearchViewTest, ClickOnARowOpensItsObjectAndRowsWithoutLocationOpenNothing)
{
    search("Sales-Post");
    CResultListCtrl* list = view->ResultListCtrl();
    ASSERT_GT(list->GetItemCount(), 0);
    wxString opened;
    whenDialogAppears("Codeunit 80 Sales-Post - ", [&](wxDialog* dialog) {
        opened = dialog->GetTitle();
        dialog->EndModal(wxID_OK);
    });
    wxRect row;
    ASSERT_TRUE(list->GetItemRect(0, row));
    wxUIActionSimulator simulator;
    wxPoint where = list->ClientToScreen(wxPoint(row.x + 60, row.y + row.height / 2));
    simulator.MouseMove(where);
    pump(50);
    simulator.MouseClick();
    ASSERT_TRUE(runUntil([&] { return !opened.empty(); }, 5000));
    EXPECT_EQ(list->GetFirstSelectedRow(), 0);

    sendCommand(1038); // unused table fields: rows carry item data -1
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    ASSERT_GT(view->Results().GetRowCount(), 0);
    EXPECT_EQ(view->Results().GetItemData(0), -1);
    size_t windows = wxTopLevelWindows.size();
    view->OpenRow(0);
    EXPECT_EQ(wxTopLevelWindows.size(), windows);
}
