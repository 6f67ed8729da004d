#include "views/ObjectTextDialog.h"

#include "model/ObjectRecord.h"
#include "model/ResultLocation.h"
#include "views/AnsiText.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

bool showObjectTextDialog(wxWindow* parent, const CResultLocation& location)
{
    if (location.object == nullptr)
        return false;
    const CObjectRecord& object = *location.object;
    wxString title = fromAnsi(object.headerText()) + " - " + fromAnsi(location.where);
    wxDialog dialog(parent, wxID_ANY, title, wxDefaultPosition, wxSize(900, 640),
                    wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
    auto* text = new wxTextCtrl(&dialog, wxID_ANY, fromAnsi(object.objectText()), wxDefaultPosition,
                                wxDefaultSize, wxTE_MULTILINE | wxTE_READONLY | wxHSCROLL | wxTE_DONTWRAP);
    text->SetFont(wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(text, 1, wxEXPAND | wxALL, 6);
    sizer->Add(dialog.CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
    dialog.SetSizer(sizer);
    long from = location.position - location.objectStart;
    if (from >= 0 && from <= text->GetLastPosition()) {
        text->SetSelection(from, from + static_cast<long>(location.term.size()));
        text->ShowPosition(from);
    }
    return dialog.ShowModal() == wxID_OK;
}
