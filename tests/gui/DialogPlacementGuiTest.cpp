// Dialogs open sized to their content and centred on the main window; the main window has a
// usable size of its own when it is not maximised.
#include "GuiTestSupport.h"

#include "analysis/CommandIds.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "views/TopLevelPlacement.h"
#include "resources/ResourceIds.h"
#include "views/BLView.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/choicdlg.h>
#include <wx/display.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/timer.h>
#include <wx/toolbar.h>

#include <functional>
#include <memory>

using namespace guitest;

namespace {
// What a dialog looked like once the toolkit had laid it out on screen.
struct Seen {
    bool shown = false;
    wxRect rect;
    wxSize bestClientSize;
    wxSize clientSize;
    int listRowsVisible = -1;
    int listRows = -1;
    std::unique_ptr<wxTimer> settle;
};

// Runs once, a moment after it is started, on whatever event loop runs (also a modal one).
class CLater : public wxTimer {
public:
    explicit CLater(std::function<void()> act) : m_act(std::move(act)) {}
    void Notify() override { m_act(); }

private:
    std::function<void()> m_act;
};

// When the dialog titled title appears, lets it settle, records it and cancels it.
void inspectDialog(const wxString& title, Seen& seen)
{
    whenDialogAppears(title, [&seen](wxDialog* dialog) {
        seen.settle = std::make_unique<CLater>([dialog, &seen] {
            seen.shown = true;
            seen.rect = dialog->GetScreenRect();
            seen.clientSize = dialog->GetClientSize();
            if (dialog->GetSizer())
                seen.bestClientSize = dialog->GetSizer()->GetMinSize();
            for (wxWindow* child : dialog->GetChildren())
                if (auto* list = dynamic_cast<wxListBox*>(child)) {
                    seen.listRowsVisible = list->GetCountPerPage();
                    seen.listRows = static_cast<int>(list->GetCount());
                }
            dialog->EndModal(wxID_CANCEL);
        });
        seen.settle->StartOnce(300);
    });
}

void expectCentredOnMainWindow(const Seen& seen)
{
    ASSERT_TRUE(seen.shown);
    wxRect main = wxGetApp().mainFrame()->GetScreenRect();
    wxPoint mainCentre(main.x + main.width / 2, main.y + main.height / 2);
    wxPoint centre(seen.rect.x + seen.rect.width / 2, seen.rect.y + seen.rect.height / 2);
    EXPECT_NEAR(centre.x, mainCentre.x, 3) << "dialog at " << seen.rect.x << "," << seen.rect.y;
    EXPECT_NEAR(centre.y, mainCentre.y, 3) << "dialog at " << seen.rect.x << "," << seen.rect.y;
}

void expectContentFits(const Seen& seen)
{
    EXPECT_GE(seen.clientSize.x, seen.bestClientSize.x);
    EXPECT_GE(seen.clientSize.y, seen.bestClientSize.y);
}

class DialogPlacementTest : public MainWindowRestored {
protected:
    void SetUp() override
    {
        MainWindowRestored::SetUp();
        // Off centre on the screen, so that centring on the screen and on the main window differ.
        wxGetApp().mainFrame()->SetSize(wxRect(40, 30, 900, 700));
        pump(150);
    }
};
} // namespace

TEST_F(DialogPlacementTest, NeuShowsEveryKindAndOpensCentredOnTheMainWindow)
{
    Seen seen;
    inspectDialog("Neu", seen);
    wxCommandEvent newCommand(wxEVT_MENU, wxID_NEW);
    wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(newCommand);
    ASSERT_TRUE(runUntil([&] { return seen.shown; }));
    EXPECT_EQ(seen.listRows, 5);
    EXPECT_GE(seen.listRowsVisible, 5) << "the last kind is hidden";
    expectCentredOnMainWindow(seen);
    expectContentFits(seen);
}

TEST_F(DialogPlacementTest, NumberRangeSplitAndAboutOpenCentredOnTheMainWindow)
{
    CSearchView* view = openSearchView(wxString::FromUTF8(sourcePath("tests/data/small-export.txt")));
    ASSERT_NE(view, nullptr);
    const struct {
        const char* title;
        std::function<void()> open;
    } dialogs[] = {
        {"Search Objects in range", [view] { view->RunCommand(1039); }},
        {"Split to separat files setup", [view] { view->RunCommand(32788); }},
        {"Quellix - Info",
         [] {
             wxCommandEvent about(wxEVT_MENU, wxID_ABOUT);
             wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(about);
         }},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.title);
        Seen seen;
        inspectDialog(d.title, seen);
        d.open();
        ASSERT_TRUE(runUntil([&] { return seen.shown; }));
        expectCentredOnMainWindow(seen);
        expectContentFits(seen);
        // The window manager cuts a caption wider than the dialog ("Search ...n range").
        wxFont bold = wxGetApp().mainFrame()->GetFont().Bold();
        int captionWidth = 0, height = 0;
        wxGetApp().mainFrame()->GetTextExtent(d.title, &captionWidth, &height, nullptr, nullptr, &bold);
        EXPECT_GE(seen.rect.width, captionWidth + 100);
    }
}

TEST_F(DialogPlacementTest, NeuFollowsTheMainWindowWhenItMovesWhileNeuIsShown)
{
    // At the first start the window manager may maximise the main window after "Neu" was placed.
    Seen seen;
    whenDialogAppears("Neu", [&seen](wxDialog* dialog) {
        wxGetApp().mainFrame()->SetSize(wxRect(200, 120, 800, 600));
        seen.settle = std::make_unique<CLater>([dialog, &seen] {
            seen.shown = true;
            seen.rect = dialog->GetScreenRect();
            dialog->EndModal(wxID_CANCEL);
        });
        seen.settle->StartOnce(400);
    });
    wxCommandEvent newCommand(wxEVT_MENU, wxID_NEW);
    wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(newCommand);
    ASSERT_TRUE(runUntil([&] { return seen.shown; }));
    expectCentredOnMainWindow(seen);
}

TEST_F(DialogPlacementTest, TheMainWindowGetsTheDefaultSizeOnTheDisplayAndAMinimum)
{
    // A frame built like the main window: menu, tool bar, status bar.
    auto* frame = new wxFrame(nullptr, wxID_ANY, "placed");
    auto* menu = new wxMenuBar;
    menu->Append(new wxMenu, "File");
    frame->SetMenuBar(menu);
    frame->CreateToolBar()->Realize();
    frame->CreateStatusBar(4);
    placeMainWindow(*frame);
    frame->Show();
    pump(200);
    wxRect area = wxDisplay(0u).GetClientArea();
    EXPECT_EQ(frame->GetSize(), wxSize(std::min(1024, area.width), std::min(768, area.height)));
    EXPECT_GE(frame->GetMinSize().x, 640);
    EXPECT_GE(frame->GetMinSize().y, 400);
    frame->SetSize(wxSize(200, 60));
    pump(100);
    EXPECT_GE(frame->GetSize().x, 640) << "collapsed below the minimum";
    frame->Destroy();
    pump(50);
}
