#pragma once

#include <memory>
#include <string>

#include "serial/DialogServices.h"
#include "serial/SerInfo.h"
#include "support/FakeSerialPort.h"

// The one port the dialog tests find, "GAUGE", at `devicePath`.
inline SerInfoList GaugePortList(const std::string& devicePath = "/dev/fake-gauge") {
    return {SSerInfo{devicePath, "", "GAUGE", false, "Gauge"}};
}
inline const SerInfoList kGaugePort = GaugePortList();

// Serial services that find what `ports` holds at each search (it must outlive them) and
// open every port on the fake `line`.
inline SDialogServices FakeServices(const SerInfoList& ports, std::shared_ptr<SFakeLine> line) {
    SDialogServices services;
    services.findSerialPorts = [&ports](SerInfoList& list) { list = ports; };
    services.makeSerialPort = [line] { return std::make_unique<CFakeSerialPort>(line); };
    return services;
}
