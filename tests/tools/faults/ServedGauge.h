#pragma once

#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "kestran-gauge/GaugePty.h"
#include "kestran-gauge/GaugeServer.h"

// The virtual gauge program's own server on a pseudo-terminal of its own, run on a thread of
// the test: the tool under test opens Port() as it would a real gauge's port. A gauge that
// hangs up closes its terminal, as the program does.
class CServedGauge : private IGaugeServerEvents {
public:
    explicit CServedGauge(SGaugeFaults faults = {}) : m_server(m_pty, Options(faults), *this) {
        if (m_pty.IsOpen() && pipe(m_stop) == 0) {
            m_thread = std::thread([this] {
                m_end = m_server.Run(m_stop[0]);
                if (m_end == CGaugeServer::EEnd::HungUp)
                    m_pty.HangUp();
                m_ended = true;
            });
        }
    }
    ~CServedGauge() {
        Stop();
        for (int fd : m_stop) {
            if (fd >= 0)
                close(fd);
        }
    }
    CServedGauge(const CServedGauge&) = delete;
    CServedGauge& operator=(const CServedGauge&) = delete;

    bool IsServing() const { return m_thread.joinable() && !m_ended; }
    const std::string& Port() const { return m_pty.SlavePath(); }

    // Ends the serving (if the gauge has not hung up already) and answers how it ended.
    CGaugeServer::EEnd Stop() {
        if (m_thread.joinable()) {
            const char byte = 0;
            (void)!write(m_stop[1], &byte, 1);
            m_thread.join();
        }
        return m_end;
    }

    // What the gauge holds; only once it has stopped.
    const CVirtualGauge& Gauge() const { return m_server.Gauge(); }

    int Lines() const { return m_lines.load(); }
    std::string LastLine() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lastLine;
    }
    int UploadsEnded() const { return m_uploadsEnded.load(); }

private:
    static SGaugeServerOptions Options(SGaugeFaults faults) {
        SGaugeServerOptions options;
        options.faults = faults;
        return options;
    }
    void OnLine(std::string_view line, TimePoint, TimePoint) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lastLine = line;
        ++m_lines;
    }
    void OnUploadEnded(const CVirtualGauge&) override { ++m_uploadsEnded; }

    CGaugePty m_pty;
    CGaugeServer m_server;
    int m_stop[2] = {-1, -1};
    std::thread m_thread;
    std::atomic<bool> m_ended{false};
    CGaugeServer::EEnd m_end = CGaugeServer::EEnd::Stopped;

    mutable std::mutex m_mutex;
    std::string m_lastLine;
    std::atomic<int> m_lines{0};
    std::atomic<int> m_uploadsEnded{0};
};
