#include "views/TopLevelPlacement.h"

#include "layout/WindowPlacement.h"

#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/weakref.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {
wxWeakRef<wxWindow> g_mainWindow; // the user-interface thread's alone

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

void setMainWindow(wxWindow* window)
{
    g_mainWindow = window;
}

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

namespace {
wxWindow* ownerOf(const wxTopLevelWindow& window)
{
    wxWindow* owner = g_mainWindow.get();
    if (owner == nullptr || !owner->IsShown())
        owner = window.GetParent();
    return owner;
}

wxRect centredPlace(const wxTopLevelWindow& window, const wxWindow* owner)
{
    LayoutRect area = workAreaOf(owner);
    LayoutRect around = owner ? toLayout(owner->GetScreenRect()) : area;
    wxSize size = window.GetSize();
    return toWx(centredOn(around, size.x, size.y, area));
}

void recentre(wxTopLevelWindow& window)
{
    wxRect placed = centredPlace(window, ownerOf(window));
    if (window.GetRect() != placed)
        window.SetSize(placed);
}

// The windows centred on the main window, which follow it while they are shown.
std::vector<wxWeakRef<wxTopLevelWindow>>& centredWindows()
{
    static std::vector<wxWeakRef<wxTopLevelWindow>> windows;
    return windows;
}
} // namespace

void centreOnMainWindow(wxTopLevelWindow& window)
{
    wxRect placed = centredPlace(window, ownerOf(window));
    // Only a move when the size stays: setting the size of a window not yet shown makes wxGTK
    // wait for the window manager's frame extents before showing it.
    if (placed.GetSize() == window.GetSize())
        window.Move(placed.GetPosition());
    else
        window.SetSize(placed);
    keepPlaceWhenShown(window, placed);
    auto& windows = centredWindows();
    windows.erase(std::remove_if(windows.begin(), windows.end(), [](const auto& w) { return !w; }), windows.end());
    windows.emplace_back(&window);
}

void followMainWindow()
{
    // At the first start the window manager maximises the main window when it likes, also after
    // "Neu" has been centred on it.
    for (const wxWeakRef<wxTopLevelWindow>& window : centredWindows())
        if (window && window->IsShown())
            recentre(*window);
}

bool placeRemembered(wxTopLevelWindow& window, const wxRect& remembered)
{
    const int display = wxDisplay::GetFromPoint(remembered.GetTopLeft() + wxPoint(20, 20));
    if (display == wxNOT_FOUND)
        return false;
    LayoutRect area = toLayout(wxDisplay(static_cast<unsigned>(display)).GetClientArea());
    wxRect place = toWx(keptInside(toLayout(remembered), area));
    window.SetSize(place);
    keepPlaceWhenShown(window, place);
    return true;
}

void fitAndCentreDialog(wxDialog& dialog)
{
    if (wxSizer* sizer = dialog.GetSizer())
        sizer->SetSizeHints(&dialog);
    // The window manager cuts a caption wider than the dialog in its middle ("Search ...n range"):
    // room for the caption in a bold font and the frame's icon and buttons.
    wxFont bold = dialog.GetFont().Bold();
    int textWidth = 0, textHeight = 0;
    dialog.GetTextExtent(dialog.GetTitle(), &textWidth, &textHeight, nullptr, nullptr, &bold);
    const int captionWidth = textWidth * 5 / 4 + 120;
    if (dialog.GetSize().x < captionWidth) {
        dialog.SetMinSize(wxSize(captionWidth, dialog.GetMinSize().y));
        dialog.SetSize(wxSize(captionWidth, dialog.GetSize().y));
    }
    centreOnMainWindow(dialog);
}
