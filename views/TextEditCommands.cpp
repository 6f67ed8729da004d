#include "views/TextEditCommands.h"

#include <wx/event.h>
#include <wx/textctrl.h>
#include <wx/window.h>

namespace {
wxTextCtrl* focusedTextField()
{
    return wxDynamicCast(wxWindow::FindFocus(), wxTextCtrl);
}
} // namespace

void bindTextEditCommands(wxEvtHandler& handler)
{
    for (int id : {wxID_COPY, wxID_PASTE, wxID_CUT, wxID_UNDO}) {
        handler.Bind(wxEVT_MENU, [](wxCommandEvent& event) {
            wxTextCtrl* edit = focusedTextField();
            if (edit == nullptr)
                return;
            switch (event.GetId()) {
            case wxID_COPY: edit->Copy(); break;
            case wxID_PASTE: edit->Paste(); break;
            case wxID_CUT: edit->Cut(); break;
            case wxID_UNDO: edit->Undo(); break;
            default: break;
            }
        }, id);
        handler.Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(focusedTextField() != nullptr); }, id);
    }
}
