#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "kestran-gauge/GaugeServerThread.h"
#include "kestran-gauge/WireTime.h"

// Notes the time of every line and reply at the gauge.
class CGaugeTimes : public IGaugeServerEvents {
public:
    void OnLine(std::string_view line, TimePoint read, TimePoint arrived) override {
        const long long lineBytes = static_cast<long long>(line.size()) + 2;  // with CR LF
        bytes += lineBytes;
        if (lineReads.empty())
            start = arrived - gaugewire::WireTime(lineBytes);
        end = arrived;
        lineReads.push_back(read);
        lines.emplace_back(line);
    }
    void OnReply(std::string_view reply, TimePoint due, TimePoint sent) override {
        bytes += static_cast<long long>(reply.size());
        late += sent - due;
        replies.push_back(sent);
    }
    void OnViolation(const std::string& text) override {
        if (violation.empty())
            violation = text;
    }

    long long bytes = 0;
    TimePoint start{}, end{};
    std::vector<TimePoint> lineReads, replies;
    std::vector<std::string> lines;
    std::chrono::steady_clock::duration late{};
    std::string violation;
};

// A virtual gauge served on its own thread for one upload, noting the times.
class CGaugeSession {
public:
    explicit CGaugeSession(bool wireTime) : m_served(Options(wireTime), times) {}

    bool IsServing() const { return m_served.IsServing(); }
    std::string Port() const { return m_served.Port(); }
    void Stop() {
        if (!m_served.IsServing())
            return;
        // The last line may still be on its way through the terminal.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        m_served.Stop();
    }

    CGaugeTimes times;

private:
    static SGaugeServerOptions Options(bool wireTime) {
        SGaugeServerOptions options;
        options.wireTime = wireTime;
        return options;
    }

    CGaugeServerThread m_served;
};
