#pragma once

#include "model/Status.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// A progress bar's state written by a worker and read by the user-interface thread at its own
// pace, so a walk over 100,000 objects costs no more screen updates than the reader asks for.
class CProgressRelay : public IProgress {
public:
    struct Snapshot {
        int low = 0;
        int high = 0;
        int pos = 0;
    };

    void setRange(int low, int high) override;
    void setPos(int pos) override;
    Snapshot snapshot() const;
    // Tests: hears every position as it is set, on the setting thread (set while no job runs).
    void setObserver(std::function<void(int)> observer) { m_observer = std::move(observer); }
    // True once per change: the reader only redraws when something moved.
    bool takeChanged(Snapshot& out);

private:
    std::atomic<int> m_low{0};
    std::atomic<int> m_high{0};
    std::atomic<int> m_pos{0};
    std::atomic<std::uint64_t> m_version{0};
    std::uint64_t m_seen = 0;
    std::function<void(int)> m_observer;
};

// The latest status line from any thread; the user-interface thread collects it when it likes.
class CStatusRelay : public IStatusText {
public:
    void setStatusText(const std::string& text) override;
    // Gives the latest line if it is newer than the last one taken.
    bool takeNewer(std::string& text);
    // Tests: hears every line as it is set (under the relay's lock), the ones the user-interface
    // thread never takes because a newer one came first included.
    void setObserver(std::function<void(const std::string&)> observer);

private:
    std::function<void(const std::string&)> m_observer;
    std::mutex m_mutex;
    std::string m_text;
    std::uint64_t m_version = 0;
    std::uint64_t m_taken = 0;
};

// One background job at a time. Starting a job, or stop(), sets the running job's cancellation
// flag and joins its thread first: a job is never killed, it returns by itself when it sees the
// flag. The notifications run on the worker thread; they must not wait for the thread that calls
// start() or stop(). A job replaced by the next one is forgotten with its failure.
class CWorkerSlot {
public:
    using Job = std::function<void(const std::atomic<bool>& cancel)>;
    using Notify = std::function<void(int jobId)>;

    CWorkerSlot() = default;
    CWorkerSlot(const CWorkerSlot&) = delete;
    CWorkerSlot& operator=(const CWorkerSlot&) = delete;
    ~CWorkerSlot() { stop(); }

    // Stops the running job, then runs started(id), job(cancel) and finished(id) on a new thread.
    int start(Job job, Notify started, Notify finished);
    void stop();
    bool running() const { return m_running.load(); }
    int currentJob() const { return m_jobId; }
    // The exception a job or its notifications ended by, once; null when none did.
    std::exception_ptr takeFailure();

private:
    void keepFailure(std::exception_ptr failure);

    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_running{false};
    int m_jobId = 0;
    std::mutex m_failureMutex;
    std::exception_ptr m_failure;
};
