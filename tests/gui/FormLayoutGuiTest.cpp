// The forms of the four view kinds when the main window is made smaller and larger than the
// form's template: every control stays reachable and nothing is lost after scrolling.
#include "GuiTestSupport.h"

#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "resources/ResourceIds.h"
#include "views/BLView.h"
#include "db/SessionWatch.h"
#include "views/ResultListCtrl.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/control.h>
#include <wx/choicdlg.h>

#include <cstdio>
#include <unistd.h>

using namespace guitest;

namespace {
// Sizes the main window and waits until the view's form has followed.
void resizeMainWindow(IBLView* view, const wxSize& size)
{
    CMainFrame* frame = wxGetApp().mainFrame();
    wxSize before = view->Form()->GetClientSize();
    frame->SetSize(size);
    runUntil([&] { return view->Form()->GetClientSize() != before; }, 3000);
    pump(150);
}

// Rectangle of a form control in form coordinates (independent of the scroll offset).
wxRect logicalRect(IBLView* view, wxWindow* control)
{
    wxRect r = control->GetRect();
    r.SetPosition(view->Form()->CalcUnscrolledPosition(r.GetPosition()));
    return r;
}

// Controls whose form rectangle lies outside the area the scroll bars reach.
wxString unreachableControls(IBLView* view)
{
    wxRect reachable(wxPoint(0, 0), view->Form()->GetVirtualSize());
    wxString names;
    for (wxWindow* child : view->Form()->GetChildren()) {
        wxRect r = logicalRect(view, child);
        if (child->IsShown() && !reachable.Contains(r))
            names += wxString::Format("%s %d at %d,%d %dx%d; ", child->GetClassInfo()->GetClassName(),
                                      child->GetId(), r.x, r.y, r.width, r.height);
    }
    return names;
}

IBLView* newViewOfKind(const wxString& kind)
{
    whenDialogAppears("Neu", [kind](wxDialog* dialog) {
        if (auto* choice = dynamic_cast<wxSingleChoiceDialog*>(dialog))
            choice->SetSelection(choiceEntries(dialog).Index(kind));
        dialog->EndModal(wxID_OK);
    });
    size_t before = wxGetApp().docManager()->GetDocumentsVector().size();
    wxCommandEvent newCommand(wxEVT_MENU, wxID_NEW);
    wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(newCommand);
    runUntil([before] { return wxGetApp().docManager()->GetDocumentsVector().size() > before; });
    pump(200);
    return dynamic_cast<IBLView*>(wxGetApp().docManager()->GetCurrentView());
}

// Collects what the process writes to stderr (GTK's own warnings go there) while it lives.
class CStderrCapture {
public:
    CStderrCapture() : m_file(tempPath("stderr.txt"))
    {
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        std::FILE* f = std::fopen(m_file.c_str(), "w");
        dup2(fileno(f), STDERR_FILENO);
        std::fclose(f);
    }
    ~CStderrCapture() { restore(); }
    std::string text()
    {
        restore();
        return readFile(m_file);
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        m_saved = -1;
    }
    std::string m_file;
    int m_saved = -1;
};

using FormLayoutTest = MainWindowRestored;
} // namespace

