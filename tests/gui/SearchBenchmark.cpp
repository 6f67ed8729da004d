// How long a second search on an export the view has already loaded takes, from the click to the
// last row in the list. A benchmark, not a test: it runs only when QUELLIX_BENCH is set and prints
// its times. QUELLIX_BENCH_MB sets the size of the real-shaped export (150 by default).
#include "GuiTestSupport.h"

#include "jobs/SearchOption.h"
#include "resources/ResourceIds.h"
#include "views/ResultListCtrl.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/textentry.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace guitest;

namespace {
double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Runs one search and returns the milliseconds until the list shows every row.
double timedSearch(CSearchView* view, const char* term, const char* mode, long* rows)
{
    dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue(term);
    dynamic_cast<wxChoice*>(view->Form()->FindWindow(rid::IDC_SEARCH_OPTION))->SetStringSelection(mode);
    auto start = std::chrono::steady_clock::now();
    view->RunSearch();
    if (!waitForJob(view, 600000))
        return -1;
    CResultListCtrl* list = view->ResultListCtrl();
    runUntil([&] { return list->GetItemCount() == view->Results().GetRowCount(); }, 10000);
    list->Update();
    *rows = list->GetItemCount();
    return msSince(start);
}
} // namespace

TEST(Benchmark, SecondSearchOnALoadedExport)
{
    if (!wxGetEnv("QUELLIX_BENCH", nullptr))
        GTEST_SKIP() << "set QUELLIX_BENCH=1 to run the benchmark";
    const char* mb = std::getenv("QUELLIX_BENCH_MB");
    std::string size = mb ? mb : "150";
    std::string path = tempPath("bench-real-" + size + ".txt");
    std::string command =
        std::string(QUELLIX_BINARY_DIR) + "/bench/gen_export " + path + " " + size + " 1 --real > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    CSearchView* view = openSearchView(wxString::FromUTF8(path));
    ASSERT_NE(view, nullptr);
    long rows = 0;
    double first = timedSearch(view, "Customer", kSearchOptionNormal, &rows);
    std::printf("%s MB export: first search (with the load) \"Customer\" normal: %.0f ms, %ld rows\n", size.c_str(),
                first, rows);
    struct Step {
        const char* term;
        const char* mode;
    };
    for (Step step : {Step{"Customer", kSearchOptionNormal}, Step{"Customer", kSearchOptionCase},
                      Step{"Amount", kSearchOptionCase}, Step{"Cust.*No\\.", kSearchOptionRegex},
                      Step{"NoSuchWordAnywhere", kSearchOptionNormal}}) {
        double ms = timedSearch(view, step.term, step.mode, &rows);
        std::printf("%s MB export: second search \"%s\" %s: %.0f ms to the last of %ld rows\n", size.c_str(),
                    step.term, step.mode, ms, rows);
    }
    closeAllDocuments();
    std::remove(path.c_str());
}
