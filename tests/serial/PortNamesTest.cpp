#include <gtest/gtest.h>

#include "serial/PortNames.h"

using namespace portnames;

TEST(PortNamesTest, PortNamesBecomeDevicePathsAndAreFoundInEveryKindOfRecord) {
    EXPECT_EQ(DevicePathOf("COM3"), "\\\\.\\COM3");
    EXPECT_EQ(DevicePathOf("com12"), "\\\\.\\COM12");
    for (const std::string other : {"\\\\.\\COM3", "/dev/ttyUSB0", "COM", "COMX", "COM3a", ""})
        EXPECT_EQ(DevicePathOf(other), other);

    struct SCase {
        SSerInfo info;
        std::string name;
    };
    const SCase cases[] = {
        {{"\\\\.\\COM2", "COM2", "", false, ""}, "COM2"},  // numbered and registry searches
        {{"\\\\?\\usb#vid_0403#6&1#{86e0d1e0}", "", "USB Serial Port (COM11)", true, ""},
         "COM11"},
        {{"\\\\?\\acpi#pnp0501#1#{86e0d1e0}", "", "Communications Port", false, ""}, ""},
        {{"\\\\.\\CNCA0", "", "CNCA0", false, ""}, "CNCA0"},
        {{"/dev/ttyUSB0", "", "USB Serial (ttyUSB0)", true, ""}, ""},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(PortNameOf(c.info), c.name) << c.info.friendlyName;
    EXPECT_TRUE(SamePortName("com11", "COM11"));
    EXPECT_FALSE(SamePortName("", ""));
}

TEST(PortNamesTest, ListedPortsAreAddedOnceInNaturalOrder) {
    SerInfoList list = {{"\\\\?\\usb#vid_0403", "", "USB Serial Port (COM3)", true, "USB"}};
    AddListedPorts(list, {"COM10", "com3", "COM2", "CNCB0", "COM2", ""});
    std::vector<std::string> paths;
    for (const SSerInfo& info : list)
        paths.push_back(info.devicePath + " " + info.friendlyName);
    EXPECT_EQ(paths, (std::vector<std::string>{"\\\\?\\usb#vid_0403 USB Serial Port (COM3)",
                                               "\\\\.\\CNCB0 CNCB0", "\\\\.\\COM2 COM2",
                                               "\\\\.\\COM10 COM10"}));
}
