#include "views/JobFollower.h"

#include "views/Messages.h"
#include "views/ViewContext.h"

#include <wx/gauge.h>

#include <algorithm>

namespace {
wxDEFINE_EVENT(EVT_JOB_STARTED, wxThreadEvent);
wxDEFINE_EVENT(EVT_JOB_FAILED, wxThreadEvent);
wxDEFINE_EVENT(EVT_JOB_FINISHED, wxThreadEvent);
constexpr int kJobTickMs = 50; // progress and rows follow a job at most 20 times a second
} // namespace

CJobFollower::~CJobFollower()
{
    m_worker.stop();
    m_timer.Stop();
    if (m_busy && m_context != nullptr)
        m_context->followJob(false);
}

void CJobFollower::attach(IViewContext& context, wxGauge* gauge, Handlers handlers)
{
    m_context = &context;
    m_gauge = gauge;
    m_handlers = std::move(handlers);
    Bind(EVT_JOB_STARTED, &CJobFollower::onStarted, this);
    Bind(EVT_JOB_FINISHED, &CJobFollower::onFinished, this);
    Bind(EVT_JOB_FAILED, [this](wxThreadEvent& event) {
        // after thread jump
        if (m_handlers.failed)
            m_handlers.failed(event.GetString());
    });
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        // after thread jump: the job's progress and rows, collected at the timer's pace
        if (m_handlers.tick)
            m_handlers.tick();
        syncProgress();
    });
}

void CJobFollower::post(wxEventType type, int id, const wxString& text)
{
    auto* event = new wxThreadEvent(type);
    event->SetInt(id);
    event->SetString(text.Clone()); // a copy of its own: the string crosses threads
    wxQueueEvent(this, event);
}

void CJobFollower::start(std::function<void(const std::atomic<bool>& cancel)> job)
{
    m_worker.start(std::move(job),
                   [this](int id) { post(EVT_JOB_STARTED, id); }, // before thread jump
                   [this](int id) { post(EVT_JOB_FINISHED, id); });
    setBusy(true);
    m_timer.Start(kJobTickMs);
}

void CJobFollower::reportFailure(const wxString& text)
{
    // before thread jump
    post(EVT_JOB_FAILED, m_worker.currentJob(), text);
}

void CJobFollower::stop()
{
    m_worker.stop();
    setBusy(false);
}

void CJobFollower::setBusy(bool busy)
{
    if (!busy)
        m_timer.Stop();
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (!busy && m_gauge != nullptr)
        m_gauge->SetValue(0);
    if (m_context != nullptr)
        m_context->followJob(busy);
    if (m_handlers.busyChanged)
        m_handlers.busyChanged(busy);
}

void CJobFollower::onStarted(wxThreadEvent& event)
{
    // after thread jump
    if (event.GetInt() == m_worker.currentJob() && m_worker.running())
        setBusy(true);
}

void CJobFollower::onFinished(wxThreadEvent& event)
{
    // after thread jump
    if (event.GetInt() != m_worker.currentJob())
        return; // a replaced job: its successor reports
    m_worker.stop();
    setBusy(false);
    // A job that ended by an exception (out of memory, most likely) failed as one that said so.
    if (std::exception_ptr failure = m_worker.takeFailure(); failure && m_handlers.failed)
        m_handlers.failed(messages::exceptionMessage(failure));
    if (m_handlers.finished)
        m_handlers.finished();
}

void CJobFollower::syncProgress()
{
    CProgressRelay::Snapshot progress;
    if (m_gauge == nullptr || !m_progress.takeChanged(progress))
        return;
    const int range = std::max(1, progress.high - progress.low);
    if (m_gauge->GetRange() != range)
        m_gauge->SetRange(range);
    m_gauge->SetValue(std::clamp(progress.pos - progress.low, 0, range));
}
