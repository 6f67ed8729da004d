#include "db/gui/WatchSetupDialog.h"

#include "resources/ResourceIds.h"
#include "settings/WatchSettings.h"
#include "views/FormKeyboard.h"
#include "views/Messages.h"
#include "views/TopLevelPlacement.h"
#include "views/ViewContext.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

CWatchSetupDialog::CWatchSetupDialog(IViewContext& context, wxWindow* parent, const wxString& logFileName,
                                     int interval)
    : wxDialog(parent, rid::IDD_WATCH_SETUP, "Dialog"), m_context(context), m_logFileName(logFileName),
      m_interval(interval)
{
    auto* grid = new wxFlexGridSizer(2, 6, 8);
    grid->AddGrowableCol(1);
    grid->Add(new wxStaticText(this, wxID_STATIC, "&LogFile:"), 0, wxALIGN_CENTER_VERTICAL);
    m_logFileEdit = new wxTextCtrl(this, rid::IDC_WATCH_LOG_FILE, logFileName, wxDefaultPosition, wxSize(320, -1));
    grid->Add(m_logFileEdit, 1, wxEXPAND);
    grid->Add(new wxStaticText(this, wxID_STATIC, "Timer &interval:"), 0, wxALIGN_CENTER_VERTICAL);
    m_intervalEdit = new wxTextCtrl(this, rid::IDC_WATCH_INTERVAL, wxString::Format("%d", interval));
    grid->Add(m_intervalEdit, 0);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(grid, 1, wxEXPAND | wxALL, 10);
    sizer->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(sizer);
    fitAndCentreDialog(*this);
    enableFormKeyboard(*this);
    focusFirstControlOnShow(*this);
    Bind(wxEVT_BUTTON, &CWatchSetupDialog::onOk, this, wxID_OK);
}

void CWatchSetupDialog::onOk(wxCommandEvent&)
{
    int interval = 0;
    IntervalCheck check = checkWatchInterval(m_intervalEdit->GetValue().utf8_string(), interval);
    if (check != IntervalCheck::Ok) {
        m_context.showMessage(this, check == IntervalCheck::NotWhole
                                        ? wxString(messages::kWholeNumber)
                                        : messages::wholeNumberBetween(kWatchIntervalMin, kWatchIntervalMax));
        m_intervalEdit->SetFocus();
        return;
    }
    m_interval = interval;
    m_logFileName = m_logFileEdit->GetValue();
    EndModal(wxID_OK);
}
