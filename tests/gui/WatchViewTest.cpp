// The session watch: its form and menu, its settings, the setup dialog, and a watch on a stand-in
// database that another process changes.
#include "GuiTestSupport.h"

#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "db/StandInFolder.h"
#include "db/gui/WatchView.h"
#include "resources/ResourceIds.h"
#include "views/ResultListCtrl.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choicdlg.h>
#include <wx/choice.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/filefn.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sqlite3.h>

using namespace guitest;

namespace {

CWatchView* activeWatchView()
{
    return dynamic_cast<CWatchView*>(wxGetApp().docManager()->GetCurrentView());
}

CWatchView* openWatchView()
{
    whenDialogAppears("Neu", [](wxDialog* dialog) {
        if (auto* choice = dynamic_cast<wxSingleChoiceDialog*>(dialog))
            choice->SetSelection(choiceEntries(dialog).Index("WatchView"));
        dialog->EndModal(wxID_OK);
    });
    wxCommandEvent newCommand(wxEVT_MENU, wxID_NEW);
    wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(newCommand);
    runUntil([] { return activeWatchView() != nullptr; });
    pump(100);
    return activeWatchView();
}

wxTextCtrl* edit(CWatchView* view, int id)
{
    return dynamic_cast<wxTextCtrl*>(view->Form()->FindWindow(id));
}

// Sends a command of the "&Watch" menu as the frame's menu does.
void command(CWatchView* view, int commandId)
{
    wxCommandEvent event(wxEVT_MENU, rid::menuIdOf(commandId));
    view->GetFrame()->GetEventHandler()->ProcessEvent(event);
}

// Presses OK in the setup dialog with the interval text; records whether the dialog stayed open.
void answerSetup(const wxString& interval, const wxString& logFile, bool* stayedOpen)
{
    whenDialogAppears("Dialog", [=](wxDialog* dialog) {
        dynamic_cast<wxTextCtrl*>(dialog->FindWindow(rid::IDC_WATCH_INTERVAL))->SetValue(interval);
        dynamic_cast<wxTextCtrl*>(dialog->FindWindow(rid::IDC_WATCH_LOG_FILE))->SetValue(logFile);
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        ok.SetEventObject(dialog->FindWindow(wxID_OK));
        dialog->FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(ok);
        *stayedOpen = dialog->IsModal();
        if (*stayedOpen)
            dialog->EndModal(wxID_CANCEL);
    });
}

std::vector<wxString> headings(CResultListCtrl* list, std::vector<int>* widths)
{
    std::vector<wxString> texts;
    for (int c = 0; c < list->list().GetColumnCount(); ++c) {
        CResultColumn column = list->list().GetColumn(c);
        texts.push_back(wxString::FromUTF8(column.heading));
        widths->push_back(column.width);
    }
    return texts;
}

} // namespace

