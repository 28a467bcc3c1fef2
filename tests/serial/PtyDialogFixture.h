#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "dialog/CTillerbyDlg.h"
#include "dialog/ControlIds.h"
#include "dialog/HeadlessHost.h"
#include "serial/PtyLine.h"
#include "serial/posix/PosixSerialPort.h"

// A headless host that lets a test act while a handler runs, when the handler sets a text.
class CHookedHost : public CHeadlessHost {
public:
    std::function<void(int id, const std::string& text)> onSetText;
    void SetWindowText(int id, const std::string& text) override {
        CHeadlessHost::SetWindowText(id, text);
        if (onSetText) onSetText(id, text);
    }
};

// The main dialog with real terminal ports; its one port is the program's side of a
// pseudo-terminal whose other side the test plays.
class PtyDialogFixture : public ::testing::Test {
protected:
    using Clock = std::chrono::steady_clock;

    void SetUp() override {
        ASSERT_TRUE(line.IsOpen());
        ports = {SSerInfo{line.SlavePath(), "", "Gauge (pty)", false, "Gauge"}};
        dlg = std::make_unique<CTillerbyDlg>(host, Services());
        host.Attach(dlg.get());
        dlg->OnInitDialog();
    }
    void TearDown() override { dlg.reset(); }

    SDialogServices Services() {
        SDialogServices services;
        services.findSerialPorts = [this](SerInfoList& list) {
            list = ports;
            if (!enumerationError.empty()) throw std::runtime_error(enumerationError);
        };
        services.makeSerialPort = [this] {
            ++portsMade;
            return std::make_unique<CPosixSerialPort>();
        };
        return services;
    }

    std::string Caption() const { return host.GetWindowText(ids::kConnect); }

    // Clicks Connect (or Disconnect) and answers how long the handler took.
    std::chrono::milliseconds TimedClick() {
        const auto start = Clock::now();
        host.Click(ids::kConnect);
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    }

    // Waits until `condition` holds, at most `timeout`.
    static bool Eventually(const std::function<bool()>& condition,
                           std::chrono::milliseconds timeout = std::chrono::seconds(2)) {
        const auto deadline = Clock::now() + timeout;
        while (!condition()) {
            if (Clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    CPtyLine line;
    CHookedHost host;
    SerInfoList ports;
    std::string enumerationError;
    int portsMade = 0;
    std::unique_ptr<CTillerbyDlg> dlg;
};
