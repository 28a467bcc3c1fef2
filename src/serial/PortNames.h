#pragma once

#include <string>
#include <vector>

#include "serial/SerInfo.h"

// Windows names its serial ports COM1, COM2, ...; a port is opened as "\\.\COMn", and a
// device-interface search lists it under a path of its own with the name in its friendly
// name ("USB Serial Port (COM3)"). These tell which record a port name means.
namespace portnames {

// "COM3" in any letter case: a port name.
bool IsComName(const std::string& text);

// The path a port name is opened by ("COM3" -> "\\.\COM3"); anything else as it is.
std::string DevicePathOf(const std::string& portOrPath);

// The port name a record stands for: its port name, else the "(COMn)" that ends its
// friendly name, else what follows "\\.\" in its device path; empty when none.
std::string PortNameOf(const SSerInfo& info);

// Whether two port names are the same port: Windows ignores the letter case.
bool SamePortName(const std::string& a, const std::string& b);

// Whether a port as a user gives it ("COM3", "\\.\com3", "/dev/ttyUSB0", a link to it) is
// this record's: the same path, the same port name in any spelling, or the same device.
bool NamesPort(const SSerInfo& port, const std::string& given);

// Appends a record for each port name not listed yet ("\\.\" and the name as device path,
// the name as port name, friendly name and description), in natural order: COM2 before
// COM10.
void AddListedPorts(SerInfoList& list, std::vector<std::string> names);

}  // namespace portnames
