// Jobs on a large export: a new job replaces the running one, closing a view stops its job, and
// the window stays responsive with per-object status lines while a job runs.
#include "GuiTestSupport.h"

#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "resources/ResourceIds.h"
#include "views/ResultListCtrl.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/textentry.h>
#include <wx/gauge.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <chrono>
#include <cstdio>
#include <set>

using namespace guitest;
using Clock = std::chrono::steady_clock;

namespace {
constexpr int UNUSED_FUNCTIONS = 1037;
constexpr int UNUSED_VARIABLES = 1030; // a status line per object, all the way through

class JobsTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        largeExport = tempPath("large-export.txt");
        std::string command = std::string(QUELLIX_BINARY_DIR) + "/bench/gen_export " + largeExport + " 100";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    static void TearDownTestSuite() { std::remove(largeExport.c_str()); }
    void SetUp() override
    {
        view = openSearchView(wxString::FromUTF8(largeExport));
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override { closeAllDocuments(); }

    void setTerm(const wxString& term)
    {
        dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue(term);
    }

    static std::string largeExport;
    CSearchView* view = nullptr;
};
std::string JobsTest::largeExport;

// Counts its ticks and remembers the longest pause between two of them.
class CTickWatch : public wxTimer {
public:
    CTickWatch() { Start(20); }
    void Notify() override
    {
        auto now = Clock::now();
        if (ticks++ > 0)
            longest = std::max(longest, now - last);
        last = now;
    }
    int ticks = 0;
    Clock::duration longest{};
    Clock::time_point last;
};
} // namespace

TEST_F(JobsTest, StartingASecondJobLeavesOnlyTheSecondOnesRows)
{
    setTerm("TESTFIELD");
    view->RunSearch(); // loads the export, so the next job starts its analysis at once
    ASSERT_TRUE(waitForJob(view));
    int searchRows = view->Results().GetRowCount();
    ASSERT_GT(searchRows, 0);

    view->RunCommand(UNUSED_FUNCTIONS);
    ASSERT_TRUE(runUntil([&] { return view->Results().GetRowCount() > 0 && view->IsBusy(); }, 20000))
        << "the first job should be running and adding rows";
    view->RunSearch();
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_EQ(view->LastAction(), "Search: TESTFIELD");
    EXPECT_EQ(view->Results().GetColumnCount(), 5);
    EXPECT_EQ(view->Results().GetColumn(4).heading, "Environment");
    EXPECT_EQ(view->Results().GetRowCount(), searchRows);
    EXPECT_EQ(view->ResultListCtrl()->GetItemCount(), searchRows);
}

TEST_F(JobsTest, ClosingAViewDuringAJobStopsItQuickly)
{
    view->RunCommand(UNUSED_FUNCTIONS);
    ASSERT_TRUE(runUntil([&] { return view->Results().GetRowCount() > 0; }, 20000));
    ASSERT_TRUE(view->IsWorkerRunning());
    auto before = Clock::now();
    closeAllDocuments();
    EXPECT_LT(Clock::now() - before, std::chrono::seconds(2));
    EXPECT_TRUE(wxGetApp().docManager()->GetDocumentsVector().empty());
    pump(300); // late events of the stopped job must find nothing to touch
}

TEST_F(JobsTest, ClosingAViewWhileItLoadsWaitsForTheLoadOnly)
{
    view->RunCommand(UNUSED_FUNCTIONS);
    auto before = Clock::now();
    closeAllDocuments();
    EXPECT_LT(Clock::now() - before, std::chrono::seconds(5));
    pump(300);
}

TEST_F(JobsTest, ALongJobKeepsTheWindowResponsiveAndShowsPerObjectLines)
{
    CTickWatch watch;
    std::set<wxString> statusLines;
    int progressSeen = 0;
    auto* gauge = dynamic_cast<wxGauge*>(view->Form()->FindWindow(rid::IDC_PROGRESS));
    view->RunCommand(UNUSED_VARIABLES);
    auto started = Clock::now();
    ASSERT_TRUE(runUntil([&] {
        statusLines.insert(wxGetApp().mainFrame()->messageText());
        progressSeen = std::max(progressSeen, gauge->GetValue());
        return !view->IsWorkerRunning() && !view->IsBusy();
    }, 60000));
    auto took = Clock::now() - started;
    pump(100);
    EXPECT_GT(took, std::chrono::milliseconds(300)) << "the export is too small to show anything";
    EXPECT_LT(watch.longest, std::chrono::milliseconds(250));
    EXPECT_GT(watch.ticks, 10);
    EXPECT_GE(statusLines.size(), 3u) << [&] { wxString all; for (auto& l : statusLines) all += "[" + l + "]"; return all.utf8_string(); }();
    int perObject = 0;
    for (const wxString& line : statusLines)
        if (line.Contains("Name: "))
            ++perObject;
    EXPECT_GE(perObject, 2);
    EXPECT_GT(progressSeen, 0);
    EXPECT_EQ(gauge->GetValue(), 0);
    EXPECT_EQ(view->LastAction(), "Unused Variables");
}
