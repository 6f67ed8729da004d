// The README's screenshot: the search view with rows of the sample export. Taken only when
// QUELLIX_SCREENSHOT names the PNG file to write.
#include "GuiTestSupport.h"

#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "resources/ResourceIds.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/textctrl.h>

using namespace guitest;

TEST(Screenshot, SearchViewWithRowsIconsAndCounts)
{
    wxString target;
    if (!wxGetEnv("QUELLIX_SCREENSHOT", &target) || target.empty())
        GTEST_SKIP() << "set QUELLIX_SCREENSHOT to a PNG path to take it";
    CMainFrame* frame = wxGetApp().mainFrame();
    frame->SetSize(0, 0, 1180, 740);
    CSearchView* view = openSearchView(wxString::FromUTF8(sourcePath("examples/sample-export.txt")));
    ASSERT_NE(view, nullptr);
    wxDynamicCast(view->Form()->FindWindow(rid::IDC_SEARCH_TERM), wxTextCtrl)->SetValue("Version List");
    wxDynamicCast(view->Form()->FindWindow(rid::IDC_SEARCH_OPTION), wxChoice)->SetStringSelection("normal");
    view->RunSearch();
    ASSERT_TRUE(waitForJob(view));
    pump(800);
    frame->Update();

    wxRect area = frame->GetScreenRect();
    wxBitmap shot(area.width, area.height);
    {
        wxScreenDC screen;
        wxMemoryDC memory(shot);
        memory.Blit(0, 0, area.width, area.height, &screen, area.x, area.y);
    }
    ASSERT_TRUE(shot.SaveFile(target, wxBITMAP_TYPE_PNG));
    closeAllDocuments();
}
