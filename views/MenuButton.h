#pragma once

#include <wx/button.h>

#include <functional>

class wxMenu;

// A push button that drops down a menu instead of acting itself; the chosen command goes to the
// button's parent window as if it came from a menu bar.
class CMenuButton : public wxButton {
public:
    CMenuButton(wxWindow* parent, wxWindowID id, const wxString& label, std::function<wxMenu*()> makeMenu,
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);

    // Shows the menu under the button and posts the chosen command; returns its ID (wxID_NONE
    // when the menu was dismissed).
    int ShowMenu();

private:
    void onClick(wxCommandEvent& event);

    std::function<wxMenu*()> m_makeMenu;
};
