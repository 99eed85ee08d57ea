#include "core/in_order_worker.h"

#include <system_error>
#include <utility>

namespace fulgor {

InOrderWorker::InOrderWorker(std::size_t waiting) : m_waiting(waiting < 1 ? 1 : waiting) {
    try {
        m_thread = std::thread([this] { work(); });
    } catch (const std::system_error&) {
        // No thread to be had (a limit on threads or memory): the jobs run in add().
    }
}

InOrderWorker::~InOrderWorker() {
    if (!m_thread.joinable()) return;
    {
        std::lock_guard lock(m_mutex);
        m_jobs.clear();
        m_closing = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

Status InOrderWorker::failureLocked() const {
    if (m_thrown) std::rethrow_exception(m_thrown);
    return m_failure;
}

Status InOrderWorker::add(Job job) {
    if (!m_thread.joinable()) {
        // No other thread touches the state: no lock is needed.
        if (failedLocked()) return failureLocked();
        m_failure = job();
        return {};
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.size() < m_waiting || failedLocked(); });
    if (failedLocked()) return failureLocked();
    m_jobs.push_back(std::move(job));
    lock.unlock();
    m_changed.notify_all();
    return {};
}

Status InOrderWorker::finish() {
    awaitJobs();
    std::lock_guard lock(m_mutex);
    return failureLocked();
}

Status InOrderWorker::alongside(Job job, const std::function<void()>& here) {
    static_cast<void>(add(std::move(job)));
    try {
        here();
    } catch (...) {
        awaitJobs();
        throw;
    }
    return finish();
}

void InOrderWorker::awaitJobs() noexcept {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return (m_jobs.empty() && !m_running) || failedLocked(); });
}

void InOrderWorker::work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_jobs.empty() || m_closing; });
        if (m_jobs.empty()) return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_running = true;
        lock.unlock();
        m_changed.notify_all();
        Status status;
        std::exception_ptr thrown;
        try {
            status = job();
        } catch (...) {
            thrown = std::current_exception();
        }
        job = nullptr;
        lock.lock();
        m_running = false;
        if (thrown || !status.ok()) {
            m_thrown = thrown;
            m_failure = std::move(status);
            m_jobs.clear();
        }
        m_changed.notify_all();
    }
}

}  // namespace fulgor