TEST(WatchView, FormMenuAndSettingsOfSectionWatchViewWithoutThePassword)
{
    ISettingsStore& settings = wxGetApp().settings();
    settings.writeString("WatchView", "Servername", "NAVSRV");
    settings.writeString("WatchView", "Netzwerktyp", "netb");
    settings.writeString("WatchView", "NavisionPath", "/opt/nav");
    settings.writeString("WatchView", "Benutzer", "ADMIN");
    settings.writeString("WatchView", "ProtokollFileName", "/tmp/watch.log");
    settings.writeInt("WatchView", "RequestInterval", 30);
    CWatchView* view = openWatchView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(edit(view, rid::IDC_WATCH_SERVER)->GetValue(), "NAVSRV");
    auto* netType = dynamic_cast<wxChoice*>(view->Form()->FindWindow(rid::IDC_WATCH_NET_TYPE));
    ASSERT_NE(netType, nullptr);
    EXPECT_EQ(netType->GetStrings(), wxArrayString(2, std::vector<wxString>{"tcp", "netb"}.data()));
    EXPECT_EQ(netType->GetStringSelection(), "netb");
    EXPECT_EQ(edit(view, rid::IDC_WATCH_PROGRAM_PATH)->GetValue(), "/opt/nav");
    EXPECT_EQ(edit(view, rid::IDC_WATCH_USER)->GetValue(), "ADMIN");
    EXPECT_TRUE(edit(view, rid::IDC_WATCH_PASSWORD)->HasFlag(wxTE_PASSWORD));
    for (int id : {rid::IDC_WATCH_DATE, rid::IDC_WATCH_TIME, rid::IDC_WATCH_CHANGE_COUNT})
        EXPECT_FALSE(edit(view, id)->IsEditable());
    EXPECT_EQ(view->RequestInterval(), 30);
    EXPECT_EQ(view->LogFileName(), "/tmp/watch.log");

    std::vector<int> widths;
    EXPECT_EQ(headings(view->ChangedObjectsCtrl(), &widths),
              (std::vector<wxString>{"Type", "ID", "User", "Object", "Date", "Time", "Version", "DBM TableNo."}));
    EXPECT_EQ(widths, (std::vector<int>{60, 60, 10, 200, 50, 60, 80, 80}));
    widths.clear();
    auto* sessions = dynamic_cast<CResultListCtrl*>(view->Form()->FindWindow(rid::IDC_WATCH_SESSIONS));
    ASSERT_NE(sessions, nullptr);
    EXPECT_EQ(headings(sessions, &widths).front(), "SessionID");
    EXPECT_EQ(widths, (std::vector<int>{30, 60, 40, 40, 40, 40, 40, 40, 40}));

    wxMenuBar* bar = dynamic_cast<wxFrame*>(view->GetFrame())->GetMenuBar();
    ASSERT_EQ(bar->GetMenuLabel(2), "&Watch");
    wxMenu* watch = bar->GetMenu(2);
    ASSERT_EQ(watch->GetMenuItemCount(), 4u);
    EXPECT_EQ(watch->FindItemByPosition(0)->GetItemLabel(), "Start");
    EXPECT_EQ(watch->FindItemByPosition(1)->GetItemLabel(), "Stop");
    EXPECT_TRUE(watch->FindItemByPosition(2)->IsSeparator());
    EXPECT_EQ(watch->FindItemByPosition(3)->GetItemLabel(), "Setup ...");
    view->GetFrame()->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_TRUE(view->Form()->FindWindow(rid::menuIdOf(rid::ID_WATCH_START))->IsEnabled());
    EXPECT_FALSE(view->Form()->FindWindow(rid::menuIdOf(rid::ID_WATCH_STOP))->IsEnabled());

    edit(view, rid::IDC_WATCH_SERVER)->SetValue("OTHERSRV");
    edit(view, rid::IDC_WATCH_PASSWORD)->SetValue("streng geheim");
    closeAllDocuments();
    EXPECT_EQ(settings.getString("WatchView", "Servername", ""), "OTHERSRV");
    EXPECT_EQ(settings.getInt("WatchView", "RequestInterval", 0), 30);
    EXPECT_EQ(readFile(wxGetApp().settingsFile().utf8_string()).find("streng geheim"), std::string::npos);
}

TEST(WatchView, SetupRefusesFourAnd3601WithTheFrameworksMessageAndAccepts5And3600)
{
    installMessageHook();
    CWatchView* view = openWatchView();
    ASSERT_NE(view, nullptr);
    takeMessages();
    for (const char* refused : {"4", "3601"}) {
        bool stayedOpen = false;
        answerSetup(refused, "/tmp/refused.log", &stayedOpen);
        command(view, rid::ID_WATCH_SETUP);
        EXPECT_TRUE(stayedOpen) << refused;
        EXPECT_EQ(takeMessages(), std::vector<wxString>{"Geben Sie bitte eine ganze Zahl zwischen 5 und 3600 ein."});
    }
    bool stayedOpen = true;
    answerSetup("zehn", "", &stayedOpen);
    command(view, rid::ID_WATCH_SETUP);
    EXPECT_EQ(takeMessages(), std::vector<wxString>{"Geben Sie bitte eine ganze Zahl ein."});
    EXPECT_NE(view->LogFileName(), "/tmp/refused.log");
    for (int accepted : {5, 3600}) {
        answerSetup(wxString::Format("%d", accepted), "/tmp/accepted.log", &stayedOpen);
        command(view, rid::ID_WATCH_SETUP);
        EXPECT_FALSE(stayedOpen);
        EXPECT_EQ(view->RequestInterval(), accepted);
        EXPECT_EQ(view->LogFileName(), "/tmp/accepted.log");
    }
    EXPECT_TRUE(takeMessages().empty());
    closeAllDocuments();
}

