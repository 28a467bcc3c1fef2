#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

// The far end of a serial line: the master side of a pseudo-terminal, played by the test.
// The program under test opens SlavePath(), as it would a gauge's port.
class CPtyLine {
public:
    CPtyLine() {
        int slave = -1;
        char name[128];
        if (openpty(&m_master, &slave, name, nullptr, nullptr) != 0)
            return;
        m_slavePath = name;
        close(slave);
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~CPtyLine() { HangUp(); }
    CPtyLine(const CPtyLine&) = delete;
    CPtyLine& operator=(const CPtyLine&) = delete;

    bool IsOpen() const { return m_master >= 0; }
    const std::string& SlavePath() const { return m_slavePath; }

    // The terminal settings of the program's side (the master reaches the slave's).
    termios Settings() const {
        termios t{};
        tcgetattr(m_master, &t);
        return t;
    }
    void SetSettings(const termios& t) { tcsetattr(m_master, TCSANOW, &t); }

    void Send(const std::string& bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(m_master, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += static_cast<size_t>(n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                return;
        }
    }

    // What the program has written: waits up to `timeout` until `expected` bytes came.
    std::string Receive(size_t expected, std::chrono::milliseconds timeout) {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (got.size() < expected) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd p{m_master, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = read(m_master, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, static_cast<size_t>(n));
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;
        }
        return got;
    }

    // Everything written so far, without waiting for more than a short while.
    std::string Drain() { return Receive(1u << 30, std::chrono::milliseconds(50)); }

    // The far end goes away, like a pulled cable.
    void HangUp() {
        if (m_master >= 0)
            close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    std::string m_slavePath;
};
