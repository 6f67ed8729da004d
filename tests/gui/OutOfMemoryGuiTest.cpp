// Real requests for memory of a search made to fail (this program is linked with the failing
// allocator of tests/support): during the load of its export and during the search over an export
// already loaded, at points spread over the job. Each time the view names the shortage in a message
// box and in the status bar, or ends as if nothing had happened; then the next search lists every row.
#include "GuiTestSupport.h"

#include "app/QuellixApp.h"
#include "resources/ResourceIds.h"
#include "support/FailingAllocator.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/textentry.h>
#include <wx/thread.h>

#include <atomic>

using namespace guitest;

TEST(OutOfMemoryGui, ASearchShortOfMemoryWhileLoadingOrSearchingSaysSoAndTheNextSearchWorks)
{
#ifndef QUELLIX_FAILING_ALLOCATOR
    GTEST_SKIP() << "the sanitizer builds keep the allocator of their own";
#else
    const std::string loaded = writeLargeExport("oom-loaded.txt", 150);
    const std::string other = writeLargeExport("oom-other.txt", 150);
    CSearchView* view = openSearchView(wxString::FromUTF8(loaded));
    ASSERT_NE(view, nullptr);
    auto search = [&](const std::string& path) {
        dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SOURCE_FILE))->SetValue(wxString::FromUTF8(path));
        dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue("OBJECT ");
        view->RunSearch();
        ASSERT_TRUE(waitForJob(view));
        pump(100);
    };
    search(loaded);
    const int rows = view->Results().GetRowCount();
    ASSERT_GT(rows, 0);
    const wxString shortage = wxString::FromUTF8("Nicht genügend Speicher.");
    int failed = 0;
    for (const bool loading : {true, false}) {
        for (const long long n : {1, 2, 3, 5, 10, 30, 100, 300, 1000, 3000, 10000, 30000, 100000}) {
            SCOPED_TRACE(std::string(loading ? "loading" : "searching") + ", request " + std::to_string(n));
            takeMessages();
            // The job's first progress arms its thread: from there its nth request fails.
            std::atomic<bool> armed{false};
            view->ProgressRelay().setObserver([&](int) {
                if (!wxIsMainThread() && !armed.exchange(true))
                    failAllocationOnThisThread(n);
            });
            search(loading ? other : loaded);
            view->ProgressRelay().setObserver(nullptr);
            const std::vector<wxString> shown = takeMessages();
            if (!shown.empty()) {
                ++failed;
                EXPECT_EQ(shown, std::vector<wxString>{shortage});
                EXPECT_EQ(wxGetApp().statusText(), shortage);
            } else {
                EXPECT_EQ(view->Results().GetRowCount(), rows);
            }
            search(loaded);
            EXPECT_EQ(view->Results().GetRowCount(), rows);
            EXPECT_TRUE(takeMessages().empty());
        }
    }
    EXPECT_GT(failed, 10);
    closeAllDocuments();
#endif
}
