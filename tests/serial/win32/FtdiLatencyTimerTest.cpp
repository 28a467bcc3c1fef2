#include <gtest/gtest.h>

#include "serial/AdapterLatency.h"
#include "serial/win32/FakeFtdiPort.h"

namespace {

TEST(FtdiLatencyTimerTest, TheTimerOfTheFtdiPortByAnyOfItsNamesAndNothingElse) {
    const CFakeFtdiPort slow("COM21", 16);
    const CFakeFtdiPort fast("COM22", 1);
    ASSERT_TRUE(slow.Made() && fast.Made());
    struct SCase {
        const char* port;
        std::optional<int> milliseconds;
    } cases[] = {
        {"COM21", 16}, {"com21", 16}, {"\\\\.\\COM21", 16}, {"COM22", 1},
        {"COM2", std::nullopt},  // a port of no FTDI adapter
        {"COM211", std::nullopt}, {"/dev/ttyUSB0", std::nullopt},
    };
    for (const SCase& c : cases) {
        const std::optional<SAdapterLatency> latency = ReadAdapterLatency(c.port);
        ASSERT_EQ(latency.has_value(), c.milliseconds.has_value()) << c.port;
        if (latency) {
            EXPECT_EQ(latency->milliseconds, *c.milliseconds) << c.port;
            EXPECT_NE(latency->howToSet.find("Device Manager"), std::string::npos);
        }
    }
    // Only read: the driver's value stays as it was.
    EXPECT_EQ(slow.LatencyTimer(), 16u);
}

}  // namespace
