// What users of the result list expect: rows that stay on screen while a job adds more, the sort
// arrow, Stop and Esc, Ctrl+C, column widths that fit and are remembered, the remembered search
// terms, window placement, the title that follows the source file and the status lines.
#include "GuiTestSupport.h"

#include "analysis/OperationTable.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "resources/ResourceIds.h"
#include "results/ListExportText.h"
#include "settings/LayoutSettings.h"
#include "views/AnsiText.h"
#include "views/ResultListCtrl.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/clipbrd.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>

using namespace guitest;

namespace {
constexpr int UNUSED_VARIABLES = 1030;

class ListUxTest : public testing::Test {
protected:
    void SetUp() override
    {
        path = sourcePath("tests/data/small-export.txt");
        view = openSearchView(wxString::FromUTF8(path));
        ASSERT_NE(view, nullptr);
        list = view->ResultListCtrl();
        takeMessages();
    }
    void TearDown() override { closeAllDocuments(); }

    template <class T>
    T* control(int id)
    {
        return dynamic_cast<T*>(view->Form()->FindWindow(id));
    }
    void run(const wxString& term, const wxString& option = "normal")
    {
        control<wxComboBox>(rid::IDC_SEARCH_TERM)->SetValue(term);
        control<wxChoice>(rid::IDC_SEARCH_OPTION)->SetStringSelection(option);
        view->RunSearch();
        ASSERT_TRUE(waitForJob(view));
        pump(100);
    }
    void sendCommand(int id)
    {
        wxCommandEvent command(wxEVT_MENU, id);
        view->GetFrame()->GetEventHandler()->ProcessEvent(command);
    }
    wxString statusText() { return wxGetApp().mainFrame()->messageText(); }
    wxString clipboardText()
    {
        wxClipboardLocker locker;
        wxTextDataObject data;
        if (!locker || !wxTheClipboard->GetData(data))
            return "<no text>";
        return data.GetText();
    }
    wxWindow* headingBar()
    {
        for (wxWindow* child : list->GetChildren())
            if (child->GetPosition().y == 0 && child->GetSize().y < list->GetSize().y / 2)
                return child;
        return nullptr;
    }
    std::vector<std::string> headings()
    {
        std::vector<std::string> result;
        for (int c = 0; c < view->Results().GetColumnCount(); ++c)
            result.push_back(view->Results().GetColumn(c).heading);
        return result;
    }

    std::string path;
    CSearchView* view = nullptr;
    CResultListCtrl* list = nullptr;
};
} // namespace

TEST_F(ListUxTest, TheSortedColumnShowsItsArrowAndANewJobTakesItAway)
{
    run("OBJECT ", "Case sensitiv");
    EXPECT_EQ(list->GetSortIndicator(), -1);
    wxWindow* heading = headingBar();
    ASSERT_NE(heading, nullptr);
    const bool ascending = CResultList::nextClickSortsAscending();
    int x = list->GetColumnWidth(0) + list->GetColumnWidth(1) / 2;
    wxUIActionSimulator simulator;
    simulator.MouseMove(heading->ClientToScreen(wxPoint(x, heading->GetSize().y / 2)));
    pump(50);
    simulator.MouseClick();
    pump(200);
    EXPECT_EQ(list->GetSortIndicator(), 1);
    EXPECT_EQ(list->IsAscendingSortIndicator(), ascending);
    list->ClickColumn(2);
    EXPECT_EQ(list->GetSortIndicator(), 2);
    EXPECT_EQ(list->IsAscendingSortIndicator(), !ascending);

    run("Customer");
    EXPECT_EQ(list->GetSortIndicator(), -1) << "the new rows are in text order, not sorted";
}

