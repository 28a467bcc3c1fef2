#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// An auto-reset event: Set wakes one waiter (or the next one to wait), which clears it.
class CEvent {
public:
    CEvent() = default;
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    void SetEvent() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_signalled = true;
        }
        m_cv.notify_one();
    }

    void ResetEvent() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_signalled = false;
    }

    // True when the event was set within the time (and is now cleared), false on time-out.
    bool Lock(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_cv.wait_for(lock, timeout, [this] { return m_signalled; }))
            return false;
        m_signalled = false;
        return true;
    }

    bool IsSignalled() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_signalled;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_signalled = false;
};
