// The program driven as an impatient user drives it: from a fixed seed, random commands one after
// the other for QUELLIX_SOAK_SECONDS (the test is skipped without it; scripts/soak.sh sets it and
// reads the output for sanitizer reports and GTK criticals). Exports are opened, analyses started
// and stopped, rows opened in the viewer, lists sorted and searched, the window resized, views
// closed while their jobs run. At the end the program must still answer a search.
#include "GuiTestSupport.h"

#include "analysis/CommandIds.h"
#include "analysis/Operation.h"
#include "analysis/OperationTable.h"
#include "app/QuellixApp.h"
#include "resources/ResourceIds.h"
#include "views/ResultListCtrl.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/textentry.h>
#include <wx/timer.h>

#include <chrono>
#include <cstdlib>
#include <random>

using namespace guitest;

namespace {

// Ends every modal dialog (the object viewer among them) a little while after it appears, as a
// user who looks and presses Esc.
class DialogCloser : public wxTimer {
public:
    explicit DialogCloser(std::mt19937& random) : m_random(random) { Start(30); }
    void Notify() override
    {
        for (wxWindow* window : wxTopLevelWindows) {
            auto* dialog = wxDynamicCast(window, wxDialog);
            if (dialog == nullptr || !dialog->IsShown() || !dialog->IsModal())
                continue;
            if (++m_seen < 1 + static_cast<int>(m_random() % 8))
                return;
            m_seen = 0;
            dialog->EndModal(wxID_CANCEL);
            ++closed;
            return;
        }
    }
    int closed = 0;

private:
    std::mt19937& m_random;
    int m_seen = 0;
};

int environmentNumber(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

} // namespace

TEST(Soak, RandomCommandsLeaveTheProgramUsable)
{
    const int seconds = environmentNumber("QUELLIX_SOAK_SECONDS", 0);
    if (seconds == 0)
        GTEST_SKIP() << "QUELLIX_SOAK_SECONDS not set (scripts/soak.sh)";
    const unsigned seed = static_cast<unsigned>(environmentNumber("QUELLIX_SOAK_SEED", 1));
    std::mt19937 random(seed);
    const wxString exports[] = {wxString::FromUTF8(sourcePath("examples/sample-export.txt")),
                                wxString::FromUTF8(writeLargeExport("soak-export.txt", 600))};
    const wxString terms[] = {"Customer", "BEGIN", "Cust.*No\\.", "xyz", "SETRANGE", "("};
    std::vector<const OperationDef*> analyses;
    for (const OperationDef* row : operationTable())
        if (row->input == OperationInput::None && row->commandId != rid::ID_NO_COMMAND)
            analyses.push_back(row);
    DialogCloser closer(random);
    wxFrame* main = wxDynamicCast(wxTheApp->GetTopWindow(), wxFrame);
    ASSERT_NE(main, nullptr);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    long actions = 0;
    while (std::chrono::steady_clock::now() < end) {
        CSearchView* view = activeSearchView();
        const unsigned pick = random() % 100;
        ++actions;
        if (view == nullptr || pick < 6) {
            openSearchView(exports[random() % 2]);
        } else if (pick < 30) {
            view->RunCommand(analyses[random() % analyses.size()]->commandId);
        } else if (pick < 42) {
            auto* term = dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM));
            if (term != nullptr)
                term->SetValue(terms[random() % std::size(terms)]);
            view->RunSearch();
        } else if (pick < 52) {
            view->StopJob();
        } else if (pick < 60) {
            const int rows = view->Results().GetRowCount();
            if (rows > 0 && !view->IsBusy())
                view->OpenRow(static_cast<int>(random() % static_cast<unsigned>(rows)));
        } else if (pick < 68) {
            view->ResultListCtrl()->ClickColumn(static_cast<int>(random() % 4));
        } else if (pick < 74) {
            view->ResultListCtrl()->FindInList(random() % 2 ? "Customer" : "Cust");
        } else if (pick < 80) {
            main->SetSize(400 + static_cast<int>(random() % 800), 300 + static_cast<int>(random() % 600));
        } else if (pick < 84) {
            closeAllDocuments();
        } else if (pick < 88) {
            view->CopyToClipboard();
        }
        pump(static_cast<int>(random() % 250));
        takeMessages();
    }
    closeAllDocuments();
    std::printf("soak: seed %u, %ld actions, %d dialogs closed in %d s\n", seed, actions, closer.closed, seconds);

    CSearchView* view = openSearchView(exports[0]);
    ASSERT_NE(view, nullptr);
    dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue("Customer");
    view->RunSearch();
    ASSERT_TRUE(waitForJob(view));
    EXPECT_GT(view->Results().GetRowCount(), 0);
    closeAllDocuments();
}
