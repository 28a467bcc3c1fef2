#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "serial/SerialPort.h"

// Shared state of a fake serial line: what the tool wrote, and the bytes the "device"
// has sent that are waiting to be read. Tests keep it after the dialog drops the port.
struct SFakeLine {
    std::mutex mutex;
    std::condition_variable cv;
    std::string written;              // every byte the tool wrote, in order
    std::vector<std::string> writes;  // one entry per Write call
    std::string incoming;             // waiting to be read
    bool failOpen = false;
    std::string failReason;  // what the port says about a failed open
    bool failed = false;  // the line hung up
    int opens = 0;
    std::string openedPath;
    bool open = false;
    bool settingsApplied = false;

    void Send(const std::string& bytes) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            incoming += bytes;
        }
        cv.notify_all();
    }
    void HangUp() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            failed = true;
        }
        cv.notify_all();
    }
    std::vector<std::string> TakeWrites() {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<std::string> out;
        out.swap(writes);
        return out;
    }
};

class CFakeSerialPort : public ISerialPort {
public:
    explicit CFakeSerialPort(std::shared_ptr<SFakeLine> line) : m_line(std::move(line)) {}

    bool Open(const std::string& devicePath) override {
        std::lock_guard<std::mutex> lock(m_line->mutex);
        if (m_line->failOpen)
            return false;
        ++m_line->opens;
        m_line->openedPath = devicePath;
        m_line->open = true;
        return true;
    }
    std::string FailureReason() const override {
        std::lock_guard<std::mutex> lock(m_line->mutex);
        return m_line->failOpen ? m_line->failReason : std::string();
    }
    void DiscardInput() override {
        std::lock_guard<std::mutex> lock(m_line->mutex);
        m_line->incoming.clear();
    }
    void ApplyLineSettings() override {
        std::lock_guard<std::mutex> lock(m_line->mutex);
        m_line->settingsApplied = true;
    }
    uint32_t Write(const void* data, uint32_t n) override {
        std::lock_guard<std::mutex> lock(m_line->mutex);
        if (m_line->failed)
            return 0;
        const std::string bytes(static_cast<const char*>(data), n);
        m_line->written += bytes;
        m_line->writes.push_back(bytes);
        return n;
    }
    int BytesWaiting() override {
        std::lock_guard<std::mutex> lock(m_line->mutex);
        return static_cast<int>(m_line->incoming.size());
    }
    int Read(void* buffer, int max) override {
        std::lock_guard<std::mutex> lock(m_line->mutex);
        const int n = std::min<int>(max, static_cast<int>(m_line->incoming.size()));
        std::memcpy(buffer, m_line->incoming.data(), static_cast<size_t>(n));
        m_line->incoming.erase(0, static_cast<size_t>(n));
        return n;
    }
    WaitResult WaitForInput() override {
        std::unique_lock<std::mutex> lock(m_line->mutex);
        m_line->cv.wait(
            lock, [this] { return m_cancelled || m_line->failed || !m_line->incoming.empty(); });
        if (m_cancelled)
            return WaitResult::Cancelled;
        if (m_line->failed)
            return WaitResult::Failed;
        return WaitResult::Input;
    }
    void CancelWait() override {
        {
            std::lock_guard<std::mutex> lock(m_line->mutex);
            m_cancelled = true;
        }
        m_line->cv.notify_all();
    }
    void Close() override {
        std::lock_guard<std::mutex> lock(m_line->mutex);
        m_line->open = false;
    }

private:
    std::shared_ptr<SFakeLine> m_line;
    bool m_cancelled = false;  // guarded by the line's mutex
};
