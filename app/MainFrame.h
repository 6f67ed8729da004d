#pragma once

#include <wx/docmdi.h>
#include <wx/timer.h>

class wxDocManager;
class wxMenuBar;

// The application window: menu 128, toolbar, status bar with the message pane and the three lock
// indicators, accelerators, drag and drop of files, About.
class CMainFrame : public wxDocMDIParentFrame {
public:
    explicit CMainFrame(wxDocManager* manager);
    ~CMainFrame() override;

    // The message pane's text (what the status line shows now).
    wxString messageText() const;
    // Shows the newest status line at once instead of at the next tick.
    void flushStatusText();
    // Opens each dropped file as File Open does.
    void openDroppedFiles(const wxArrayString& files);
    // A view's job started (true) or ended (false): the status timer runs only while one runs.
    void FollowJob(bool running);
    bool IsStatusTimerRunning() const { return m_timer.IsRunning(); }
    // Size and position as the settings remember them from the last run (maximised when none are
    // stored), and storing them; the frame stores them itself when it closes.
    void RestorePlacement();
    void SavePlacement();

private:
    void createToolBar();
    void createStatusPanes();
    void setAccelerators();
    void onTimer(wxTimerEvent& event);
    void onIdle(wxIdleEvent& event);
    void onAbout(wxCommandEvent& event);
    void onPrintSetup(wxCommandEvent& event);
    void onToggleBar(wxCommandEvent& event);
    void onUpdateToggleBar(wxUpdateUIEvent& event);
    void onWindowCommand(wxCommandEvent& event);
    void onPane(wxCommandEvent& event);
    void onCharHook(wxKeyEvent& event);
    // Activates the view after (before) the active one, from the last around to the first.
    void activateNeighbour(bool forward);
    void onExit(wxCommandEvent& event);
    void updateIndicators();
    void updateTitle();
    void onMoveOrSize(wxEvent& event);
    void onClose(wxCloseEvent& event);

    wxTimer m_timer;
    int m_jobsRunning = 0;
    wxRect m_restoredRect; // the last size and position while neither maximised nor minimised
};
