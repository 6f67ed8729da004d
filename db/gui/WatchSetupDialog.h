#pragma once

#include <wx/dialog.h>

class IViewContext;
class wxTextCtrl;

// The watch's setup (template 132, title "Dialog"): the log file name and the request interval,
// which OK accepts only as a whole number from 5 to 3600.
class CWatchSetupDialog : public wxDialog {
public:
    CWatchSetupDialog(IViewContext& context, wxWindow* parent, const wxString& logFileName, int interval);

    const wxString& LogFileName() const { return m_logFileName; }
    int Interval() const { return m_interval; }

private:
    void onOk(wxCommandEvent& event);

    IViewContext& m_context;
    wxString m_logFileName;
    int m_interval;
    wxTextCtrl* m_logFileEdit;
    wxTextCtrl* m_intervalEdit;
};
