#include "app/TopLevelPlacement.h"

#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "layout/WindowPlacement.h"

#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/sizer.h>

#include <algorithm>
#include <memory>

namespace {
LayoutRect toLayout(const wxRect& r)
{
    return {r.x, r.y, r.width, r.height};
}

wxRect toWx(const LayoutRect& r)
{
    return wxRect(r.x, r.y, r.width, r.height);
}

LayoutRect workAreaOf(const wxWindow* window)
{
    int index = window ? wxDisplay::GetFromWindow(window) : wxNOT_FOUND;
    return toLayout(wxDisplay(index == wxNOT_FOUND ? 0u : static_cast<unsigned>(index)).GetClientArea());
}
} // namespace

LayoutRect placeMainWindow(wxFrame& frame, const LayoutRect* remembered)
{
    LayoutRect area = workAreaOf(nullptr);
    frame.SetMinSize(wxSize(std::min(kMainWindowMinWidth, area.width), std::min(kMainWindowMinHeight, area.height)));
    LayoutRect r = restoredMainWindowRect(area, remembered);
    frame.Move(r.x, r.y);
    // The client size, not the outer size: wxGTK then shows the window at once with the content
    // asking for that size. After SetSize it defers the show until the window manager reports its
    // frame extents and lays menu, tool bar and MDI notebook out in the content's natural size of
    // a few pixels first (GTK's CRITICAL warnings at start), which is also the size GTK restores
    // a maximised window to (219 x 67).
    wxSize frameParts = frame.GetSize() - frame.GetClientSize();
    frame.SetClientSize(wxSize(r.width, r.height) - frameParts);
    return r;
}

void keepPlaceWhenShown(wxTopLevelWindow& window, const wxRect& place)
{
    // Once, at the first show: the window manager has placed the window by then.
    auto shown = std::make_shared<bool>(false);
    window.Bind(wxEVT_SHOW, [&window, place, shown](wxShowEvent& event) {
        event.Skip();
        if (!event.IsShown() || *shown)
            return;
        *shown = true;
        window.CallAfter([&window, place] {
            if (window.GetRect() != place)
                window.SetSize(place);
        });
    });
}

void centreOnMainWindow(wxTopLevelWindow& window)
{
    wxWindow* owner = wxGetApp().mainFrame();
    if (owner == nullptr || !owner->IsShown())
        owner = window.GetParent();
    LayoutRect area = workAreaOf(owner);
    LayoutRect around = owner ? toLayout(owner->GetScreenRect()) : area;
    wxSize size = window.GetSize();
    LayoutRect placed = centredOn(around, size.x, size.y, area);
    // Only a move when the size stays: setting the size of a window not yet shown makes wxGTK
    // wait for the window manager's frame extents before showing it.
    if (wxSize(placed.width, placed.height) == size)
        window.Move(placed.x, placed.y);
    else
        window.SetSize(toWx(placed));
    keepPlaceWhenShown(window, toWx(placed));
}

void fitAndCentreDialog(wxDialog& dialog)
{
    if (wxSizer* sizer = dialog.GetSizer())
        sizer->SetSizeHints(&dialog);
    centreOnMainWindow(dialog);
}
