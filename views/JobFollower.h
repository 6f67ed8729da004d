#pragma once

#include "jobs/WorkerJob.h"

#include <wx/event.h>
#include <wx/timer.h>

#include <atomic>
#include <functional>

class IViewContext;
class wxGauge;

// Follows a view's worker job on the user-interface thread: the job's start, failure and end come
// back as thread events, a timer brings its progress to the view's gauge at a steady pace, and the
// main window shows the job's status lines while it runs. One job at a time, as CWorkerSlot runs it.
class CJobFollower : public wxEvtHandler {
public:
    struct Handlers {
        std::function<void(bool busy)> busyChanged;           // the wait cursor
        std::function<void()> tick;                           // besides the gauge, at every tick
        std::function<void(const wxString& text)> failed;     // a failure the job reported, or the
                                                              // exception it ended by (before finished)
        std::function<void()> finished;                       // the job started last ended
    };

    CJobFollower() = default;
    // Stops the running job and waits for its thread; touches no window (they may be gone).
    ~CJobFollower() override;

    // Called once the view has its context and gauge (null: no gauge).
    void attach(IViewContext& context, wxGauge* gauge, Handlers handlers);
    // Stops a running job, then runs job on the worker thread; busy at once, until it ends.
    void start(std::function<void(const std::atomic<bool>& cancel)> job);
    // Sets the running job's cancellation flag and waits for its thread; no longer busy.
    void stop();
    // From the worker thread: the failure reaches the failed handler on the user-interface thread.
    void reportFailure(const wxString& text);
    // The job's progress into the gauge, when it changed.
    void syncProgress();

    CProgressRelay& progress() { return m_progress; }
    bool busy() const { return m_busy; }
    bool running() const { return m_worker.running(); }
    int currentJob() const { return m_worker.currentJob(); }
    bool timerRunning() const { return m_timer.IsRunning(); }

private:
    void setBusy(bool busy);
    void post(wxEventType type, int id, const wxString& text = wxString());
    void onStarted(wxThreadEvent& event);
    void onFinished(wxThreadEvent& event);

    IViewContext* m_context = nullptr;
    wxGauge* m_gauge = nullptr;
    Handlers m_handlers;
    CProgressRelay m_progress;
    CWorkerSlot m_worker;
    wxTimer m_timer{this};
    bool m_busy = false;
};
