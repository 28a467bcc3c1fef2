#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "kestran-gauge/GaugeServerThread.h"

// The virtual gauge program's own server on a thread of the test, counting the lines it
// reads, the replies it sends and the uploads it sees end.
class CServedGauge : private IGaugeServerEvents {
public:
    explicit CServedGauge(SGaugeFaults faults = {})
        : m_served(SGaugeServerOptions{.faults = faults}, *this) {}
    CServedGauge(const CServedGauge&) = delete;
    CServedGauge& operator=(const CServedGauge&) = delete;

    bool IsServing() const { return m_served.IsServing(); }
    const std::string& Port() const { return m_served.Port(); }
    // Ends the serving (if the gauge has not hung up already) and answers how it ended.
    CGaugeServer::EEnd Stop() { return m_served.Stop(); }
    // What the gauge holds; only once it has stopped.
    const CVirtualGauge& Gauge() const { return m_served.Gauge(); }

    int Lines() const { return m_lines.load(); }
    std::string LastLine() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lastLine;
    }
    int UploadsEnded() const { return m_uploadsEnded.load(); }
    int Replies() const { return m_replies.load(); }

private:
    void OnLine(std::string_view line, TimePoint, TimePoint) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lastLine = line;
        ++m_lines;
    }
    void OnReply(std::string_view, TimePoint, TimePoint) override { ++m_replies; }
    void OnUploadEnded(const CVirtualGauge&) override { ++m_uploadsEnded; }

    mutable std::mutex m_mutex;
    std::string m_lastLine;
    std::atomic<int> m_lines{0};
    std::atomic<int> m_uploadsEnded{0};
    std::atomic<int> m_replies{0};
    CGaugeServerThread m_served;  // last: it stops before the counters go
};
