#include "views/NumberRangeDialog.h"

#include "layout/DialogValues.h"
#include "views/FormKeyboard.h"
#include "views/Messages.h"
#include "views/TopLevelPlacement.h"
#include "views/ViewContext.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {
enum { IDC_FROM = 1053, IDC_TO = 1054, IDC_OBJECTS = 1057, IDC_TABLE_FIELDS = 1058 };

// Dialog 146: from, to and the two switches of the number range search.
class CNumberRangeDialog : public wxDialog {
public:
    CNumberRangeDialog(IViewContext& context, wxWindow* parent, const NumberRangeSettings& range)
        : wxDialog(parent, 146, "Search Objects in range"), m_context(context)
    {
        auto* grid = new wxFlexGridSizer(2, 6, 8);
        grid->Add(new wxStaticText(this, wxID_STATIC, "No. &from"), 0, wxALIGN_CENTER_VERTICAL);
        m_from = new wxTextCtrl(this, IDC_FROM, wxString::Format("%u", range.from));
        grid->Add(m_from, 1, wxEXPAND);
        grid->Add(new wxStaticText(this, wxID_STATIC, "No. &to"), 0, wxALIGN_CENTER_VERTICAL);
        m_to = new wxTextCtrl(this, IDC_TO, wxString::Format("%u", range.to));
        grid->Add(m_to, 1, wxEXPAND);
        m_objects = new wxCheckBox(this, IDC_OBJECTS, "O&bjects");
        m_objects->SetValue(range.objects);
        m_tableFields = new wxCheckBox(this, IDC_TABLE_FIELDS, "TableF&ields");
        m_tableFields->SetValue(range.tableFields);
        grid->Add(m_objects);
        grid->Add(m_tableFields);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(grid, 1, wxEXPAND | wxALL, 10);
        sizer->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
        SetSizerAndFit(sizer);
        fitAndCentreDialog(*this);
        enableFormKeyboard(*this);
        focusFirstControlOnShow(*this);
        Bind(wxEVT_BUTTON, &CNumberRangeDialog::onOk, this, wxID_OK);
    }

    NumberRangeSettings values;

private:
    void onOk(wxCommandEvent&)
    {
        if (!parseUnsignedField(m_from->GetValue().utf8_string(), values.from) ||
            !parseUnsignedField(m_to->GetValue().utf8_string(), values.to)) {
            m_context.showMessage(this, messages::kPositiveNumber);
            return;
        }
        values.objects = m_objects->GetValue();
        values.tableFields = m_tableFields->GetValue();
        EndModal(wxID_OK);
    }

    IViewContext& m_context;
    wxTextCtrl* m_from;
    wxTextCtrl* m_to;
    wxCheckBox* m_objects;
    wxCheckBox* m_tableFields;
};
} // namespace

bool showNumberRangeDialog(IViewContext& context, wxWindow* parent, NumberRangeSettings& range)
{
    range.read(context.settings());
    CNumberRangeDialog dialog(context, parent, range);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    range = dialog.values;
    range.write(context.settings());
    return true;
}
