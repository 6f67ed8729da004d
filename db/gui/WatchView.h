#pragma once

#include "db/SessionWatch.h"
#include "settings/WatchSettings.h"
#include "results/ResultList.h"
#include "views/BLView.h"

#include <wx/timer.h>

#include <memory>

class CResultListCtrl;
class wxCheckBox;
class wxChoice;
class IViewContext;
class wxTextCtrl;
class wxUpdateUIEvent;

// Message boxes of the watch's database operations; at most one stands open at a time, a
// message that arrives while one is open is only counted.
class CWatchMessageBoxes : public IMessageBoxes {
public:
    // The boxes go through context with parent as their parent; none are shown before.
    void attach(IViewContext& context, wxWindow* parent)
    {
        m_context = &context;
        m_parent = parent;
    }
    void show(const std::string& text, const std::string& caption, MessageIcon icon) override;
    void note(const std::string& text) override;
    void waiting(const std::string& text) override;
    int suppressed() const { return m_suppressed; }

private:
    IViewContext* m_context = nullptr;
    wxWindow* m_parent = nullptr;
    bool m_open = false;
    int m_suppressed = 0;
};

// The session watch (template 133): polls one database on a timer for changed objects and the
// sessions logged in, and appends the objects collected since Start to a log file on Stop.
class CWatchView : public IBLView {
public:
    CWatchView();
    ~CWatchView() override;

    bool OnClose(bool deleteWindow) override;

    // The commands, as the buttons and the "&Watch" menu call them.
    void StartWatch();
    void StopWatch();
    void Setup();
    // One timer period: both requests, or a skip while a request still runs.
    void OnRequestTimer();

    bool IsRunning() const { return m_watch.running(); }
    int RequestInterval() const { return m_requestInterval; }
    const wxString& LogFileName() const { return m_logFileName; }
    CSessionWatch& Watch() { return m_watch; }
    CResultList& ChangedObjects() { return m_changedObjects; }
    CResultList& Sessions() { return m_sessions; }
    CResultListCtrl* ChangedObjectsCtrl() const { return m_objectsCtrl; }
    wxTimer& RequestTimer() { return m_timer; }

protected:
    void ReadSettings() override;
    void CreateControls(wxWindow* form) override;
    void OnInitialUpdate() override;
    CResultListCtrl* PrintedList() override { return m_objectsCtrl; }
    wxString PrintTitle() override { return "WatchView"; }

private:
    void createAnchors();
    void bindCommands();
    void updateData();
    void updateControls();
    void showRequestTexts();
    WatchSettings currentSettings() const;

    void onStart(wxCommandEvent& event);
    void onStop(wxCommandEvent& event);
    void onSetup(wxCommandEvent& event);
    void onBrowse(wxCommandEvent& event);
    void onUpdateStart(wxUpdateUIEvent& event);
    void onUpdateStop(wxUpdateUIEvent& event);
    void onTimer(wxTimerEvent& event);

    wxString m_server;
    wxString m_netType;
    wxString m_programPath;
    wxString m_user;
    wxString m_password; // never stored
    wxString m_logFileName;
    int m_requestInterval = 20;
    WatchScope m_scope; // off each time the view opens
    wxString m_dateLastRequest;
    wxString m_timeLastRequest;
    wxString m_changeCount;

    CResultList m_changedObjects;
    CResultList m_sessions;
    CWatchMessageBoxes m_messages;
    CSystemWatchClock m_clock;
    CSessionWatch m_watch{m_changedObjects, m_sessions, m_messages, m_clock};
    wxTimer m_timer;

    wxTextCtrl* m_serverEdit = nullptr;
    wxChoice* m_netTypeCombo = nullptr;
    wxTextCtrl* m_programPathEdit = nullptr;
    wxTextCtrl* m_userEdit = nullptr;
    wxTextCtrl* m_passwordEdit = nullptr;
    wxCheckBox* m_allTypesCheck = nullptr;
    wxCheckBox* m_deletedCheck = nullptr;
    wxTextCtrl* m_dateEdit = nullptr;
    wxTextCtrl* m_timeEdit = nullptr;
    wxTextCtrl* m_countEdit = nullptr;
    CResultListCtrl* m_objectsCtrl = nullptr;
    CResultListCtrl* m_sessionsCtrl = nullptr;

    wxDECLARE_DYNAMIC_CLASS(CWatchView);
};
