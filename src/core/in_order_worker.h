#pragma once
// A second thread for work that comes in parts whose order matters: a
// writer makes every other piece of a file's text on it, and a large sort
// orders half of its runs of ties on it.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "core/result.h"

namespace fulgor {

// Runs the jobs it is given on a thread of its own, one at a time and in the
// order given. At most `waiting` jobs wait at once: giving one more blocks
// until the thread takes one, so that a reader faster than the writer never
// holds more than a few parts. Once a job fails, the jobs waiting and those
// given later are dropped, and that failure is what add() and finish() give.
// An exception a job throws (memory running out) is thrown again by add() or
// finish(), in the thread that gave the jobs. Where the system can make no
// more threads, add() runs each job at once in the giver's thread instead:
// slower, never different.
class InOrderWorker {
public:
    using Job = std::function<Status()>;

    explicit InOrderWorker(std::size_t waiting);
    // Drops the jobs still waiting and waits for the one running, if any:
    // finish() is how the jobs given are all run.
    ~InOrderWorker();
    InOrderWorker(const InOrderWorker&) = delete;
    InOrderWorker& operator=(const InOrderWorker&) = delete;

    // Queues `job`; gives the failure of an earlier job, if one failed (and
    // then drops `job`).
    Status add(Job job);
    // Waits until every job given has run, or one failed; gives that failure.
    Status finish();
    // Gives `job` as add() does, runs `here` in the giver's thread meanwhile,
    // then finishes. The jobs are waited for however `here` ends, by an
    // exception too: for a job that reads what the giver's caller owns, which
    // the exception would take away before the job is done.
    Status alongside(Job job, const std::function<void()>& here);

private:
    void awaitJobs() noexcept;
    void work();
    bool failedLocked() const { return !m_failure.ok() || m_thrown; }
    Status failureLocked() const;

    const std::size_t m_waiting;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    bool m_running = false;  // the thread is running a job it took
    bool m_closing = false;
    Status m_failure;
    std::exception_ptr m_thrown;
    std::thread m_thread;
};

}  // namespace fulgor
