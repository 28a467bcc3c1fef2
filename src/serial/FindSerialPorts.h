#pragma once

#include "serial/PortSearchLayer.h"
#include "serial/SerInfo.h"

// Empties `list` and refills it with the serial ports the system knows, one record per
// port, by the search that suits the system's version: the device-interface search (major
// version 5 and up), COM1 to COM16 (older NT systems) or the registry's hardware tree
// (others). Touches no port.
//
// A failure raises std::runtime_error with the message to show the user; the records
// found before it stay in the list, and every handle the search opened is released first.
void FindSerialPorts(IPortSearchLayer& layer, SerInfoList& list);
