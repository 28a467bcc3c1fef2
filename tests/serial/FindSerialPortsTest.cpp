#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "serial/FakePortSearchLayer.h"
#include "serial/FindSerialPorts.h"
#include "serial/PortSearches.h"

namespace {

using Entry = CFakePortSearchLayer::SInterfaceEntry;

template <class T>
std::vector<T> Field(const SerInfoList& list, T SSerInfo::*field) {
    std::vector<T> out;
    for (const SSerInfo& info : list)
        out.push_back(info.*field);
    return out;
}

class RegistrySearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        layer.version = {4, 1};  // neither version 5 nor NT: the registry search
        layer.Key("Enum");
    }
    CFakePortSearchLayer layer;
    SerInfoList list;
};

}  // namespace

TEST(FindSerialPortsTest, VersionChoosesTheSearchAndAFailedQueryIsReported) {
    CFakePortSearchLayer layer;
    layer.interfaces = {Entry{"/dev/ttyUSB0", "Adapter (ttyUSB0)", "Adapter", "USB 1-1"}};
    layer.Value("Enum\\ACPI\\*PNP0501\\0", "PORTNAME", "COM7");
    SerInfoList list{SSerInfo{"stale", "", "stale", false, ""}};

    layer.version = {5, 1};
    EXPECT_EQ(FindError(layer, list), "");
    EXPECT_EQ(Field(list, &SSerInfo::devicePath), std::vector<std::string>{"/dev/ttyUSB0"});

    layer.version = {4, IPortSearchLayer::kPlatformNt};
    EXPECT_EQ(FindError(layer, list), "");
    ASSERT_EQ(list.size(), 16u);
    for (int n = 1; n <= 16; ++n) {
        const SSerInfo& info = list[static_cast<size_t>(n - 1)];
        const std::string name = "COM" + std::to_string(n);
        EXPECT_EQ(info.portName, name);
        EXPECT_EQ(info.devicePath, "\\\\.\\" + name);
        EXPECT_EQ(info.friendlyName, name);
        EXPECT_EQ(info.portDescription, name);
        EXPECT_FALSE(info.isUsb);
    }

    layer.version = {4, 1};
    EXPECT_EQ(FindError(layer, list), "");
    EXPECT_EQ(Field(list, &SSerInfo::portName), std::vector<std::string>{"COM7"});

    layer.versionError = 0x57;
    EXPECT_EQ(FindError(layer, list), "Could not get OS version. (err=57)");
    EXPECT_TRUE(list.empty());
}

