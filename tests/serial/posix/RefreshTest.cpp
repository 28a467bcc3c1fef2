#include "serial/FakePortSearchLayer.h"
#include "serial/FindSerialPorts.h"
#include "serial/posix/PtyDialogFixture.h"

namespace {

using namespace std::chrono_literals;
using Entry = CFakePortSearchLayer::SInterfaceEntry;

// The box lists the friendly names of the port list, in order.
void ExpectBoxMatchesList(const CHeadlessHost& host, const CTillerbyDlg& dlg) {
    std::vector<std::string> names;
    for (const SSerInfo& info : dlg.PortList())
        names.push_back(info.friendlyName);
    EXPECT_EQ(host.Control(ids::kPortList).items, names);
}

}  // namespace

TEST(RefreshTest, EnumerationErrorsAreShownAndListAndBoxStillAgree) {
    CFakePortSearchLayer layer;
    layer.interfaces = {Entry{"/dev/a", "Adapter A (a)", "Adapter A", "USB"},
                        Entry{"/dev/b", "Adapter B (b)", "Adapter B", "USB"}};
    layer.enumErrorIndex = 1;
    layer.enumErrorCode = 0x1f;
    SDialogServices services;
    services.findSerialPorts = [&layer](SerInfoList& list) { FindSerialPorts(layer, list); };
    int portsMade = 0;
    services.makeSerialPort = [&portsMade]() -> std::unique_ptr<ISerialPort> {
        ++portsMade;
        return nullptr;
    };
    CHeadlessHost host;
    CTillerbyDlg dlg(host, services);
    host.Attach(&dlg);

    dlg.OnInitDialog();
    EXPECT_EQ(host.Messages(),
              std::vector<std::string>{"SetupDiEnumDeviceInterfaces failed. (err=1f)"});
    EXPECT_EQ(host.GetWindowText(ids::kStatus), "Ready");  // start-up went on
    ExpectBoxMatchesList(host, dlg);
    EXPECT_EQ(dlg.PortList().size(), 1u);
    EXPECT_EQ(host.GetCurSel(ids::kPortList), 0);
    EXPECT_TRUE(host.IsWindowEnabled(ids::kConnect));

    // A later Refresh that finds everything, then one that fails at once.
    layer.enumErrorIndex.reset();
    host.ClearMessages();
    host.Click(ids::kRefresh);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(dlg.PortList().size(), 2u);
    ExpectBoxMatchesList(host, dlg);

    layer.openSetError = 0x5;
    host.Click(ids::kRefresh);
    EXPECT_EQ(host.Messages(), std::vector<std::string>{"SetupDiGetClassDevs failed. (err=5)"});
    EXPECT_TRUE(dlg.PortList().empty());
    ExpectBoxMatchesList(host, dlg);
    EXPECT_FALSE(host.IsWindowEnabled(ids::kConnect));
    EXPECT_EQ(portsMade, 0);
}

using RefreshWhileOpenTest = PtyDialogFixture;

TEST_F(RefreshWhileOpenTest, RebuildsTheBoxWithoutTouchingTheOpenPort) {
    ports.push_back(SSerInfo{"/dev/other", "", "Other (other)", false, "Other"});
    host.Click(ids::kRefresh);
    host.SetCurSel(ids::kPortList, 0);
    host.Click(ids::kConnect);
    ASSERT_TRUE(dlg->IsPortOpen());

    ports.clear();
    host.Click(ids::kRefresh);
    EXPECT_TRUE(host.Control(ids::kPortList).items.empty());
    EXPECT_EQ(Caption(), "Disconnect");
    EXPECT_FALSE(host.IsWindowEnabled(ids::kConnect));
    EXPECT_TRUE(dlg->IsPortOpen());

    // The line still works both ways.
    pty.Send("x");
    EXPECT_TRUE(host.RunNotification(1s));
    EXPECT_EQ(dlg->WriteSerial("CON\r\n", 5), 5u);
    EXPECT_EQ(pty.Receive(5, 1s), "CON\r\n");

    enumerationError = "SetupDiGetClassDevs failed. (err=2)";
    ports = {SSerInfo{"/dev/third", "", "Third (third)", false, "Third"}};
    host.Click(ids::kRefresh);
    EXPECT_EQ(host.Messages(), std::vector<std::string>{enumerationError});
    ExpectBoxMatchesList(host, *dlg);
    EXPECT_TRUE(host.IsWindowEnabled(ids::kConnect));
    EXPECT_EQ(host.GetCurSel(ids::kPortList), 0);

    host.Click(ids::kConnect);
    EXPECT_FALSE(dlg->IsPortOpen());
    EXPECT_EQ(Caption(), "Connect");
}