TEST_F(FormLayoutTest, BelowTheTemplateTheSearchViewsControlsReturnToTheirPlacesAndStayReachable)
{
    CSearchView* view = openSearchView(wxString::FromUTF8(sourcePath("tests/data/small-export.txt")));
    ASSERT_NE(view, nullptr);
    wxWindow* form = view->Form();
    wxSize templ = view->TemplatePixels();
    resizeMainWindow(view, templ + wxSize(500, 400));
    ASSERT_GT(form->GetClientSize().x, templ.x);
    ASSERT_GT(form->GetClientSize().y, templ.y);
    wxPoint searchAtTemplate = form->ConvertDialogToPixels(wxPoint(376, 24));
    EXPECT_GT(form->FindWindow(rid::IDC_SEARCH)->GetPosition().x, searchAtTemplate.x) << "anchored right";

    resizeMainWindow(view, wxSize(templ.x / 2 + 100, templ.y / 2 + 150));
    ASSERT_LT(form->GetClientSize().x, templ.x);
    ASSERT_LT(form->GetClientSize().y, templ.y);
    EXPECT_EQ(logicalRect(view, form->FindWindow(rid::IDC_SEARCH)).GetPosition(), searchAtTemplate);
    EXPECT_EQ(logicalRect(view, form->FindWindow(rid::IDC_COUNT)).GetPosition(),
              form->ConvertDialogToPixels(wxPoint(340, 264)));
    EXPECT_EQ(unreachableControls(view), "");

    // Scrolled to the far corner, then enlarged: the offset goes back to 0 and the labels that
    // are not anchored are where the template has them.
    view->Form()->Scroll(1000, 1000);
    pump(100);
    wxPoint sourceLabel = form->ConvertDialogToPixels(wxPoint(7, 9));
    ASSERT_NE(form->FindWindow(rid::IDC_SOURCE_FILE)->GetPosition().y, form->ConvertDialogToPixels(wxPoint(58, 7)).y)
        << "the form did not scroll";
    resizeMainWindow(view, templ + wxSize(300, 300));
    int startX = -1, startY = -1;
    view->Form()->GetViewStart(&startX, &startY);
    EXPECT_EQ(wxPoint(startX, startY), wxPoint(0, 0));
    bool found = false;
    for (wxWindow* child : form->GetChildren())
        if (child->GetId() == wxID_STATIC && wxControl::RemoveMnemonics(child->GetLabel()) == "Sourcefile:") {
            EXPECT_EQ(child->GetPosition(), sourceLabel);
            found = true;
        }
    EXPECT_TRUE(found);
    EXPECT_EQ(unreachableControls(view), "");
}

TEST_F(FormLayoutTest, EveryViewKindKeepsItsControlsReachableAfterGrowingAndShrinking)
{
    CStderrCapture gtkOutput;
    for (const char* kind : {"SearchView", "ObjectCompareView", "WatchView", "MergeView", "Changes"}) {
        SCOPED_TRACE(kind);
        IBLView* view = newViewOfKind(kind);
        ASSERT_NE(view, nullptr);
        wxSize templ = view->TemplatePixels();
        resizeMainWindow(view, templ + wxSize(400, 400));
        resizeMainWindow(view, wxSize(templ.x * 2 / 3, templ.y * 2 / 3 + 100));
        EXPECT_LT(view->Form()->GetClientSize().x, templ.x);
        EXPECT_EQ(unreachableControls(view), "");
        closeAllDocuments();
    }
    // A control made smaller than the toolkit's minimum for it (a check box with its label) makes
    // GTK allocate negative sizes and say so.
    std::string said = gtkOutput.text();
    EXPECT_EQ(said.find("CRITICAL"), std::string::npos) << said;
}

TEST_F(FormLayoutTest, TheWatchsChangedObjectsListTakesTheSpareWidthAndShowsItsLastHeading)
{
    IBLView* view = newViewOfKind("WatchView");
    ASSERT_NE(view, nullptr);
    wxWindow* form = view->Form();
    resizeMainWindow(view, view->TemplatePixels() + wxSize(400, 300));
    auto* objects = dynamic_cast<CResultListCtrl*>(form->FindWindow(rid::IDC_WATCH_OBJECTS));
    wxWindow* sessions = form->FindWindow(rid::IDC_WATCH_SESSIONS);
    ASSERT_NE(objects, nullptr);
    EXPECT_EQ(sessions->GetSize().x, form->ConvertDialogToPixels(wxSize(150, 180)).x);
    EXPECT_GT(objects->GetSize().x, form->ConvertDialogToPixels(wxSize(318, 180)).x + 300);
    EXPECT_LT(objects->GetRect().GetRight(), sessions->GetRect().GetLeft());
    EXPECT_GE(objects->GetColumnWidth(WOC_DBM_TABLE), objects->GetTextExtent("DBM TableNo.").x + 8);
    closeAllDocuments();
}
