#pragma once

#include <optional>
#include <string>

#include "serial/AdapterLatency.h"
#include "serial/posix/SysfsPortLayer.h"

// The latency timer that the kernel's USB serial drivers show for a terminal in sysfs
// (bus/usb-serial/devices/<tty>/latency_timer, in milliseconds), for the terminal that
// `devicePath` names or links to. Nothing where the driver keeps no such timer.
std::optional<SAdapterLatency> ReadSysfsLatencyTimer(const SSysfsLayerPaths& paths,
                                                     const std::string& devicePath);