TEST(FindSerialPortsTest, DescriptionIsTheFriendlyNameLessATrailingParenthesis) {
    const struct {
        const char* friendly;
        const char* description;
    } cases[] = {
        {"Communications Port (COM1)", "Communications Port"},
        {"A (B)", "A"},
        {"Port (A) B", "Port (A) B"},
        {" (COM1)", " (COM1)"},            // begins with " ("
        {"Port (A) (B)", "Port (A) (B)"},  // the first ")" is not the last character
        {"Port(COM1)", "Port(COM1)"},      // no blank before the parenthesis
        {"Port (COM1", "Port (COM1"},
        {"Port) (COM1", "Port) (COM1"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SSerInfo info;
        info.friendlyName = c.friendly;
        portsearch::CompleteRecord(info);
        EXPECT_EQ(info.portDescription, c.description) << c.friendly;
        EXPECT_EQ(info.friendlyName, c.friendly);
    }

    SSerInfo named{"\\\\.\\COM2", "COM2", "", false, ""};
    portsearch::CompleteRecord(named);
    EXPECT_EQ(named.friendlyName, "COM2");
    EXPECT_EQ(named.portDescription, "COM2");

    SSerInfo described{"p", "", "Modem (COM4)", false, "Modem (internal)"};
    portsearch::CompleteRecord(described);
    EXPECT_EQ(described.portDescription, "Modem (internal)");
}

TEST(FindSerialPortsTest, InterfaceSearchTakesDevicesWithNameAndDescription) {
    CFakePortSearchLayer layer;
    layer.interfaces = {
        Entry{"path-a", "USB Serial Port (COM3)", "USB Serial Port", "USB Serial Converter"},
        Entry{"path-b", std::nullopt, "No friendly name", "USB"},
        Entry{"path-c", "No description (COM5)", std::nullopt, std::nullopt},
        Entry{"path-d", "Lower case (COM6)", "Lower case (usb)", "usb hub"},
        Entry{"path-e", "No location (COM7)", "No location", std::nullopt},
        Entry{"path-f", std::string(256, 'x'), "Name too long", "USB"},
        Entry{"path-g", std::string(255, 'y'), std::string(255, 'z'), "US"},
        Entry{"path-h", "Long description", std::string(256, 'd'), "USB"},
    };
    SerInfoList list;
    EXPECT_EQ(FindError(layer, list), "");
    EXPECT_EQ(Field(list, &SSerInfo::devicePath),
              (std::vector<std::string>{"path-a", "path-d", "path-e", "path-g"}));
    EXPECT_EQ(Field(list, &SSerInfo::portName), std::vector<std::string>(4, ""));
    EXPECT_EQ(Field(list, &SSerInfo::portDescription),
              (std::vector<std::string>{"USB Serial Port", "Lower case (usb)", "No location",
                                        std::string(255, 'z')}));
    EXPECT_EQ(Field(list, &SSerInfo::isUsb), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(layer.setsOpen, 0);
}

TEST(FindSerialPortsTest, InterfaceSearchErrorsKeepEarlierPortsAndReleaseTheSet) {
    CFakePortSearchLayer layer;
    layer.interfaces = {Entry{"first", "First (COM1)", "First", "USB"},
                        Entry{"second", "Second (COM2)", "Second", "USB"}};
    SerInfoList list;

    layer.openSetError = 0xd;
    EXPECT_EQ(FindError(layer, list), "SetupDiGetClassDevs failed. (err=d)");
    EXPECT_EQ(layer.setsOpen, 0);
    layer.openSetError.reset();

    layer.enumErrorIndex = 1;
    layer.enumErrorCode = 0x3e5;
    EXPECT_EQ(FindError(layer, list), "SetupDiEnumDeviceInterfaces failed. (err=3e5)");
    EXPECT_EQ(Field(list, &SSerInfo::devicePath), std::vector<std::string>{"first"});
    EXPECT_EQ(layer.setsOpen, 0);
    layer.enumErrorIndex.reset();

    layer.interfaces[1].detailError = 0x6;
    EXPECT_EQ(FindError(layer, list), "SetupDiGetDeviceInterfaceDetail failed. (err=6)");
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(layer.setsOpen, 0);
    layer.interfaces[1].detailError = 0;

    // The path shares the 261-byte detail buffer with a 4-byte size field.
    layer.interfaces[1].devicePath = std::string(256, 'p');
    EXPECT_EQ(FindError(layer, list), "");
    EXPECT_EQ(list.size(), 2u);
    layer.interfaces[1].devicePath = std::string(257, 'p');
    EXPECT_EQ(FindError(layer, list), "SetupDiGetDeviceInterfaceDetail failed. (err=7a)");
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(layer.setsOpen, 0);
}

TEST_F(RegistrySearchTest, FindsPortIdsAndUsbPortsFoldingDuplicates) {
    layer.Value("Enum\\ACPI\\*PNP0501\\1", "PORTNAME", "COM1");
    layer.Value("Enum\\ACPI\\*PNP0501\\1", "FRIENDLYNAME", "Communications Port (COM1)");
    layer.Value("Enum\\ACPI\\PNP0C02\\1", "PORTNAME", "COM9");  // not a port device id
    layer.Value("Enum\\Root\\*PNP0500\\0000", "PORTNAME", "COM2");
    layer.Value("Enum\\Root\\*PNP0500\\0001", "FRIENDLYNAME", "No port name");
    layer.Value("Enum\\Root\\*pnp0501\\0000", "PORTNAME", "COM10");  // ids compare exactly
    layer.Value("Enum\\USBPORTS\\VID_0403&PID_6001\\A1", "PORTNAME", "COM5");
    layer.Value("Enum\\USBPORTS\\VID_0403&PID_6001\\A1", "FRIENDLYNAME", "USB Serial (COM5)");
    layer.Value("Enum\\usbports\\VID_1\\0", "PORTNAME", "COM11");  // not the USB enumerator
    layer.Value("Enum\\BIOS\\*PNP0501\\0", "PORTNAME", "COM1");
    layer.Value("Enum\\BIOS\\*PNP0501\\0", "FRIENDLYNAME", "Onboard (COM1)");
    layer.Value("Enum\\BIOS\\*PNP0501\\1", "PORTNAME", "com1");

    EXPECT_EQ(FindError(layer, list), "");
    EXPECT_EQ(Field(list, &SSerInfo::portName),
              (std::vector<std::string>{"COM1", "COM2", "COM5", "com1"}));
    EXPECT_EQ(Field(list, &SSerInfo::friendlyName),
              (std::vector<std::string>{"Onboard (COM1)", "COM2", "USB Serial (COM5)", "com1"}));
    EXPECT_EQ(Field(list, &SSerInfo::portDescription),
              (std::vector<std::string>{"Onboard", "COM2", "USB Serial", "com1"}));
    EXPECT_EQ(
        Field(list, &SSerInfo::devicePath),
        (std::vector<std::string>{"\\\\.\\COM1", "\\\\.\\COM2", "\\\\.\\COM5", "\\\\.\\com1"}));
    EXPECT_EQ(Field(list, &SSerInfo::isUsb), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(layer.keysOpen, 0);
}

TEST_F(RegistrySearchTest, NamesAndValuesThatDoNotFitTheirBuffers) {
    const std::string fits(127, 'n');
    const std::string tooLong(128, 'n');
    layer.Value("Enum\\A\\*PNP0501\\0", "PORTNAME", fits);
    layer.Value("Enum\\A\\*PNP0501\\1", "PORTNAME", tooLong);  // unreadable: skipped
    layer.Value("Enum\\A\\*PNP0501\\2", "PORTNAME", "COM3");
    layer.Value("Enum\\A\\*PNP0501\\2", "FRIENDLYNAME", tooLong);      // unreadable: port name
    layer.Value("Enum\\A\\*PNP0501\\" + tooLong, "PORTNAME", "COM4");  // ends the instances
    layer.Value("Enum\\A\\*PNP0501\\9", "PORTNAME", "COM5");
    layer.Value("Enum\\B\\*PNP0501\\0", "PORTNAME", "COM6");
    layer.Value("Enum\\" + tooLong + "\\*PNP0501\\0", "PORTNAME", "COM7");  // ends the walk
    layer.Value("Enum\\C\\*PNP0501\\0", "PORTNAME", "COM8");

    EXPECT_EQ(FindError(layer, list), "");
    EXPECT_EQ(Field(list, &SSerInfo::portName), (std::vector<std::string>{fits, "COM3", "COM6"}));
    EXPECT_EQ(list[1].friendlyName, "COM3");
    EXPECT_EQ(layer.keysOpen, 0);
}

TEST_F(RegistrySearchTest, KeysThatCannotBeOpenedAreReportedAfterClosingEveryKey) {
    layer.Value("Enum\\ACPI\\*PNP0501\\0", "PORTNAME", "COM1");
    layer.Value("Enum\\Root\\*PNP0500\\0000", "PORTNAME", "COM2");
    layer.Value("Enum\\Root\\*PNP0500\\0001", "PORTNAME", "COM3");

    const struct {
        const char* key;
        const char* message;
    } cases[] = {
        {"Enum", "Could not read from HKLM\\Enum"},
        {"Enum\\Root", "Could not read from HKLM\\Enum\\Root"},
        {"Enum\\Root\\*PNP0500", "Could not read from HKLM\\Enum\\Root\\*PNP0500"},
        {"Enum\\Root\\*PNP0500\\0001", "Could not read from HKLM\\Enum\\...\\0001"},
    };
    for (const auto& c : cases) {
        layer.keys[c.key].failOpen = true;
        EXPECT_EQ(FindError(layer, list), c.message);
        EXPECT_EQ(layer.keysOpen, 0) << c.key;
        layer.keys[c.key].failOpen = false;
    }
    // Ports found before the failure stay in the list.
    layer.keys["Enum\\Root\\*PNP0500\\0001"].failOpen = true;
    FindError(layer, list);
    EXPECT_EQ(Field(list, &SSerInfo::portName), (std::vector<std::string>{"COM1", "COM2"}));
}
