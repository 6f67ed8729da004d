#include "views/SplitDialog.h"

#include "layout/DialogValues.h"
#include "views/FormKeyboard.h"
#include "views/Messages.h"
#include "views/TopLevelPlacement.h"
#include "views/ViewContext.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/dirdlg.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {
enum { IDC_FROM = 1053, IDC_TO = 1054, IDC_BROWSE = 1048, IDC_TARGET = 1086 };

// Dialog 152: from, to and the target folder of the split into files.
class CSplitDialog : public wxDialog {
public:
    CSplitDialog(IViewContext& context, wxWindow* parent, const SplitSettings& split)
        : wxDialog(parent, 152, "Split to separat files setup"), values(split), m_context(context)
    {
        auto* grid = new wxFlexGridSizer(3, 6, 8);
        grid->AddGrowableCol(1);
        m_from = addRow(grid, "No. &from", IDC_FROM, wxString::Format("%d", split.from));
        grid->AddSpacer(0);
        m_to = addRow(grid, "No. &to", IDC_TO, wxString::Format("%d", split.to));
        grid->AddSpacer(0);
        m_target = addRow(grid, "Target &Path:", IDC_TARGET, wxString::FromUTF8(split.targetPath));
        grid->Add(new wxButton(this, IDC_BROWSE, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT));
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(grid, 1, wxEXPAND | wxALL, 10);
        sizer->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
        SetSizerAndFit(sizer);
        SetSize(wxSize(std::max(GetSize().x, 420), GetSize().y));
        centreOnMainWindow(*this);
        enableFormKeyboard(*this);
        focusFirstControlOnShow(*this);
        Bind(wxEVT_BUTTON, &CSplitDialog::onOk, this, wxID_OK);
        Bind(wxEVT_BUTTON, &CSplitDialog::onBrowse, this, IDC_BROWSE);
    }

    SplitSettings values;

private:
    wxTextCtrl* addRow(wxFlexGridSizer* grid, const wxString& label, int id, const wxString& value)
    {
        grid->Add(new wxStaticText(this, wxID_STATIC, label), 0, wxALIGN_CENTER_VERTICAL);
        auto* edit = new wxTextCtrl(this, id, value);
        grid->Add(edit, 1, wxEXPAND);
        return edit;
    }

    void onBrowse(wxCommandEvent&)
    {
        wxDirDialog dialog(this, "Navision Path", m_target->GetValue(), wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
        if (dialog.ShowModal() == wxID_OK && !dialog.GetPath().empty())
            m_target->SetValue(dialog.GetPath());
    }

    void onOk(wxCommandEvent&)
    {
        if (!parseSignedField(m_from->GetValue().utf8_string(), values.from) ||
            !parseSignedField(m_to->GetValue().utf8_string(), values.to)) {
            m_context.showMessage(this, messages::kWholeNumber);
            return;
        }
        values.targetPath = m_target->GetValue().utf8_string();
        EndModal(wxID_OK);
    }

    IViewContext& m_context;
    wxTextCtrl* m_from;
    wxTextCtrl* m_to;
    wxTextCtrl* m_target;
};
} // namespace

bool showSplitDialog(IViewContext& context, wxWindow* parent, SplitSettings& split)
{
    CSplitDialog dialog(context, parent, split);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    split = dialog.values;
    return true;
}
