#include "serial/posix/SysfsLatencyTimer.h"

#include <fstream>

namespace fs = std::filesystem;

std::optional<SAdapterLatency> ReadSysfsLatencyTimer(const SSysfsLayerPaths& paths,
                                                     const std::string& devicePath) {
    // A link such as /dev/serial/by-id/... names the terminal it points to.
    std::error_code ec;
    fs::path device = fs::canonical(devicePath, ec);
    if (ec)
        device = devicePath;
    const std::string tty = device.filename().string();
    if (tty.empty())
        return std::nullopt;
    const fs::path attribute = fs::path("bus") / "usb-serial" / "devices" / tty / "latency_timer";
    std::ifstream in(paths.sysfsRoot / attribute);
    long long milliseconds = -1;
    if (!(in >> milliseconds) || milliseconds < 0 || milliseconds > 1000000)
        return std::nullopt;
    SAdapterLatency latency;
    latency.milliseconds = static_cast<int>(milliseconds);
    latency.howToSet = "echo 1 | sudo tee " + (fs::path("/sys") / attribute).string();
    return latency;
}

std::optional<SAdapterLatency> ReadAdapterLatency(const std::string& devicePath) {
    return ReadSysfsLatencyTimer(SSysfsLayerPaths{}, devicePath);
}
