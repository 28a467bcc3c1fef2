#include "serial/posix/SysfsTtyScan.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "serial/NaturalOrder.h"

namespace fs = std::filesystem;

namespace {

// The first line of a sysfs attribute, without its line end; nothing when absent or empty.
std::optional<std::string> ReadAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string text;
    if (!in || !std::getline(in, text))
        return std::nullopt;
    while (!text.empty() && (text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        return std::nullopt;
    return text;
}

bool IsNonZeroNumber(const std::optional<std::string>& text) {
    return text && std::strtoul(text->c_str(), nullptr, 0) != 0;
}

// The USB device (the folder with the vendor id) that a tty's device hangs below, if any.
std::optional<fs::path> UsbDeviceOf(const fs::path& device, const fs::path& sysfsRoot) {
    std::error_code ec;
    const fs::path devicesRoot = sysfsRoot / "devices";
    for (fs::path p = device; p.has_relative_path() && p != devicesRoot && p != sysfsRoot;
         p = p.parent_path()) {
        if (fs::exists(p / "idVendor", ec))
            return p;
    }
    return std::nullopt;
}

SSysfsSerialPort UsbPort(const std::string& name, const fs::path& usbDevice) {
    SSysfsSerialPort port;
    port.name = name;
    if (auto product = ReadAttribute(usbDevice / "product")) {
        port.description = *product;
    } else if (auto maker = ReadAttribute(usbDevice / "manufacturer")) {
        port.description = *maker + " USB serial port";
    } else {
        port.description = "USB serial port";
    }
    port.location = "USB port " + usbDevice.filename().string();
    return port;
}

// An on-board UART, or nothing for a slot without a chip (the kernel's port type 0).
std::optional<SSysfsSerialPort> UartPort(const std::string& name, const fs::path& ttyDir) {
    const std::optional<std::string> type = ReadAttribute(ttyDir / "type");
    if (!IsNonZeroNumber(type))
        return std::nullopt;
    SSysfsSerialPort port;
    port.name = name;
    port.description = "Serial port";
    const std::optional<std::string> io = ReadAttribute(ttyDir / "port");
    const std::optional<std::string> memory = ReadAttribute(ttyDir / "iomem_base");
    const std::optional<std::string> irq = ReadAttribute(ttyDir / "irq");
    if (IsNonZeroNumber(io)) {
        port.location = "I/O port " + *io;
    } else if (IsNonZeroNumber(memory)) {
        port.location = "Memory " + *memory;
    }
    if (port.location && IsNonZeroNumber(irq))
        *port.location += ", IRQ " + *irq;
    return port;
}

}  // namespace

std::vector<SSysfsSerialPort> ScanSysfsSerialPorts(const fs::path& sysfsRoot) {
    std::vector<SSysfsSerialPort> ports;
    const fs::path classDir = sysfsRoot / "class" / "tty";
    std::error_code ec;
    if (!fs::exists(classDir, ec))
        return ports;  // no sysfs: no serial ports known
    const fs::path root = fs::weakly_canonical(sysfsRoot, ec);

    for (const fs::directory_entry& entry : fs::directory_iterator(classDir)) {
        const fs::path ttyDir = entry.path();
        const std::string name = ttyDir.filename().string();
        // Virtual consoles and pseudo-terminals have no device behind them.
        const fs::path device = fs::canonical(ttyDir / "device", ec);
        if (ec)
            continue;
        if (std::optional<fs::path> usb = UsbDeviceOf(device, root)) {
            ports.push_back(UsbPort(name, *usb));
        } else if (std::optional<SSysfsSerialPort> uart = UartPort(name, ttyDir)) {
            ports.push_back(*uart);
        }
    }
    std::sort(ports.begin(), ports.end(), [](const SSysfsSerialPort& a, const SSysfsSerialPort& b) {
        return naturalorder::Less(a.name, b.name);
    });
    return ports;
}
