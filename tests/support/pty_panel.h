#pragma once
// A firing panel on the far end of a pseudo-terminal pair: the program opens
// device(), and the panel reads every byte that arrives on the other end, can
// answer, and can hang up.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

namespace fulgor::test {

class PtyPanel {
public:
    // Hangs up (closes its end) once `hangUpAfter` bytes have arrived; never when 0.
    explicit PtyPanel(std::size_t hangUpAfter = 0) : m_hangUpAfter(hangUpAfter) {
        char name[256] = {};
        m_ok = ::openpty(&m_master, &m_slave, name, nullptr, nullptr) == 0;
        m_device = name;
        if (!m_ok) return;
        // A program started by the test must not inherit the panel's end, or
        // hanging up would leave it open. The slave end stays open here too, so
        // the pair does not hang up between the program's opens and closes.
        ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
        ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
        m_reader = std::thread([this] { readLoop(); });
    }
    ~PtyPanel() {
        m_stop = true;
        if (m_reader.joinable()) m_reader.join();
        if (m_master >= 0) ::close(m_master);
        if (m_slave >= 0) ::close(m_slave);
    }
    PtyPanel(const PtyPanel&) = delete;
    PtyPanel& operator=(const PtyPanel&) = delete;

    bool ok() const { return m_ok; }
    const std::string& device() const { return m_device; }

    std::string received() const {
        std::lock_guard lock(m_mutex);
        return m_received;
    }
    std::size_t receivedBytes() const {
        std::lock_guard lock(m_mutex);
        return m_received.size();
    }

    // Waits until `count` bytes have arrived; gives up after half a minute so a
    // broken build cannot hang the suite (a guard, not a measure of speed).
    bool waitFor(std::size_t count) const {
        for (int i = 0; i < 3000; ++i) {
            if (received().size() >= count) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // The panel stops taking bytes (and takes them again): what the program
    // writes then piles up in the pseudo-terminal until its buffer is full.
    void stopReading() { m_paused = true; }
    void resumeReading() { m_paused = false; }

    // What the panel sends back.
    void answer(std::string_view bytes) {
        [[maybe_unused]] ssize_t written = ::write(m_master, bytes.data(), bytes.size());
    }

private:
    void readLoop() {
        char buffer[4096];
        while (!m_stop) {
            pollfd fd{m_master, POLLIN, 0};
            if (m_paused) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            if (::poll(&fd, 1, 20) <= 0 || !(fd.revents & POLLIN)) continue;
            ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0) continue;
            std::lock_guard lock(m_mutex);
            m_received.append(buffer, static_cast<std::size_t>(n));
            if (m_hangUpAfter > 0 && m_received.size() >= m_hangUpAfter) {
                ::close(m_master);
                m_master = -1;
                return;
            }
        }
    }

    bool m_ok = false;
    int m_master = -1;
    int m_slave = -1;
    std::string m_device;
    std::size_t m_hangUpAfter;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_paused{false};
    mutable std::mutex m_mutex;
    std::string m_received;
    std::thread m_reader;
};

}  // namespace fulgor::test
