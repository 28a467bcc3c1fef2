#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "serial/FakePortSearchLayer.h"
#include "serial/posix/GaugeRegistry.h"
#include "serial/posix/PtyLine.h"
#include "serial/posix/SysfsPortLayer.h"
#include "support/TestImages.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << "\n";
}

// A sysfs tree as the kernel lays it out: class/tty/<name> links to the tty's folder
// below devices/, whose "device" link leads to the hardware it belongs to.
class CFakeSysfs {
public:
    explicit CFakeSysfs(const fs::path& root) : m_root(root) {
        fs::create_directories(root / "class" / "tty");
    }
    const fs::path& Root() const { return m_root; }

    // The tty of a USB device at devices/usb1/<port> with the given attributes ("" leaves
    // one out). A USB serial driver gives the tty a folder of its own below the interface;
    // for ACM (`acm`) the interface is the device.
    void UsbTty(const std::string& name, const std::string& port, const std::string& product,
                const std::string& manufacturer, bool acm = false) {
        const fs::path dir = m_root / "devices" / "pci0000:00" / "usb1" / port;
        WriteFile(dir / "idVendor", "0403");
        if (!product.empty())
            WriteFile(dir / "product", product);
        if (!manufacturer.empty())
            WriteFile(dir / "manufacturer", manufacturer);
        const fs::path device = acm ? dir / (port + ":1.0") : dir / (port + ":1.0") / name;
        fs::create_directories(device);
        Tty(name, device, device);
    }
    // A tty whose folder is <parent>/tty/<name>, with "device" pointing at `device`
    // (nothing: no device link, like a virtual console).
    fs::path Tty(const std::string& name, const fs::path& parent,
                 const std::optional<fs::path>& device) {
        const fs::path dir = parent / "tty" / name;
        WriteFile(dir / "dev", "188:0");
        if (device)
            fs::create_directory_symlink(fs::relative(*device, dir), dir / "device");
        fs::create_directory_symlink(fs::relative(dir, m_root / "class" / "tty"),
                                     m_root / "class" / "tty" / name);
        return dir;
    }
    // An on-board UART slot with the kernel's port type (0: no chip found).
    fs::path Uart(const std::string& name, int type, const std::string& io,
                  const std::string& memory, const std::string& irq) {
        const fs::path device = m_root / "devices" / "pnp0" / ("00:" + name);
        fs::create_directories(device);
        const fs::path dir = Tty(name, device, device);
        WriteFile(dir / "type", std::to_string(type));
        WriteFile(dir / "port", io);
        WriteFile(dir / "iomem_base", memory);
        WriteFile(dir / "irq", irq);
        return dir;
    }

private:
    fs::path m_root;
};

// A machine with one of each kind of terminal.
void BuildMachine(CFakeSysfs& sys) {
    sys.UsbTty("ttyUSB2", "1-2", "FT232R USB UART", "FTDI");
    sys.UsbTty("ttyUSB10", "1-4.3", "CP2102", "");
    sys.UsbTty("ttyACM0", "1-3", "", "Acme", true);

    sys.Uart("ttyS0", 4, "0x3F8", "0x0", "4");
    sys.Uart("ttyS1", 0, "0x2F8", "0x0", "3");  // a slot without a chip
    sys.Uart("ttyS2", 0, "0x3E8", "0x0", "4");
    sys.Uart("ttyAMA0", 83, "0x0", "0x9000000", "0");

    const fs::path virtualTty = sys.Root() / "devices" / "virtual";
    fs::create_directories(virtualTty);
    sys.Tty("tty1", virtualTty, std::nullopt);
    sys.Tty("ptmx", virtualTty, std::nullopt);
}

// A private registry folder and a terminal standing in for a gauge's.
class GaugeRegistryTest : public ::testing::Test {
protected:
    CTempDir dir;
    const fs::path folder = dir.Path() / "gauges";
    CPtyLine pty;
};

pid_t EndedProcess() {
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

}  // namespace