// Starts the watch with the shortest interval on a stand-in database, changes an object from
// another process and waits for the row and the change count, checking meanwhile that the window
// keeps handling events.
class WatchViewLive : public ::testing::Test {
protected:
    void SetUp() override
    {
        installMessageHook();
        database = folder.createDatabase("nav.db", sampleExport());
        folder.writeFile("cfront/servers", "NAV = " + database + "\n");
        view = openWatchView();
        ASSERT_NE(view, nullptr);
        edit(view, rid::IDC_WATCH_SERVER)->SetValue("NAV");
        dynamic_cast<wxChoice*>(view->Form()->FindWindow(rid::IDC_WATCH_NET_TYPE))->SetStringSelection("tcp");
        edit(view, rid::IDC_WATCH_PROGRAM_PATH)->SetValue(wxString::FromUTF8(folder.programPath()));
        edit(view, rid::IDC_WATCH_USER)->SetValue("WATCHER");
        bool stayedOpen = true;
        answerSetup("5", wxString::FromUTF8(folder.file("watch.log")), &stayedOpen);
        command(view, rid::ID_WATCH_SETUP);
        ASSERT_FALSE(stayedOpen);
    }
    void TearDown() override { closeAllDocuments(); }

    // Waits for done while a 20 ms timer measures the longest pause of the event loop.
    bool waitResponsive(const std::function<bool()>& done, int timeoutMs, long long& longestPauseMs)
    {
        using Clock = std::chrono::steady_clock;
        Clock::time_point last = Clock::now();
        longestPauseMs = 0;
        wxTimer beat;
        beat.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            Clock::time_point now = Clock::now();
            longestPauseMs = std::max<long long>(
                longestPauseMs, std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count());
            last = now;
        });
        beat.Start(20);
        bool ok = runUntil(done, timeoutMs);
        beat.Stop();
        return ok;
    }

    StandInFolder folder;
    std::string database;
    CWatchView* view = nullptr;
};

