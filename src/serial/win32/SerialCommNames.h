#pragma once

#include <string>
#include <vector>

// The port names the system's port map lists, HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM:
// every port a serial driver has started, in no particular order. Empty when the map cannot
// be read.
std::vector<std::string> ReadSerialCommNames();
