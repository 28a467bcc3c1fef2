#pragma once

#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "kestran-gauge/GaugePty.h"
#include "kestran-gauge/GaugeServer.h"
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

// A virtual gauge served on its own thread for one upload.
class CGaugeSession {
public:
    explicit CGaugeSession(bool wireTime) : m_server(m_pty, Options(wireTime), times) {
        if (!m_pty.IsOpen() || pipe(m_stop) != 0)
            return;
        m_thread = std::thread([this] { m_server.Run(m_stop[0]); });
    }
    ~CGaugeSession() { Stop(); }
    CGaugeSession(const CGaugeSession&) = delete;
    CGaugeSession& operator=(const CGaugeSession&) = delete;

    bool IsServing() const { return m_thread.joinable(); }
    std::string Port() const { return m_pty.SlavePath(); }
    void Stop() {
        if (!m_thread.joinable()) {
            return;
        }
        // The last line may still be on its way through the terminal.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const char byte = 0;
        (void)!write(m_stop[1], &byte, 1);
        m_thread.join();
        close(m_stop[0]);
        close(m_stop[1]);
    }

    CGaugeTimes times;

private:
    static SGaugeServerOptions Options(bool wireTime) {
        SGaugeServerOptions options;
        options.wireTime = wireTime;
        return options;
    }

    CGaugePty m_pty;
    CGaugeServer m_server;
    int m_stop[2] = {-1, -1};
    std::thread m_thread;
};
