// Jobs and commands that end by an exception: the program shows the message and goes on.
#include "GuiTestSupport.h"

#include "analysis/OperationTable.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "resources/ResourceIds.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/textentry.h>
#include <wx/textctrl.h>

#include <new>
#include <stdexcept>

using namespace guitest;

namespace {
bool throwOutOfMemory(CObjektManager&, CResultList&, IProgress*, const AnalysisArgs&)
{
    throw std::bad_alloc();
}

bool throwOtherFailure(CObjektManager&, CResultList&, IProgress*, const AnalysisArgs&)
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