TEST_F(WatchViewLive, ShortestIntervalShowsAChangeFromAnotherProcessWhileTheWindowResponds)
{
    wxCommandEvent start(wxEVT_BUTTON, rid::menuIdOf(rid::ID_WATCH_START));
    view->Form()->FindWindow(rid::menuIdOf(rid::ID_WATCH_START))->GetEventHandler()->ProcessEvent(start);
    ASSERT_TRUE(view->IsRunning());
    EXPECT_EQ(view->RequestTimer().GetInterval(), 5000);
    view->GetFrame()->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_FALSE(view->Form()->FindWindow(rid::menuIdOf(rid::ID_WATCH_START))->IsEnabled());
    EXPECT_TRUE(view->Form()->FindWindow(rid::menuIdOf(rid::ID_WATCH_STOP))->IsEnabled());

    HeldSession other(database, "OTHER", {"--hold", "60", "--reads", "60000", "--inserts", "600"});
    ASSERT_TRUE(other.started());
    ASSERT_EQ(folder.admin({"touch", database, "Codeunit", "80"}), 0);
    long long longestPause = 0;
    ASSERT_TRUE(waitResponsive([&] { return edit(view, rid::IDC_WATCH_CHANGE_COUNT)->GetValue() == "1"; }, 15000,
                               longestPause));
    EXPECT_LT(longestPause, 1000);
    CResultList& rows = view->ChangedObjects();
    ASSERT_EQ(rows.GetRowCount(), 1);
    EXPECT_EQ(rows.GetCellText(0, WOC_TYPE), "Codeunit");
    EXPECT_EQ(rows.GetCellText(0, WOC_ID), "80");
    EXPECT_EQ(view->ChangedObjectsCtrl()->GetItemCount(), 1);
    EXPECT_EQ(edit(view, rid::IDC_WATCH_TIME)->GetValue(),
              wxString::FromUTF8(CSessionWatch::requestTimeText(view->Watch().lastRequestTime())));
    EXPECT_EQ(edit(view, rid::IDC_WATCH_DATE)->GetValue(),
              wxString::FromUTF8(CSessionWatch::requestDateText(view->Watch().lastRequestTime())));
    ASSERT_TRUE(runUntil([&] { return view->Sessions().GetRowCount() == 2; }, 2000));
    EXPECT_EQ(view->Sessions().GetCellText(0, 1), "OTHER");
    EXPECT_EQ(view->Sessions().GetCellText(1, 1), "WATCHER");
    EXPECT_TRUE(takeMessages().empty());

    wxString shot;
    if (wxGetEnv("QUELLIX_WATCH_SCREENSHOT", &shot) && !shot.empty()) {
        wxGetApp().mainFrame()->SetSize(0, 0, 1180, 740);
        ASSERT_EQ(folder.admin({"touch", database, "Table", "18"}), 0);
        ASSERT_TRUE(runUntil([&] { return rows.GetRowCount() == 2; }, 15000));
        pump(500);
        wxRect area = wxGetApp().mainFrame()->GetScreenRect();
        wxBitmap bitmap(area.width, area.height);
        {
            wxScreenDC screen;
            wxMemoryDC memory(bitmap);
            memory.Blit(0, 0, area.width, area.height, &screen, area.x, area.y);
        }
        EXPECT_TRUE(bitmap.SaveFile(shot, wxBITMAP_TYPE_PNG));
    }

    command(view, rid::ID_WATCH_STOP);
    EXPECT_FALSE(view->IsRunning());
    EXPECT_FALSE(view->RequestTimer().IsRunning());
    std::string log = readFile(folder.file("watch.log"));
    EXPECT_EQ(log.substr(0, 13), "Codeunit\t80\t\t");
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
}

TEST_F(WatchViewLive, RefusedLoginShowsItsMessageAtEachRequestAndATimerInsideTheBoxIsSkipped)
{
    ASSERT_EQ(folder.admin({"add-user", database, "ADMIN"}, nullptr, "geheim"), 0);
    int skippedInside = 0;
    std::vector<wxString> shown;
    wxGetApp().setMessageHook([&](const wxString& text) {
        shown.push_back(text);
        view->OnRequestTimer(); // a timer message arriving while the box is open
        skippedInside = view->Watch().skippedTicks();
        return wxOK;
    });
    view->StartWatch();
    view->OnRequestTimer();
    EXPECT_EQ(view->Watch().skippedTicks(), 2);
    EXPECT_EQ(skippedInside, 2);
    EXPECT_EQ(shown, (std::vector<wxString>{"Login nicht ok", "Login nicht ok"}));
    EXPECT_EQ(view->ChangedObjects().GetRowCount(), 0);
    EXPECT_TRUE(view->IsRunning());
    wxGetApp().mainFrame()->flushStatusText();
    EXPECT_TRUE(wxGetApp().mainFrame()->messageText().Contains("skipped"));
    installMessageHook();
    std::string log = folder.file("watch.log");
    ASSERT_FALSE(wxFileExists(wxString::FromUTF8(log)));
    closeAllDocuments(); // closing a running watch ends it as Stop does: the log is written
    EXPECT_TRUE(wxFileExists(wxString::FromUTF8(log)));
}

