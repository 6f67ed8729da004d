#include "db/gui/WatchView.h"

#include "db/gui/DatabaseWait.h"
#include "db/gui/WatchSetupDialog.h"
#include "resources/ResourceIds.h"
#include "views/ResultListCtrl.h"
#include "views/TextEditCommands.h"
#include "views/ViewContext.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dirdlg.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

wxIMPLEMENT_DYNAMIC_CLASS(CWatchView, IBLView);

using namespace rid;

namespace {
const wxSize kTemplateSize(486, 272);
} // namespace

void CWatchMessageBoxes::show(const std::string& text, const std::string& caption, MessageIcon icon)
{
    if (m_context == nullptr)
        return;
    if (m_open) {
        ++m_suppressed;
        return;
    }
    m_open = true;
    long style = wxOK | (icon == MessageIcon::Error ? wxICON_ERROR
                         : icon == MessageIcon::Information ? wxICON_INFORMATION : 0);
    m_context->showMessageBox(m_parent, wxString::FromUTF8(text), wxString::FromUTF8(caption), style);
    m_open = false;
}

void CWatchMessageBoxes::note(const std::string& text)
{
    if (m_context != nullptr)
        m_context->statusRelay().setStatusText(text);
}

void CWatchMessageBoxes::waiting(const std::string& text)
{
    if (m_context != nullptr)
        CDatabaseOperation::showWait(*m_context, text);
}

CWatchView::CWatchView() : IBLView(IDD_WATCHVIEW, IDR_WATCHVIEW, kTemplateSize), m_timer(this, ID_WATCH_TIMER)
{
    Bind(wxEVT_TIMER, &CWatchView::onTimer, this, ID_WATCH_TIMER);
    bindCommands();
}

void CWatchView::ReadSettings()
{
    WatchSettings settings;
    settings.read(Context().settings());
    m_requestInterval = settings.requestInterval;
    m_logFileName = wxString::FromUTF8(settings.logFileName);
    m_programPath = wxString::FromUTF8(settings.programPath);
    m_netType = wxString::FromUTF8(settings.netType);
    m_user = wxString::FromUTF8(settings.user);
    m_server = wxString::FromUTF8(settings.server);
}

CWatchView::~CWatchView()
{
    m_timer.Stop();
    if (HasContext())
        currentSettings().write(Context().settings());
}

WatchSettings CWatchView::currentSettings() const
{
    return WatchSettings{m_requestInterval,         m_logFileName.utf8_string(), m_programPath.utf8_string(),
                         m_netType.utf8_string(),   m_user.utf8_string(),        m_server.utf8_string()};
}

void CWatchView::CreateControls(wxWindow* form)
{
    auto label = [&](const wxString& text, const wxRect& r, int id = wxID_STATIC) {
        new wxStaticText(form, id, text, r.GetPosition(), r.GetSize());
    };
    auto edit = [&](int id, const wxRect& r, long style = 0) {
        return new wxTextCtrl(form, id, wxString(), r.GetPosition(), r.GetSize(), style);
    };
    auto button = [&](int id, const wxString& text, const wxRect& r) {
        return new wxButton(form, menuIdOf(id), text, r.GetPosition(), r.GetSize());
    };

    button(ID_WATCH_START, "&Start", DialogRect(7, 7, 50, 14));
    button(ID_WATCH_STOP, "St&op", DialogRect(61, 7, 50, 14));
    auto check = [&](int id, const wxString& text, const wxRect& r) {
        return new wxCheckBox(form, id, text, r.GetPosition(), r.GetSize());
    };
    m_allTypesCheck = check(IDC_WATCH_ALL_TYPES, "&all object types", DialogRect(124, 9, 80, 10));
    m_deletedCheck = check(IDC_WATCH_DELETED, "report &deleted objects", DialogRect(210, 9, 100, 10));

    label("Ser&ver:", DialogRect(7, 30, 40, 8));
    m_serverEdit = edit(IDC_WATCH_SERVER, DialogRect(50, 28, 110, 12));
    wxRect netRect = DialogRect(164, 27, 44, 14);
    const wxString netTypes[] = {"tcp", "netb"};
    m_netTypeCombo = new wxChoice(form, IDC_WATCH_NET_TYPE, netRect.GetPosition(), netRect.GetSize(),
                                  WXSIZEOF(netTypes), netTypes);
    label("&Programpath:", DialogRect(216, 30, 48, 8));
    m_programPathEdit = edit(IDC_WATCH_PROGRAM_PATH, DialogRect(266, 28, 192, 12));
    button(IDC_WATCH_BROWSE, "...", DialogRect(462, 27, 18, 14));

    label("&User:", DialogRect(7, 48, 40, 8));
    m_userEdit = edit(IDC_WATCH_USER, DialogRect(50, 46, 110, 12));
    label("Pass&word:", DialogRect(216, 48, 48, 8));
    m_passwordEdit = edit(IDC_WATCH_PASSWORD, DialogRect(266, 46, 110, 12), wxTE_PASSWORD);

    ISettingsStore* layout = &Context().settings();
    m_objectsCtrl = new CResultListCtrl(form, IDC_WATCH_OBJECTS, m_changedObjects, layout, DialogRect(7, 64, 318, 180));
    m_sessionsCtrl = new CResultListCtrl(form, IDC_WATCH_SESSIONS, m_sessions, layout, DialogRect(330, 64, 150, 180));

    label("Date last request", DialogRect(7, 254, 62, 8), IDC_WATCH_DATE_LABEL);
    m_dateEdit = edit(IDC_WATCH_DATE, DialogRect(70, 252, 150, 12), wxTE_READONLY);
    label("Time last request", DialogRect(228, 254, 62, 8), IDC_WATCH_TIME_LABEL);
    m_timeEdit = edit(IDC_WATCH_TIME, DialogRect(292, 252, 50, 12), wxTE_READONLY);
    label("changecount", DialogRect(352, 254, 46, 8), IDC_WATCH_CHANGE_COUNT_LABEL);
    m_countEdit = edit(IDC_WATCH_CHANGE_COUNT, DialogRect(400, 252, 40, 12), wxTE_READONLY);

    createAnchors();
}

