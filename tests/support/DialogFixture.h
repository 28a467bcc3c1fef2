#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialog/CTillerbyDlg.h"
#include "dialog/HeadlessHost.h"
#include "res/ControlIds.h"
#include "support/FakeSerialPort.h"

// A main dialog on the headless host, with one fake serial port "GAUGE" on a fake line.
class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ports = {SSerInfo{"/dev/fake-gauge", "", "GAUGE", false, "Gauge"}};
        SDialogServices services;
        services.findSerialPorts = [this](SerInfoList& list) {
            list = ports;
            if (!enumerationError.empty())
                throw std::runtime_error(enumerationError);
        };
        services.makeSerialPort = [this]() -> std::unique_ptr<ISerialPort> {
            if (portFactory)
                return portFactory();
            return std::make_unique<CFakeSerialPort>(line);
        };
        dlg = std::make_unique<CTillerbyDlg>(host, services);
        host.Attach(dlg.get());
        dlg->OnInitDialog();
    }

    void TearDown() override { dlg.reset(); }

    void Connect() {
        ASSERT_TRUE(host.Click(ids::kConnect));
        ASSERT_TRUE(dlg->IsPortOpen());
    }

    // The device replies; the dialog handles the notification as the window would.
    void Reply(const std::string& bytes) {
        line->Send(bytes);
        dlg->OnSerialData(1, 0);
    }

    std::vector<std::string> Writes() { return line->TakeWrites(); }

    CHeadlessHost host;
    std::shared_ptr<SFakeLine> line = std::make_shared<SFakeLine>();
    SerInfoList ports;
    std::string enumerationError;
    // When set before Connect, makes the port instead of the plain fake one.
    std::function<std::unique_ptr<ISerialPort>()> portFactory;
    std::unique_ptr<CTillerbyDlg> dlg;
};
