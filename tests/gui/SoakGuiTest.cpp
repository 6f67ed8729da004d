// The program driven as an impatient user drives it (SoakDriver.h) for QUELLIX_SOAK_SECONDS from
// QUELLIX_SOAK_SEED; skipped without the seconds. scripts/soak.sh sets them and reads the output
// for sanitizer reports and GTK criticals. At the end the program must still answer a search.
#include "GuiTestSupport.h"
#include "SoakDriver.h"

#include "resources/ResourceIds.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/textentry.h>

#include <cstdio>
#include <cstdlib>

using namespace guitest;

namespace {

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
    {
        soak::Driver driver(seed);
        driver.run(seconds);
        std::printf("soak: seed %u, %ld commands drawn in %d s, %d dialogs closed; acted:", seed, driver.draws(),
                    seconds, driver.dialogsClosed());
        for (const auto& [name, acted] : driver.acted())
            std::printf(" %s %ld (longest %ld ms),", name.c_str(), acted.count, acted.longestMs);
        std::printf("\n");
    }

    CSearchView* view = openSearchView(wxString::FromUTF8(sourcePath("examples/sample-export.txt")));
    ASSERT_NE(view, nullptr);
    dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue("Customer");
    view->RunSearch();
    ASSERT_TRUE(waitForJob(view));
    EXPECT_GT(view->Results().GetRowCount(), 0);
    closeAllDocuments();
}
