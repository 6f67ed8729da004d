#include "views/MenuButton.h"

#include <wx/artprov.h>
#include <wx/menu.h>

#include <memory>

CMenuButton::CMenuButton(wxWindow* parent, wxWindowID id, const wxString& label,
                         std::function<wxMenu*()> makeMenu, const wxPoint& pos, const wxSize& size)
    : wxButton(parent, id, label, pos, size), m_makeMenu(std::move(makeMenu))
{
    SetBitmap(wxArtProvider::GetBitmap(wxART_GO_DOWN, wxART_BUTTON, wxSize(12, 12)), wxRIGHT);
    Bind(wxEVT_BUTTON, &CMenuButton::onClick, this);
}

int CMenuButton::ShowMenu()
{
    std::unique_ptr<wxMenu> menu(m_makeMenu());
    int chosen = GetPopupMenuSelectionFromUser(*menu, wxPoint(0, GetSize().y));
    if (chosen != wxID_NONE && GetParent() != nullptr) {
        wxCommandEvent command(wxEVT_MENU, chosen);
        command.SetEventObject(this);
        wxPostEvent(GetParent(), command);
    }
    return chosen;
}

void CMenuButton::onClick(wxCommandEvent&)
{
    ShowMenu();
}