void CWatchView::createAnchors()
{
    // The changed objects have the longer rows: they take the spare width.
    AddAnchor(Anchor::GrowBoth, IDC_WATCH_OBJECTS);
    AddAnchor(Anchor::MoveRightGrowHeight, IDC_WATCH_SESSIONS);
    AddAnchor(Anchor::GrowWidth, IDC_WATCH_PROGRAM_PATH);
    AddAnchor(Anchor::MoveRight, IDC_WATCH_BROWSE);
    for (int id : {IDC_WATCH_DATE, IDC_WATCH_TIME, IDC_WATCH_CHANGE_COUNT, IDC_WATCH_DATE_LABEL,
                   IDC_WATCH_TIME_LABEL, IDC_WATCH_CHANGE_COUNT_LABEL})
        AddAnchor(Anchor::MoveDown, id);
}

void CWatchView::OnInitialUpdate()
{
    m_messages.attach(Context(), GetFrame());
    addChangedObjectColumns(m_changedObjects);
    addSessionColumns(m_sessions);
    m_objectsCtrl->SyncFromList();
    m_sessionsCtrl->SyncFromList();
    // The heading "DBM TableNo." needs more than the column's 80 pixels in the usual fonts.
    const int headingWidth = m_objectsCtrl->GetTextExtent("DBM TableNo.").x + m_objectsCtrl->FromDIP(16);
    if (m_objectsCtrl->GetColumnWidth(WOC_DBM_TABLE) < headingWidth)
        m_objectsCtrl->SetColumnWidth(WOC_DBM_TABLE, headingWidth);
    updateControls();
}

void CWatchView::bindCommands()
{
    // Buttons reach the view through the form; menu commands through the frame's routing.
    for (auto type : {wxEVT_BUTTON, wxEVT_MENU}) {
        Bind(type, &CWatchView::onStart, this, menuIdOf(ID_WATCH_START));
        Bind(type, &CWatchView::onStop, this, menuIdOf(ID_WATCH_STOP));
    }
    Bind(wxEVT_MENU, &CWatchView::onSetup, this, menuIdOf(ID_WATCH_SETUP));
    Bind(wxEVT_BUTTON, &CWatchView::onBrowse, this, IDC_WATCH_BROWSE);
    Bind(wxEVT_UPDATE_UI, &CWatchView::onUpdateStart, this, menuIdOf(ID_WATCH_START));
    Bind(wxEVT_UPDATE_UI, &CWatchView::onUpdateStop, this, menuIdOf(ID_WATCH_STOP));
    // Ctrl+C with the focus in one of the lists copies its selected rows (every row when none is).
    auto focusedList = [this](wxWindow* focus) -> CResultListCtrl* {
        for (CResultListCtrl* list : {m_objectsCtrl, m_sessionsCtrl})
            if (list != nullptr && list->HasFocusIn(focus))
                return list;
        return nullptr;
    };
    bindTextEditCommands(*this, CopyTarget{[focusedList](wxWindow* focus) { return focusedList(focus) != nullptr; },
                                           [focusedList] {
                                               if (CResultListCtrl* list = focusedList(wxWindow::FindFocus()))
                                                   list->CopySelectedRows();
                                           }});
}

void CWatchView::updateData()
{
    m_server = m_serverEdit->GetValue();
    m_netType = m_netTypeCombo->GetStringSelection();
    m_programPath = m_programPathEdit->GetValue();
    m_user = m_userEdit->GetValue();
    m_password = m_passwordEdit->GetValue();
    m_scope.allTypes = m_allTypesCheck->GetValue();
    m_scope.reportDeleted = m_deletedCheck->GetValue();
}

