#include "views/TextEditCommands.h"

#include <wx/event.h>
#include <wx/textentry.h>
#include <wx/window.h>

namespace {
wxTextEntry* focusedTextField()
{
    return dynamic_cast<wxTextEntry*>(wxWindow::FindFocus());
}
} // namespace

void bindTextEditCommands(wxEvtHandler& handler, CopyTarget other)
{
    for (int id : {wxID_COPY, wxID_PASTE, wxID_CUT, wxID_UNDO}) {
        const bool copies = id == wxID_COPY && other.hasFocus && other.copy;
        handler.Bind(wxEVT_MENU, [other, copies](wxCommandEvent& event) {
            wxTextEntry* edit = focusedTextField();
            if (edit == nullptr) {
                if (copies && other.hasFocus(wxWindow::FindFocus()))
                    other.copy();
                return;
            }
            switch (event.GetId()) {
            case wxID_COPY: edit->Copy(); break;
            case wxID_PASTE: edit->Paste(); break;
            case wxID_CUT: edit->Cut(); break;
            case wxID_UNDO: edit->Undo(); break;
            default: break;
            }
        }, id);
        handler.Bind(wxEVT_UPDATE_UI, [other, copies](wxUpdateUIEvent& event) {
            event.Enable(focusedTextField() != nullptr || (copies && other.hasFocus(wxWindow::FindFocus())));
        }, id);
    }
}
