#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialog/CTillerbyDlg.h"
#include "dialog/HeadlessHost.h"
#include "res/ControlIds.h"
#include "support/FakeServices.h"

// A main dialog on the headless host, with one fake serial port "GAUGE" on a fake line.
class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SDialogServices services = FakeServices(ports, line);
        services.findSerialPorts = [this, find = services.findSerialPorts](SerInfoList& list) {
            find(list);
            if (!enumerationError.empty())
                throw std::runtime_error(enumerationError);
        };
        services.makeSerialPort = [this, make = services.makeSerialPort] {
            return portFactory ? portFactory() : make();
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
    SerInfoList ports = kGaugePort;
    std::string enumerationError;
    // When set before Connect, makes the port instead of the plain fake one.
    std::function<std::unique_ptr<ISerialPort>()> portFactory;
    std::unique_ptr<CTillerbyDlg> dlg;
};
