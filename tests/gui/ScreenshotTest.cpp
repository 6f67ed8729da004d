// The README's screenshot: the search view with rows of the sample export. Taken only when
// QUELLIX_SCREENSHOT names the PNG file to write.
#include "GuiTestSupport.h"

#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "resources/ResourceIds.h"
#include "app/QuellixDoc.h"
#include "views/ObjectViewer.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/textentry.h>
#include <wx/choice.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/textctrl.h>

using namespace guitest;

namespace {
bool saveScreenArea(const wxRect& area, const wxString& target)
{
    wxBitmap shot(area.width, area.height);
    {
        wxScreenDC screen;
        wxMemoryDC memory(shot);
        memory.Blit(0, 0, area.width, area.height, &screen, area.x, area.y);
    }
    return shot.SaveFile(target, wxBITMAP_TYPE_PNG);
}
} // namespace

TEST(Screenshot, SearchViewWithRowsIconsAndCounts)
{
    wxString target;
    if (!wxGetEnv("QUELLIX_SCREENSHOT", &target) || target.empty())
        GTEST_SKIP() << "set QUELLIX_SCREENSHOT to a PNG path to take it";
    CMainFrame* frame = wxGetApp().mainFrame();
    frame->SetSize(0, 0, 1180, 740);
    CSearchView* view = openSearchView(wxString::FromUTF8(sourcePath("examples/sample-export.txt")));
    ASSERT_NE(view, nullptr);
    dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue("Version List");
    dynamic_cast<wxChoice*>(view->Form()->FindWindow(rid::IDC_SEARCH_OPTION))->SetStringSelection("normal");
    view->RunSearch();
    ASSERT_TRUE(waitForJob(view));
    pump(800);
    frame->Update();

    ASSERT_TRUE(saveScreenArea(frame->GetScreenRect(), target));
    closeAllDocuments();
}

// The object viewer's screenshot, taken only when QUELLIX_VIEWER_SCREENSHOT names the PNG file.
TEST(Screenshot, ObjectViewerWithMarkedHits)
{
    wxString target;
    if (!wxGetEnv("QUELLIX_VIEWER_SCREENSHOT", &target) || target.empty())
        GTEST_SKIP() << "set QUELLIX_VIEWER_SCREENSHOT to a PNG path to take it";
    CSearchView* view = openSearchView(wxString::FromUTF8(sourcePath("examples/sample-export.txt")));
    ASSERT_NE(view, nullptr);
    dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue("Bonus");
    dynamic_cast<wxChoice*>(view->Form()->FindWindow(rid::IDC_SEARCH_OPTION))->SetStringSelection("normal");
    view->RunSearch();
    ASSERT_TRUE(waitForJob(view));
    const auto& results = view->Doc()->manager().results;
    int chosen = -1;
    for (int i = 0, inObject = 0; i < results.count() && chosen < 0; ++i)
        if (results[i].objectName() == "Codeunit 50001 Bonus Management" && ++inObject == 12)
            chosen = i;
    ASSERT_GE(chosen, 0);
    bool saved = false;
    whenDialogAppears(wxString::FromUTF8(results[chosen].objectName() + " - " + results[chosen].where),
                      [&](wxDialog* dialog) {
                          dialog->SetSize(20, 20, 1100, 680);
                          pump(800);
                          dialog->Update();
                          saved = saveScreenArea(dialog->GetScreenRect(), target);
                          dialog->EndModal(wxID_OK);
                      });
    CObjectViewer::show(wxGetApp().settings(), view->GetFrame(), results[chosen]);
    EXPECT_TRUE(saved);
    closeAllDocuments();
}
