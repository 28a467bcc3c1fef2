#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A serial device the kernel lists under class/tty of sysfs.
struct SSysfsSerialPort {
    std::string name;                     // tty name, e.g. ttyUSB0; opened as /dev/<name>
    std::string description;              // e.g. the USB product string, "Serial port"
    std::optional<std::string> location;  // begins with "USB" exactly for USB devices
};

// The real serial devices below `sysfsRoot` (normally /sys), in natural name order: every
// terminal of a USB device (USB serial adapters, ACM modems), and on-board UARTs whose
// hardware the kernel detected. Virtual consoles, pseudo-terminals and the UART slots of a
// PC that have no chip behind them are left out. Reads attributes only; opens no device.
// Throws std::filesystem::filesystem_error when class/tty exists but cannot be read.
std::vector<SSysfsSerialPort> ScanSysfsSerialPorts(const std::filesystem::path& sysfsRoot);