void CWatchView::updateControls()
{
    m_serverEdit->ChangeValue(m_server);
    m_netTypeCombo->SetStringSelection(m_netType);
    m_programPathEdit->ChangeValue(m_programPath);
    m_userEdit->ChangeValue(m_user);
    m_passwordEdit->ChangeValue(m_password);
    m_allTypesCheck->SetValue(m_scope.allTypes);
    m_deletedCheck->SetValue(m_scope.reportDeleted);
    m_dateEdit->ChangeValue(m_dateLastRequest);
    m_timeEdit->ChangeValue(m_timeLastRequest);
    m_countEdit->ChangeValue(m_changeCount);
}

void CWatchView::StartWatch()
{
    if (m_watch.running())
        return;
    updateData();
    DatabaseConnection connection{m_server.utf8_string(),   m_netType.utf8_string(), "", m_user.utf8_string(),
                                  m_password.utf8_string(), m_programPath.utf8_string()};
    std::string problem;
    if (!credentialsToAnsi(connection, problem)) {
        Context().showMessageBox(GetFrame(), wxString::FromUTF8(problem), "Error", wxOK | wxICON_ERROR);
        return;
    }
    {
        CDatabaseOperation operation; // reporting deleted objects reads the objects present now
        m_watch.Start(connection, m_scope);
    }
    m_objectsCtrl->SyncFromList();
    m_timer.Start(m_requestInterval * 1000);
}

void CWatchView::StopWatch()
{
    if (!m_watch.running())
        return;
    m_timer.Stop();
    bool logWritten = false;
    m_watch.Stop(m_logFileName.utf8_string(), &logWritten);
    if (!m_logFileName.empty() && !logWritten)
        Context().statusRelay().setStatusText("WatchView: the log file " + m_logFileName.utf8_string() +
                                               " could not be written");
}

void CWatchView::OnRequestTimer()
{
    if (!m_watch.running())
        return;
    if (m_watch.requestRunning()) {
        m_watch.Tick(); // counts the skip
        Context().statusRelay().setStatusText("WatchView: " + std::to_string(m_watch.skippedTicks()) +
                                               " request(s) skipped while a request was still running");
        return;
    }
    CDatabaseOperation operation;
    int before = m_changedObjects.GetRowCount();
    if (m_watch.RequestChangedObjects() >= 0) {
        m_objectsCtrl->SyncFromList();
        if (m_changedObjects.GetRowCount() > before)
            m_objectsCtrl->EnsureVisible(m_changedObjects.GetRowCount() - 1);
        showRequestTexts();
    }
    if (m_watch.RequestSessions())
        m_sessionsCtrl->SyncFromList();
}

void CWatchView::showRequestTexts()
{
    m_changeCount = wxString::Format("%d", m_changedObjects.GetRowCount());
    m_dateLastRequest = wxString::FromUTF8(CSessionWatch::requestDateText(m_watch.lastRequestTime()));
    m_timeLastRequest = wxString::FromUTF8(CSessionWatch::requestTimeText(m_watch.lastRequestTime()));
    m_dateEdit->ChangeValue(m_dateLastRequest);
    m_timeEdit->ChangeValue(m_timeLastRequest);
    m_countEdit->ChangeValue(m_changeCount);
}

void CWatchView::Setup()
{
    CWatchSetupDialog dialog(Context(), GetFrame(), m_logFileName, m_requestInterval);
    if (dialog.ShowModal() != wxID_OK)
        return;
    m_logFileName = dialog.LogFileName();
    m_requestInterval = dialog.Interval(); // takes effect at the next Start
}

bool CWatchView::OnClose(bool deleteWindow)
{
    // A running watch ends as Stop ends it, so the objects collected since Start reach the log.
    StopWatch();
    if (m_serverEdit != nullptr) {
        updateData();
        m_password.clear();
    }
    return IBLView::OnClose(deleteWindow);
}

void CWatchView::onStart(wxCommandEvent&)
{
    StartWatch();
}

void CWatchView::onStop(wxCommandEvent&)
{
    StopWatch();
}

void CWatchView::onSetup(wxCommandEvent&)
{
    Setup();
}

void CWatchView::onBrowse(wxCommandEvent&)
{
    wxDirDialog dialog(GetFrame(), "Navision Path", m_programPathEdit->GetValue(), wxDD_DEFAULT_STYLE);
    if (dialog.ShowModal() != wxID_OK || dialog.GetPath().empty())
        return;
    m_programPath = dialog.GetPath();
    m_programPathEdit->ChangeValue(m_programPath);
}

void CWatchView::onUpdateStart(wxUpdateUIEvent& event)
{
    event.Enable(!m_watch.running());
}

void CWatchView::onUpdateStop(wxUpdateUIEvent& event)
{
    event.Enable(m_watch.running());
}

void CWatchView::onTimer(wxTimerEvent&)
{
    OnRequestTimer();
}
