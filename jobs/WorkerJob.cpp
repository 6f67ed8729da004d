#include "jobs/WorkerJob.h"

#include <utility>

void CProgressRelay::setRange(int low, int high)
{
    m_low.store(low);
    m_high.store(high);
    m_version.fetch_add(1);
}

void CProgressRelay::setPos(int pos)
{
    if (m_pos.exchange(pos) != pos)
        m_version.fetch_add(1);
    if (m_observer)
        m_observer(pos);
}

CProgressRelay::Snapshot CProgressRelay::snapshot() const
{
    return Snapshot{m_low.load(), m_high.load(), m_pos.load()};
}

bool CProgressRelay::takeChanged(Snapshot& out)
{
    std::uint64_t version = m_version.load();
    if (version == m_seen)
        return false;
    m_seen = version;
    out = snapshot();
    return true;
}

void CStatusRelay::setStatusText(const std::string& text)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_text = text;
    ++m_version;
    if (m_observer)
        m_observer(text);
}

void CStatusRelay::setObserver(std::function<void(const std::string&)> observer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_observer = std::move(observer);
}

bool CStatusRelay::takeNewer(std::string& text)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_version == m_taken)
        return false;
    m_taken = m_version;
    text = m_text;
    return true;
}

int CWorkerSlot::start(Job job, Notify started, Notify finished)
{
    stop();
    takeFailure(); // the replaced job's: its results are dropped as well
    int id = ++m_jobId;
    m_cancel.store(false);
    m_running.store(true);
    m_thread = std::thread([this, id, job = std::move(job), started = std::move(started),
                            finished = std::move(finished)] {
        // A job or notification that throws (out of memory, most likely) must not end the thread
        // by an exception: the failure is kept for the thread that started the job.
        try {
            if (started)
                started(id);
            job(m_cancel);
        } catch (...) {
            keepFailure(std::current_exception());
        }
        m_running.store(false);
        try {
            if (finished)
                finished(id);
        } catch (...) {
            keepFailure(std::current_exception());
        }
    });
    return id;
}

void CWorkerSlot::stop()
{
    if (!m_thread.joinable())
        return;
    m_cancel.store(true);
    m_thread.join();
    m_running.store(false);
}

void CWorkerSlot::keepFailure(std::exception_ptr failure)
{
    std::lock_guard<std::mutex> lock(m_failureMutex);
    if (!m_failure)
        m_failure = std::move(failure);
}

std::exception_ptr CWorkerSlot::takeFailure()
{
    std::lock_guard<std::mutex> lock(m_failureMutex);
    return std::exchange(m_failure, nullptr);
}
