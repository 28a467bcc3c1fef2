#include "kestran-gauge/GaugeServerThread.h"

#include <unistd.h>

#include <utility>

CGaugeServerThread::CGaugeServerThread(SGaugeServerOptions options, IGaugeServerEvents& events)
    : m_server(m_pty, std::move(options), events) {
    if (!m_pty.IsOpen() || !OpenPipe(m_stop))
        return;
    m_thread = std::thread([this] {
        m_end = m_server.Run(m_stop.read.Get());
        if (m_end == CGaugeServer::EEnd::HungUp)
            m_pty.HangUp();
        m_ended = true;
    });
}

CGaugeServerThread::~CGaugeServerThread() {
    Stop();
}

CGaugeServer::EEnd CGaugeServerThread::Stop() {
    if (m_thread.joinable()) {
        const char byte = 0;
        (void)!write(m_stop.write.Get(), &byte, 1);
        m_thread.join();
    }
    return m_end;
}
