#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "serial/posix/PosixSerialPort.h"
#include "serial/posix/PtyLine.h"
#include "support/DialogFixture.h"
#include "support/WaitFor.h"

// A terminal port that lets a test act right after each write of the dialog, so from inside
// the handler that writes.
class CHookedPort : public CPosixSerialPort {
public:
    explicit CHookedPort(const std::function<void()>& afterWrite) : m_afterWrite(afterWrite) {}
    uint32_t Write(const void* data, uint32_t n) override {
        const uint32_t written = CPosixSerialPort::Write(data, n);
        if (m_afterWrite)
            m_afterWrite();
        return written;
    }

private:
    const std::function<void()>& m_afterWrite;
};

// The main dialog with real terminal ports; its one port is the program's side of a
// pseudo-terminal whose other side the test plays.
class PtyDialogFixture : public DialogFixture {
protected:
    using Clock = std::chrono::steady_clock;

    void SetUp() override {
        ASSERT_TRUE(pty.IsOpen());
        portFactory = [this] {
            ++portsMade;
            return std::make_unique<CHookedPort>(afterWrite);
        };
        DialogFixture::SetUp();
        ports = {SSerInfo{pty.SlavePath(), "", "Gauge (pty)", false, "Gauge"}};
        host.Click(ids::kRefresh);
    }

    std::string Caption() const { return host.GetWindowText(ids::kConnect); }

    // Clicks Connect (or Disconnect) and answers how long the handler took.
    std::chrono::milliseconds TimedClick() {
        const auto start = Clock::now();
        host.Click(ids::kConnect);
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    }

    CPtyLine pty;
    std::function<void()> afterWrite;  // run by the port after each write
    int portsMade = 0;
};
