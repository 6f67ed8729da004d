#include "db/gui/MarkObjectsDialog.h"

#include "views/TopLevelPlacement.h"
#include "resources/ResourceIds.h"

#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

void showMarkObjectsDialog(wxWindow* parent, const wxString headings[2], const std::string filters[2])
{
    wxDialog dialog(parent, wxID_ANY, "mark Objects in DBs", wxDefaultPosition, wxDefaultSize,
                    wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    const int textIds[2] = {rid::IDC_MARK_FILTER1, rid::IDC_MARK_FILTER2};
    const int copyIds[2] = {rid::IDC_MARK_COPY1, rid::IDC_MARK_COPY2};
    for (int n = 0; n < 2; ++n) {
        wxString filter = wxString::FromUTF8(filters[n]);
        wxString heading = headings[n] + (filter.empty() ? wxString(": no objects listed") : wxString(":"));
        sizer->Add(new wxStaticText(&dialog, wxID_STATIC, heading), 0, wxLEFT | wxRIGHT | wxTOP, 10);
        auto* text = new wxTextCtrl(&dialog, textIds[n], filter, wxDefaultPosition, wxSize(560, 110),
                                    wxTE_MULTILINE | wxTE_READONLY | wxHSCROLL);
        sizer->Add(text, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
        auto* copy = new wxButton(&dialog, copyIds[n], "Copy");
        copy->Enable(!filter.empty());
        copy->Bind(wxEVT_BUTTON, [filter](wxCommandEvent&) {
            wxClipboardLocker locker;
            if (!!locker) {
                wxTheClipboard->SetData(new wxTextDataObject(filter));
                wxTheClipboard->Flush();
            }
        });
        sizer->Add(copy, 0, wxLEFT | wxTOP, 10);
    }
    sizer->Add(dialog.CreateStdDialogButtonSizer(wxCLOSE), 0, wxEXPAND | wxALL, 10);
    dialog.SetEscapeId(wxID_CLOSE);
    dialog.Bind(wxEVT_BUTTON, [&dialog](wxCommandEvent&) { dialog.EndModal(wxID_CLOSE); }, wxID_CLOSE);
    dialog.SetSizerAndFit(sizer);
    fitAndCentreDialog(dialog);
    dialog.ShowModal();
}