TEST_F(ListUxTest, CtrlCCopiesTheSelectedRowOrEveryRowAsListText)
{
    run("OBJECT ", "Case sensitiv");
    ASSERT_EQ(view->Results().GetRowCount(), 5);
    list->SetFocus();
    pump(50);
    wxUIActionSimulator simulator;
    simulator.Char('C', wxMOD_CONTROL);
    pump(200);
    EXPECT_EQ(clipboardText(), fromAnsi(view->Results().GetListText("\t", "\r\n")));

    list->SetItemState(3, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    pump(50);
    simulator.Char('C', wxMOD_CONTROL);
    pump(200);
    EXPECT_EQ(clipboardText(), fromAnsi(listTextOfRows(view->Results(), {3})));

    // The Edit menu's Copy does the same while the list has the focus.
    wxTheClipboard->Open();
    wxTheClipboard->Clear();
    wxTheClipboard->Close();
    sendCommand(wxID_COPY);
    EXPECT_EQ(clipboardText(), fromAnsi(listTextOfRows(view->Results(), {3})));
}

TEST_F(ListUxTest, SearchInListSaysWhenItFoundNothingOrStartedOverFromTheTop)
{
    run("OBJECT ", "Case sensitiv");
    control<wxComboBox>(rid::IDC_SEARCH_TERM)->SetValue("codeunit");
    view->SearchInList();
    int hit = list->GetFirstSelectedRow();
    ASSERT_GE(hit, 0);
    EXPECT_EQ(statusText(), wxString::Format("\"codeunit\" found in row %d", hit + 1));
    view->SearchInList();
    EXPECT_EQ(statusText(), "\"codeunit\": no further row below; the next search starts over from the top");
    view->SearchInList();
    EXPECT_EQ(list->GetFirstSelectedRow(), hit);
    EXPECT_EQ(statusText(), wxString::Format("\"codeunit\": started over from the top, found in row %d", hit + 1));
    control<wxComboBox>(rid::IDC_SEARCH_TERM)->SetValue("no such text");
    view->SearchInList();
    EXPECT_EQ(list->GetFirstSelectedRow(), -1);
    EXPECT_EQ(statusText(), "\"no such text\" not found in the list");
}

TEST_F(ListUxTest, NarrowHeadingsAreWidenedToTheirTextWiderOnesKeepTheirWidth)
{
    CMemorySettingsStore nowhere; // no widths the user gave
    list->SetLayoutStore(&nowhere);
    sendCommand(UNUSED_VARIABLES);
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    ASSERT_EQ(view->Results().GetColumn(1).heading, "Count of unused Vars");
    ASSERT_EQ(view->Results().GetColumn(1).width, 10);
    wxClientDC dc(list);
    dc.SetFont(list->GetFont());
    EXPECT_GT(list->GetColumnWidth(1), dc.GetTextExtent("Count of unused Vars").x);
    EXPECT_EQ(list->GetColumnWidth(0), 250);
    EXPECT_EQ(list->GetColumnWidth(5), 360);

    run("Customer"); // "Type" is 30 pixels wide in the text search's columns
    ASSERT_EQ(view->Results().GetColumn(0).heading, "Type");
    EXPECT_GT(list->GetColumnWidth(0), dc.GetTextExtent("Type").x);
    EXPECT_EQ(list->GetColumnWidth(3), view->Results().GetColumn(3).width) << "an empty heading keeps its width";
}

TEST_F(ListUxTest, DoubleClickOnAHeadingEdgeFitsTheColumnAndWidthsAreRememberedPerListKind)
{
    CMemorySettingsStore store;
    list->SetLayoutStore(&store);
    run("Customer");
    list->SetColumnWidth(1, 40); // "Object": its names are wider
    pump(50);
    wxWindow* heading = headingBar();
    ASSERT_NE(heading, nullptr);
    int edge = list->GetColumnWidth(0) + list->GetColumnWidth(1);
    wxUIActionSimulator simulator;
    simulator.MouseMove(heading->ClientToScreen(wxPoint(edge - 1, heading->GetSize().y / 2)));
    pump(50);
    simulator.MouseDblClick();
    ASSERT_TRUE(runUntil([&] { return list->GetColumnWidth(1) > 100; }, 3000)) << list->GetColumnWidth(1);
    pump(100);
    const int fitted = list->GetColumnWidth(1);
    wxClientDC dc(list);
    dc.SetFont(list->GetFont());
    int widest = 0;
    for (int r = 0; r < list->GetItemCount(); ++r)
        widest = std::max(widest, dc.GetTextExtent(list->GetItemText(r, 1)).x);
    EXPECT_GT(fitted, widest);
    EXPECT_LT(fitted, widest + 60);
    std::vector<int> stored = listcolumns::read(store, headings());
    ASSERT_EQ(stored.size(), 5u);
    EXPECT_EQ(stored[1], fitted);

    // Dragging an edge is remembered too: "Function" made 60 pixels wider.
    const int functionWidth = list->GetColumnWidth(2);
    edge = list->GetColumnWidth(0) + list->GetColumnWidth(1) + functionWidth;
    const int y = heading->GetSize().y / 2;
    simulator.MouseMove(heading->ClientToScreen(wxPoint(edge - 1, y)));
    pump(50);
    simulator.MouseDown();
    pump(50);
    for (int step = 1; step <= 6; ++step) {
        simulator.MouseMove(heading->ClientToScreen(wxPoint(edge - 1 + step * 10, y)));
        pump(30);
    }
    simulator.MouseUp();
    ASSERT_TRUE(runUntil([&] { return list->GetColumnWidth(2) > functionWidth + 30; }, 3000));
    pump(100);
    stored = listcolumns::read(store, headings());
    ASSERT_EQ(stored.size(), 5u);
    EXPECT_EQ(stored[2], list->GetColumnWidth(2));
    EXPECT_EQ(stored[1], fitted);

    // Another kind of list does not take them; the same kind does, in a new view too.
    sendCommand(UNUSED_VARIABLES);
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_TRUE(listcolumns::read(store, headings()).empty());
    run("Sales");
    EXPECT_EQ(list->GetColumnWidth(1), fitted);
    listcolumns::write(wxGetApp().settings(), headings(), {50, 222, 100, 20, 300});
    closeAllDocuments();
    view = openSearchView(wxString::FromUTF8(path));
    ASSERT_NE(view, nullptr);
    list = view->ResultListCtrl();
    run("Customer");
    EXPECT_EQ(list->GetColumnWidth(1), 222);
    wxGetApp().settings().deleteKey(layoutkeys::kSectionListColumns, listcolumns::kindKey(headings()));
}

TEST_F(ListUxTest, TheSearchTermDropDownOffersTheLastTermsNewestFirstAlsoInANewView)
{
    for (const char* term : {"Customer", "Sales", "Customer", "Import"})
        run(term);
    wxComboBox* combo = control<wxComboBox>(rid::IDC_SEARCH_TERM);
    ASSERT_GE(combo->GetCount(), 3u);
    EXPECT_EQ(combo->GetString(0), "Import");
    EXPECT_EQ(combo->GetString(1), "Customer");
    EXPECT_EQ(combo->GetString(2), "Sales");
    EXPECT_EQ(combo->GetValue(), "Import");
    EXPECT_EQ(wxGetApp().settings().getString(layoutkeys::kSectionSearchTerms, "Term1", ""), "Import");

    closeAllDocuments();
    view = openSearchView(wxString::FromUTF8(path));
    ASSERT_NE(view, nullptr);
    combo = control<wxComboBox>(rid::IDC_SEARCH_TERM);
    ASSERT_GE(combo->GetCount(), 3u);
    EXPECT_EQ(combo->GetString(0), "Import");
    // Picking an entry makes it the term.
    combo->SetSelection(2);
    view->RunSearch();
    ASSERT_TRUE(waitForJob(view));
    EXPECT_EQ(view->LastAction(), "Search: Sales");
}

TEST_F(ListUxTest, WindowTitleAndTabFollowTheSourceFileChangedInTheForm)
{
    auto* frame = dynamic_cast<wxTopLevelWindow*>(view->GetFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetTitle(), "small-export.txt");
    wxTextCtrl* source = control<wxTextCtrl>(rid::IDC_SOURCE_FILE);
    source->SetValue("/data/exports/other export.txt");
    pump(100);
    EXPECT_EQ(frame->GetTitle(), "other export.txt");
    EXPECT_EQ(wxGetApp().mainFrame()->GetTitle(), "Quellix - other export.txt");
    source->SetValue(wxString::FromUTF8(path));
    pump(100);
    EXPECT_EQ(frame->GetTitle(), "small-export.txt");
}

TEST_F(ListUxTest, ANewJobShowsItsRowsFromTheTopRow)
{
    control<wxTextCtrl>(rid::IDC_SOURCE_FILE)->SetValue(wxString::FromUTF8(sourcePath("examples/sample-export.txt")));
    run("Bonus");
    ASSERT_GT(list->GetItemCount(), 200);
    list->EnsureVisible(list->GetItemCount() - 1);
    pump(100);
    ASSERT_GT(list->GetTopItem(), 100);
    run("Customer");
    ASSERT_GT(list->GetItemCount(), 0);
    ASSERT_LT(list->GetItemCount(), 100);
    EXPECT_EQ(list->GetTopItem(), 0);
}

TEST_F(ListUxTest, ACutCellShowsItsWholeTextAsTooltip)
{
    run("Customer");
    wxWindow* rows = nullptr;
    for (wxWindow* child : list->GetChildren())
        if (child != headingBar())
            rows = child;
    ASSERT_NE(rows, nullptr);
    list->SetColumnWidth(0, 400);
    list->SetColumnWidth(1, 30);
    pump(50);
    wxRect cell;
    ASSERT_TRUE(list->GetSubItemRect(0, 1, cell));
    const struct {
        int x;
        wxString tooltip;
    } cases[] = {
        {list->GetColumnWidth(0) + 10, list->GetItemText(0, 1)}, // cut: the whole text
        {10, wxString()},                                        // fits: no tooltip
    };
    for (const auto& c : cases) {
        wxMouseEvent move(wxEVT_MOTION);
        move.SetPosition(wxPoint(c.x, cell.y + cell.height / 2));
        move.SetEventObject(list);
        list->GetEventHandler()->ProcessEvent(move);
        EXPECT_EQ(rows->GetToolTipText(), c.tooltip) << c.x;
    }
}

TEST_F(ListUxTest, TheTitleNamesTheFileSearchedAndViewsOfOneFileAreNumbered)
{
    auto title = [](CSearchView* v) { return v->GetDocument()->GetUserReadableName(); };
    EXPECT_EQ(title(view), "small-export.txt");
    CSearchView* fresh = dynamic_cast<CSearchView*>(newView("SearchView"));
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(title(fresh).StartsWith("SearchView"));
    dynamic_cast<wxTextCtrl*>(fresh->Form()->FindWindow(rid::IDC_SOURCE_FILE))->ChangeValue(wxString::FromUTF8(path));
    fresh->RunSearch();
    ASSERT_TRUE(waitForJob(fresh));
    EXPECT_EQ(title(fresh), "small-export.txt (2)");
}

TEST_F(ListUxTest, CodeExportSaysWhichFileItWroteAndAFailedOneSaysNothingOfTheKind)
{
    std::string target = tempPath("code-export.txt");
    std::remove(target.c_str());
    AnalysisArgs args;
    args.path = target;
    ASSERT_TRUE(view->StartJob(exportCodeOperation(), args));
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_EQ(statusText(), wxString::FromUTF8("1 file written to " + target));
    EXPECT_TRUE(std::filesystem::exists(target));

    args.path = "/proc/quellix-cannot-write/code.txt";
    ASSERT_TRUE(view->StartJob(exportCodeOperation(), args));
    ASSERT_TRUE(waitForJob(view));
    pump(200);
    EXPECT_EQ(statusText().Find("written to"), wxNOT_FOUND) << statusText();
    std::vector<wxString> shown = takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Befehl fehlgeschlagen.\ncannot write /proc/quellix-cannot-write/code.txt: No such file or directory");
    std::remove(target.c_str());
}

TEST_F(ListUxTest, TheMainWindowComesBackWhereItWasLeft)
{
    CMainFrame* frame = wxGetApp().mainFrame();
    const wxRect before = frame->GetRect(); // the later tests expect the window as it was
    ISettingsStore& settings = wxGetApp().settings();
    MainWindowPlacement{30, 20, 820, 560, false}.write(settings);
    frame->RestorePlacement();
    pump(300);
    if (!frame->IsMaximized()) {
        EXPECT_EQ(frame->GetClientSize(), wxSize(820, 560));
    }
    // What is stored is the client size the window has when it is not maximised, and whether it is.
    frame->SavePlacement();
    MainWindowPlacement stored;
    stored.read(settings);
    EXPECT_EQ(wxSize(stored.width, stored.height), wxSize(820, 560));
    EXPECT_EQ(stored.maximized, frame->IsMaximized());
    // Only a window manager takes a window out of the maximised state; without one (xvfb-run)
    // the window stays maximised whatever the program asks.
    if (!frame->IsMaximized()) {
        frame->SetSize(wxSize(700, 500));
        pump(300);
        frame->SavePlacement();
        stored.read(settings);
        EXPECT_EQ(wxSize(stored.width, stored.height), frame->GetClientSize());
        EXPECT_FALSE(stored.maximized);
    }

    for (const char* key : {layoutkeys::kMainX, layoutkeys::kMainY, layoutkeys::kMainWidth, layoutkeys::kMainHeight,
                            layoutkeys::kMainMaximized})
        settings.deleteKey(layoutkeys::kSectionLayout, key);
    frame->SetSize(before);
    frame->RestorePlacement();
    pump(300);
    EXPECT_EQ(frame->GetRect(), before);
}

namespace {
// Jobs on a generated export large enough that a regular expression search runs for a while.
class ListJobTest : public ListUxTest {
protected:
    static void SetUpTestSuite()
    {
        bigExport = tempPath("list-job-export.txt");
        std::string command = std::string(QUELLIX_BINARY_DIR) + "/bench/gen_export " + bigExport + " 40 > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    static void TearDownTestSuite() { std::remove(bigExport.c_str()); }
    void SetUp() override
    {
        view = openSearchView(wxString::FromUTF8(bigExport));
        ASSERT_NE(view, nullptr);
        list = view->ResultListCtrl();
        control<wxComboBox>(rid::IDC_SEARCH_TERM)->SetValue("[a-z]+ [0-9]+ +;");
        control<wxChoice>(rid::IDC_SEARCH_OPTION)->SetStringSelection("regular Expression");
    }
    bool stopEnabled()
    {
        wxUpdateUIEvent update(rid::ID_STOP_JOB);
        update.SetEventObject(view->GetFrame());
        view->GetFrame()->GetEventHandler()->ProcessEvent(update);
        return update.GetEnabled();
    }

    static std::string bigExport;
};
std::string ListJobTest::bigExport;
} // namespace

TEST_F(ListJobTest, RowsAddedByAJobAreDrawnAloneAndTheRowsOnScreenAreLeftAsTheyAre)
{
    // Every paint of the row area while rows are there must draw them: a paint that asks for no
    // cell text left the rows blank on screen.
    wxWindow* rowArea = nullptr;
    for (wxWindow* child : list->GetChildren())
        if (child != headingBar())
            rowArea = child;
    ASSERT_NE(rowArea, nullptr);
    // Shared with the handler, which lives as long as the row area does.
    struct PaintWatch {
        int paints = 0, blank = 0;
        long textsAtPaint = -1;
        bool rowsAtPaint = false;
        void close(long texts)
        {
            if (textsAtPaint >= 0 && rowsAtPaint && texts == textsAtPaint)
                ++blank;
        }
    };
    auto watch = std::make_shared<PaintWatch>();
    CResultListCtrl* watched = list;
    rowArea->Bind(wxEVT_PAINT, [watch, watched](wxPaintEvent& event) {
        event.Skip();
        watch->close(watched->syncCounts().cellTexts);
        ++watch->paints;
        watch->textsAtPaint = watched->syncCounts().cellTexts;
        watch->rowsAtPaint = watched->GetItemCount() > 0;
    });

    list->resetSyncCounts();
    view->RunSearch();
    int shownWhileRunning = 0;
    ASSERT_TRUE(runUntil([&] {
        if (view->IsWorkerRunning())
            shownWhileRunning = list->GetItemCount();
        return !view->IsWorkerRunning() && !view->IsBusy();
    }, 120000));
    pump(100);
    watch->close(list->syncCounts().cellTexts);
    EXPECT_GT(watch->paints, 2);
    EXPECT_EQ(watch->blank, 0) << "of " << watch->paints << " paints";
    const CResultListCtrl::SyncCounts& counts = list->syncCounts();
    ASSERT_GT(shownWhileRunning, 0) << "no rows arrived while the job ran";
    ASSERT_GE(counts.itemCountSets, 3) << "the rows came in too few steps to tell";
    // The new job's columns and its emptied list are drawn whole once; every later step only
    // draws rows below those already shown.
    EXPECT_LE(counts.fullRefreshes, 2);
    EXPECT_LT(counts.fullRefreshes, counts.itemCountSets);
    for (const auto& step : counts.refreshedRows) {
        EXPECT_GE(step.first, 0);
        EXPECT_LE(step.first, step.second);
        EXPECT_LE(step.second, list->GetTopItem() + list->GetCountPerPage()) << "rows below the window were drawn";
    }
    EXPECT_EQ(list->GetItemCount(), view->Results().GetRowCount());
}

TEST_F(ListJobTest, EscAndTheViewMenusStopEndTheJobAndKeepTheRowsFound)
{
    auto* child = dynamic_cast<wxFrame*>(view->GetFrame());
    wxMenuBar* bar = child != nullptr ? child->GetMenuBar() : nullptr;
    if (bar == nullptr)
        bar = wxGetApp().mainFrame()->GetMenuBar();
    ASSERT_NE(bar, nullptr);
    wxMenuItem* stop = bar->FindItem(rid::ID_STOP_JOB);
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(stop->GetItemLabelText(), "Stop");
    EXPECT_FALSE(stopEnabled());

    view->RunSearch();
    ASSERT_TRUE(runUntil([&] { return view->Results().GetRowCount() > 0; }, 60000));
    ASSERT_TRUE(view->IsWorkerRunning()) << "the job ended before it could be stopped";
    EXPECT_TRUE(stopEnabled());
    list->SetFocus();
    pump(50);
    auto pressed = std::chrono::steady_clock::now();
    wxUIActionSimulator().Char(WXK_ESCAPE);
    ASSERT_TRUE(runUntil([&] { return !view->IsWorkerRunning() && !view->IsBusy(); }, 5000));
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, std::chrono::seconds(2));
    pump(200);
    EXPECT_EQ(statusText(), "Stopped: " + view->LastAction());
    const int kept = view->Results().GetRowCount();
    EXPECT_GT(kept, 0);
    EXPECT_EQ(list->GetItemCount(), kept);
    EXPECT_FALSE(stopEnabled());

    // The menu entry.
    view->RunSearch();
    ASSERT_TRUE(runUntil([&] { return view->IsBusy(); }, 10000));
    sendCommand(rid::ID_STOP_JOB);
    EXPECT_FALSE(view->IsWorkerRunning());
    ASSERT_TRUE(runUntil([&] { return !view->IsBusy(); }, 5000));
    EXPECT_TRUE(statusText().StartsWith("Stopped: "));
    EXPECT_TRUE(takeMessages().empty()) << "a stopped job is no failure";
}

TEST_F(ListJobTest, WhileTheExportIsReadTheStatusBarAndTheProgressBarSayHowFarItGot)
{
    // Every line and position the job hands to the view, in order: the timer shows the latest of
    // them at its own pace, so a fast read may never be on screen; what is handed over must be.
    std::mutex mutex;
    std::vector<std::pair<std::string, int>> events;
    wxGetApp().statusRelay().setObserver([&](const std::string& line) {
        std::lock_guard<std::mutex> lock(mutex);
        events.emplace_back(line, -1);
    });
    view->ProgressRelay().setObserver([&](int pos) {
        std::lock_guard<std::mutex> lock(mutex);
        events.emplace_back(std::string(), pos);
    });
    view->RunSearch();
    const bool ended = runUntil([&] { return !view->IsWorkerRunning() && !view->IsBusy(); }, 120000);
    wxGetApp().statusRelay().setObserver(nullptr);
    view->ProgressRelay().setObserver(nullptr);
    ASSERT_TRUE(ended);

    const std::string name = std::filesystem::path(bigExport).filename().string();
    bool reading = false, converting = false;
    int highestWhileReading = 0;
    for (const auto& [line, pos] : events) {
        if (line.rfind("Reading " + name + ": ", 0) == 0)
            reading = true;
        else if (line == "Converting " + name)
            converting = true;
        else if (pos >= 0 && reading && !converting)
            highestWhileReading = std::max(highestWhileReading, pos);
    }
    EXPECT_TRUE(reading) << "no line of the reading among " << events.size() << " events";
    EXPECT_TRUE(converting);
    EXPECT_GT(highestWhileReading, 0) << "the progress bar did not move while the export was read";
    // What the bar shows at the end is the job's, not the reading's.
    EXPECT_EQ(statusText().Find("Reading "), wxNOT_FOUND);
}
