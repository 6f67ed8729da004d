// Jobs and commands that end by an exception, exports that cannot be read and reads that are
// stopped: the program says what happened, shows no rows of another export, and goes on.
#include "GuiTestSupport.h"

#include "analysis/OperationTable.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "resources/ResourceIds.h"
#include "views/JobFollower.h"
#include "views/ResultListCtrl.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/textentry.h>
#include <wx/textctrl.h>

#include <functional>
#include <new>
#include <stdexcept>

using namespace guitest;

namespace {
Outcome throwOutOfMemory(CObjektManager&, CResultList&, IProgress*, const AnalysisArgs&)
{
    throw std::bad_alloc();
}

Outcome throwOtherFailure(CObjektManager&, CResultList&, IProgress*, const AnalysisArgs&)
{
    throw std::runtime_error("broken");
}

OperationDef throwingOperation(OperationRunner run)
{
    return OperationDef{.command = "throws", .run = run};
}

class FailureTest : public testing::Test {
protected:
    void SetUp() override
    {
        view = openSearchView(wxString::FromUTF8(sourcePath("tests/data/small-export.txt")));
        ASSERT_NE(view, nullptr);
        takeMessages();
    }
    void TearDown() override { closeAllDocuments(); }

    std::vector<wxString> messagesAfter(int ms = 3000)
    {
        std::vector<wxString> shown;
        runUntil(
            [&] {
                for (const wxString& m : takeMessages())
                    shown.push_back(m);
                return !shown.empty();
            },
            ms);
        pump(100);
        for (const wxString& m : takeMessages())
            shown.push_back(m);
        return shown;
    }

    CSearchView* view = nullptr;
};
} // namespace

TEST_F(FailureTest, AJobOutOfMemoryShowsTheMessageAndTheViewRunsTheNextJob)
{
    static const OperationDef outOfMemory = throwingOperation(throwOutOfMemory);
    ASSERT_TRUE(view->StartJob(outOfMemory, {}));
    std::vector<wxString> shown = messagesAfter();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], wxString::FromUTF8("Nicht genügend Speicher."));
    ASSERT_TRUE(waitForJob(view));

    // The export is read anew and the search finds its rows.
    dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue("OBJECT ");
    view->RunSearch();
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_EQ(view->Results().GetRowCount(), 5);
    EXPECT_TRUE(takeMessages().empty());
}

TEST_F(FailureTest, AJobFailingOtherwiseShowsCommandFailed)
{
    static const OperationDef other = throwingOperation(throwOtherFailure);
    ASSERT_TRUE(view->StartJob(other, {}));
    std::vector<wxString> shown = messagesAfter();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Befehl fehlgeschlagen.");
}

TEST_F(FailureTest, ACommandHandlerThatThrowsShowsTheMessageAndTheProgramGoesOn)
{
    const int command = wxWindow::NewControlId();
    CMainFrame* frame = wxGetApp().mainFrame();
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { throw std::bad_alloc(); }, command);
    wxQueueEvent(frame, new wxCommandEvent(wxEVT_MENU, command));
    std::vector<wxString> shown = messagesAfter();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], wxString::FromUTF8("Nicht genügend Speicher."));

    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { throw std::logic_error("x"); }, command + 1);
    wxCommandEvent direct(wxEVT_MENU, command + 1);
    frame->GetEventHandler()->SafelyProcessEvent(direct);
    shown = messagesAfter();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Befehl fehlgeschlagen.");
}

TEST_F(FailureTest, AnExportThatCannotBeReadIsNamedWithTheSystemsReason)
{
    const std::string folder = tempFolder();
    dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SOURCE_FILE))->SetValue(wxString::FromUTF8(folder));
    view->RunSearch();
    std::vector<wxString> shown = messagesAfter();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], wxString::FromUTF8("Befehl fehlgeschlagen.\ncannot read " + folder + ": Is a directory"));
}

TEST_F(FailureTest, AFailedOrStoppedReadLeavesAnEmptyListAndSaysWhy)
{
    static const OperationDef outOfMemory = throwingOperation(throwOutOfMemory);
    const std::string large = writeLargeExport("failure-stopped-read.txt", 20000);
    const struct {
        const char* what;
        std::function<void()> fail;
        std::string status;
    } cases[] = {
        {"out of memory", [&] { view->StartJob(outOfMemory, {}); messagesAfter(); },
         "Nicht genügend Speicher."},
        {"stopped while reading",
         [&] {
             dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SOURCE_FILE))->SetValue(wxString::FromUTF8(large));
             view->RunSearch();
             view->StopJob();
         },
         "Stopped while reading " + large + ": the list is empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SOURCE_FILE))
            ->SetValue(wxString::FromUTF8(sourcePath("tests/data/small-export.txt")));
        dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue("OBJECT ");
        view->RunSearch();
        ASSERT_TRUE(waitForJob(view));
        pump(100);
        ASSERT_EQ(view->ResultListCtrl()->GetItemCount(), 5);
        c.fail();
        ASSERT_TRUE(waitForJob(view));
        pump(200);
        EXPECT_EQ(view->Results().GetRowCount(), 0);
        EXPECT_EQ(view->ResultListCtrl()->GetItemCount(), 0);
        EXPECT_EQ(wxGetApp().mainFrame()->messageText(), wxString::FromUTF8(c.status));
        takeMessages();
    }
}

// Every view that runs jobs follows them with a CJobFollower: the exception a job ends by reaches
// the view's failure handler, before its end.
TEST(JobFollower, AJobEndedByAnExceptionReachesTheViewBeforeItsEnd)
{
    const struct {
        const char* what;
        std::function<void()> fail;
        const char* message;
    } cases[] = {
        {"out of memory", [] { throw std::bad_alloc(); }, "Nicht genügend Speicher."},
        {"other", [] { throw std::runtime_error("broken"); }, "Befehl fehlgeschlagen."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<wxString> heard;
        CJobFollower follower;
        follower.attach(wxGetApp(), nullptr,
                        {nullptr, nullptr, [&](const wxString& text) { heard.push_back(text); },
                         [&] { heard.push_back("finished"); }});
        follower.start([&](const std::atomic<bool>&) { c.fail(); });
        ASSERT_TRUE(runUntil([&] { return !heard.empty() && heard.back() == "finished"; }));
        EXPECT_EQ(heard, (std::vector<wxString>{wxString::FromUTF8(c.message), "finished"}));
    }
}