TEST(SysfsPortLayerTest, EnumerationShowsRealPortsThenLiveVirtualGauges) {
    CTempDir dir;
    CFakeSysfs sys(dir.Path() / "sys");
    BuildMachine(sys);
    const fs::path gauges = dir.Path() / "gauges";
    CPtyLine ptyA, ptyB;
    CGaugeRegistration unnamed(ptyB.SlavePath(), "", gauges);
    CGaugeRegistration named(ptyA.SlavePath(), "bench", gauges);
    ASSERT_TRUE(named.IsRegistered());
    ASSERT_TRUE(unnamed.IsRegistered());

    CSysfsPortLayer layer({sys.Root(), "/dev", gauges});
    SerInfoList list;
    ASSERT_EQ(FindError(layer, list), "");
    ASSERT_EQ(list.size(), 7u);
    EXPECT_EQ(list[0].devicePath, "/dev/ttyACM0");
    EXPECT_EQ(list[0].friendlyName, "Acme USB serial port (ttyACM0)");
    EXPECT_TRUE(list[0].isUsb);
    EXPECT_EQ(list[1].friendlyName, "Serial port (ttyAMA0)");
    EXPECT_FALSE(list[1].isUsb);
    EXPECT_EQ(list[2].friendlyName, "Serial port (ttyS0)");
    EXPECT_EQ(list[3].friendlyName, "FT232R USB UART (ttyUSB2)");
    EXPECT_EQ(list[3].portDescription, "FT232R USB UART");
    EXPECT_EQ(list[3].devicePath, "/dev/ttyUSB2");
    EXPECT_TRUE(list[3].isUsb);
    EXPECT_EQ(list[4].devicePath, "/dev/ttyUSB10");  // after ttyUSB2

    // The gauges follow in terminal order, named as what they are.
    const bool aFirst = ptyA.SlavePath() < ptyB.SlavePath();
    const SSerInfo& gaugeA = list[aFirst ? 5 : 6];
    const SSerInfo& gaugeB = list[aFirst ? 6 : 5];
    EXPECT_EQ(gaugeA.devicePath, ptyA.SlavePath());
    EXPECT_EQ(gaugeA.friendlyName,
              "Kestran virtual gauge bench (" + ptyA.SlavePath().substr(5) + ")");
    EXPECT_EQ(gaugeA.portDescription, "Kestran virtual gauge bench");
    EXPECT_EQ(gaugeB.friendlyName, "Kestran virtual gauge (" + ptyB.SlavePath().substr(5) + ")");
    EXPECT_FALSE(gaugeA.isUsb);
    for (const SSerInfo& info : list)
        EXPECT_TRUE(info.portName.empty());

    // Without the registry folder the same machine shows its real ports only.
    CSysfsPortLayer plain({sys.Root(), "/dev", std::nullopt});
    ASSERT_EQ(FindError(plain, list), "");
    EXPECT_EQ(list.size(), 5u);

    // A machine without sysfs has no serial ports; a class folder that cannot be read is an
    // error.
    CSysfsPortLayer none({dir.Path() / "nothing", "/dev", std::nullopt});
    ASSERT_EQ(FindError(none, list), "");
    EXPECT_TRUE(list.empty());
    const fs::path broken = dir.Path() / "broken";
    WriteFile(broken / "class" / "tty", "not a folder");
    CSysfsPortLayer failing({broken, "/dev", std::nullopt});
    EXPECT_EQ(FindError(failing, list), "SetupDiGetClassDevs failed. (err=14)");  // ENOTDIR
}

TEST_F(GaugeRegistryTest, EntriesLiveAsLongAsTheirGauge) {
    {
        CGaugeRegistration registration(pty.SlavePath(), "one\nline", folder);
        ASSERT_TRUE(registration.IsRegistered());
        const std::vector<SGaugeEntry> live = ListLiveGauges(folder);
        ASSERT_EQ(live.size(), 1u);
        EXPECT_EQ(live[0].ptyPath, pty.SlavePath());
        EXPECT_EQ(live[0].name, "one line");
        EXPECT_EQ(live[0].pid, getpid());
        struct stat info {};
        ASSERT_EQ(stat(folder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
    EXPECT_TRUE(ListLiveGauges(folder).empty());
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(GaugeRegistryTest, EntriesOfEndedProcessesAreRemoved) {
    CGaugeRegistration live(pty.SlavePath(), "live", folder);
    ASSERT_TRUE(live.IsRegistered());

    const fs::path ended = folder / "1-ended.gauge";
    WriteFile(ended,
              "pty=" + pty.SlavePath() + "\nname=ended\npid=" + std::to_string(EndedProcess()));
    // A running process that is not the one that registered (its id was reused).
    const fs::path reused = folder / "2-reused.gauge";
    WriteFile(reused, "pty=" + pty.SlavePath() + "\nname=reused\npid=" + std::to_string(getpid()) +
                          "\nstart=1");
    // A gauge whose terminal is gone.
    const fs::path noTerminal = folder / "3-gone.gauge";
    WriteFile(noTerminal,
              "pty=/dev/pts/does-not-exist\nname=gone\npid=" + std::to_string(getpid()));
    const fs::path other = folder / "notes.txt";  // not an entry: left alone
    WriteFile(other, "x");

    const std::vector<SGaugeEntry> gauges = ListLiveGauges(folder);
    ASSERT_EQ(gauges.size(), 1u);
    EXPECT_EQ(gauges[0].name, "live");
    EXPECT_FALSE(fs::exists(ended));
    EXPECT_FALSE(fs::exists(reused));
    EXPECT_FALSE(fs::exists(noTerminal));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_TRUE(fs::exists(live.EntryPath()));
}

TEST_F(GaugeRegistryTest, AFolderOthersCanWriteIsNotTrusted) {
    CGaugeRegistration first(pty.SlavePath(), "g", folder);
    ASSERT_EQ(ListLiveGauges(folder).size(), 1u);
    fs::permissions(folder, fs::perms::all);
    EXPECT_TRUE(ListLiveGauges(folder).empty());
    CGaugeRegistration second(pty.SlavePath() + "x", "g", folder);
    EXPECT_FALSE(second.IsRegistered());

    const fs::path link = dir.Path() / "link";
    fs::permissions(folder, fs::perms::owner_all);
    fs::create_directory_symlink(folder, link);
    EXPECT_TRUE(ListLiveGauges(link).empty());
}