TEST(WatchView, AMessageThatArrivesWhileABoxIsOpenIsOnlyCounted)
{
    CWatchMessageBoxes boxes;
    boxes.attach(wxGetApp(), wxGetApp().mainFrame());
    std::vector<wxString> shown;
    wxGetApp().setMessageHook([&](const wxString& text) {
        shown.push_back(text);
        if (shown.size() == 1)
            boxes.show("Login nicht ok", "Login nicht ok", MessageIcon::None);
        return wxOK;
    });
    boxes.show("first", "Error", MessageIcon::Information);
    boxes.show("after", "Error", MessageIcon::Information);
    EXPECT_EQ(shown, (std::vector<wxString>{"first", "after"}));
    EXPECT_EQ(boxes.suppressed(), 1);
    installMessageHook();
}

TEST_F(WatchViewLive, APasswordTheOemCodePageCannotHoldIsRefusedInAMessageBoxWithoutALogin)
{
    ASSERT_EQ(folder.admin({"add-user", database, "WATCHER"}, nullptr, "??????"), 0);
    edit(view, rid::IDC_WATCH_PASSWORD)->SetValue(wxString::FromUTF8("\xD0\xBF\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C"));
    view->StartWatch();
    EXPECT_EQ(takeMessages(), (std::vector<wxString>{"the password holds the character U+043F, which the OEM code "
                                                     "page 850 of C/FRONT cannot hold"}));
    EXPECT_FALSE(view->IsRunning());
}

TEST_F(WatchViewLive, DeletedObjectsAndOtherTypesAreReportedWhenTheirBoxesAreTicked)
{
    auto* allTypes = dynamic_cast<wxCheckBox*>(view->Form()->FindWindow(rid::IDC_WATCH_ALL_TYPES));
    auto* deleted = dynamic_cast<wxCheckBox*>(view->Form()->FindWindow(rid::IDC_WATCH_DELETED));
    ASSERT_NE(allTypes, nullptr);
    ASSERT_NE(deleted, nullptr);
    EXPECT_EQ(allTypes->GetLabelText(), "all object types");
    EXPECT_EQ(deleted->GetLabelText(), "report deleted objects");
    EXPECT_FALSE(allTypes->GetValue() || deleted->GetValue()); // off by default
    deleted->SetValue(true);
    view->StartWatch();
    ASSERT_EQ(folder.admin({"delete", database, "Codeunit", "80"}), 0);
    view->OnRequestTimer();
    ASSERT_EQ(view->ChangedObjects().GetRowCount(), 1);
    EXPECT_EQ(view->ChangedObjects().GetCellText(0, WOC_ID), "80");
    EXPECT_EQ(view->ChangedObjects().GetCellText(0, WOC_DATE), "deleted");
    view->StopWatch();
}

TEST_F(WatchViewLive, ABusyDatabaseIsShownInTheStatusBarWhileTheRequestWaitsAndTheTextGoesAfter)
{
    setenv("CFRONT_BUSY_TIMEOUT", "2", 1);
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::vector<wxString> shownWhileSet; // the status bar each time a status line is set
    wxGetApp().statusRelay().setObserver(
        [&](const std::string&) { shownWhileSet.push_back(wxGetApp().mainFrame()->messageText()); });
    view->StartWatch();
    view->OnRequestTimer();
    wxGetApp().statusRelay().setObserver(nullptr);
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    unsetenv("CFRONT_BUSY_TIMEOUT");
    view->StopWatch();
    takeMessages();
    ASSERT_FALSE(shownWhileSet.empty());
    EXPECT_TRUE(shownWhileSet.front().StartsWith("waiting for ")) << shownWhileSet.front();
    wxGetApp().mainFrame()->flushStatusText();
    EXPECT_FALSE(wxGetApp().mainFrame()->messageText().Contains("waiting")) << wxGetApp().mainFrame()->messageText();
}
