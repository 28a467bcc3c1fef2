#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "kestran-gauge/GaugePty.h"
#include "kestran-gauge/GaugeServer.h"
#include "platform/posix/UniqueFd.h"

// The virtual gauge program's own server on a pseudo-terminal of its own, run on a thread
// of the caller (a test, the benchmark): the tool under test opens Port() as it would a
// real gauge's port. A gauge that hangs up closes its terminal, as the program does.
// `events` hears from the serving thread and must outlive the serving.
class CGaugeServerThread {
public:
    CGaugeServerThread(SGaugeServerOptions options, IGaugeServerEvents& events);
    ~CGaugeServerThread();
    CGaugeServerThread(const CGaugeServerThread&) = delete;
    CGaugeServerThread& operator=(const CGaugeServerThread&) = delete;

    // False when no terminal could be had, and once the serving has ended.
    bool IsServing() const { return m_thread.joinable() && !m_ended; }
    const std::string& Port() const { return m_pty.SlavePath(); }

    // Ends the serving (if the gauge has not hung up already) and answers how it ended.
    CGaugeServer::EEnd Stop();

    // What the gauge holds; only once it has stopped.
    const CVirtualGauge& Gauge() const { return m_server.Gauge(); }

private:
    CGaugePty m_pty;
    CGaugeServer m_server;
    SPipe m_stop;
    std::thread m_thread;
    std::atomic<bool> m_ended{false};
    CGaugeServer::EEnd m_end = CGaugeServer::EEnd::Stopped;
};
