#include <gtest/gtest.h>

#include <fstream>

#include "serial/posix/SysfsLatencyTimer.h"
#include "support/TestImages.h"

namespace fs = std::filesystem;

namespace {

TEST(SysfsLatencyTimerTest, TheTimerOfTheTerminalBehindThePathOrItsLink) {
    CTempDir dir;
    SSysfsLayerPaths paths;
    paths.sysfsRoot = dir.Path() / "sys";
    const fs::path devices = paths.sysfsRoot / "bus" / "usb-serial" / "devices";
    for (const auto& [tty, text] :
         {std::pair{"ttyUSB0", "16\n"}, {"ttyUSB1", "1\n"}, {"ttyUSB2", "fast\n"}}) {
        fs::create_directories(devices / tty);
        std::ofstream(devices / tty / "latency_timer") << text;
    }
    // A device folder with a stable name linking to its terminal, as udev makes them.
    const fs::path dev = dir.Path() / "dev";
    fs::create_directories(dev / "serial" / "by-id");
    std::ofstream(dev / "ttyUSB0").put('\0');
    fs::create_symlink(dev / "ttyUSB0", dev / "serial" / "by-id" / "usb-FTDI_FT232R-if00");

    struct SCase {
        std::string path;
        std::optional<int> milliseconds;
    } cases[] = {
        {"/dev/ttyUSB0", 16},
        {(dev / "serial" / "by-id" / "usb-FTDI_FT232R-if00").string(), 16},
        {"/dev/ttyUSB1", 1},
        {"/dev/ttyUSB2", std::nullopt},  // not a number
        {"/dev/ttyS0", std::nullopt},    // no USB serial driver behind it
    };
    for (const SCase& c : cases) {
        const std::optional<SAdapterLatency> latency = ReadSysfsLatencyTimer(paths, c.path);
        ASSERT_EQ(latency.has_value(), c.milliseconds.has_value()) << c.path;
        if (latency) {
            EXPECT_EQ(latency->milliseconds, *c.milliseconds) << c.path;
            EXPECT_NE(latency->howToSet.find("/sys/bus/usb-serial/devices/ttyUSB"),
                      std::string::npos);
        }
    }
}

}  // namespace
