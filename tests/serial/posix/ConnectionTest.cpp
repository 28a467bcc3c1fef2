#include <cstdio>

#include "serial/posix/PtyDialogFixture.h"
#include "support/TestImages.h"

namespace {

using namespace std::chrono_literals;

using ConnectionTest = PtyDialogFixture;

const char kNoSelection[] = "No serial port is selected: choose a port in the list first.";

}  // namespace

TEST_F(ConnectionTest, ConnectAndDisconnectToggleCaptionUpdateAndTheLine) {
    termios before = pty.Settings();
    cfsetispeed(&before, B9600);
    cfsetospeed(&before, B9600);
    before.c_iflag |= ICRNL | IXON | IXOFF | INPCK;
    before.c_lflag |= ICANON | ECHO | ISIG;
    before.c_oflag |= OPOST | ONLCR;
    before.c_cflag |= CRTSCTS;
    pty.SetSettings(before);
    const termios set = pty.Settings();
    ASSERT_EQ(cfgetospeed(&set), B9600);

    host.Click(ids::kMaxSpeedCheck);
    ASSERT_EQ(host.GetCheck(ids::kMaxSpeedCheck), 1);
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    EXPECT_EQ(Caption(), "Connect");

    host.Click(ids::kConnect);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_TRUE(dlg->IsPortOpen());
    EXPECT_EQ(Caption(), "Disconnect");
    EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
    // Raw at 38400 baud; the pseudo-terminal refuses parity, which must not cost the rest.
    const termios after = pty.Settings();
    EXPECT_EQ(cfgetispeed(&after), B38400);
    EXPECT_EQ(cfgetospeed(&after), B38400);
    EXPECT_EQ(after.c_cflag & (CSIZE | CSTOPB), static_cast<tcflag_t>(CS8));
    EXPECT_EQ(after.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(after.c_iflag & ICRNL, 0u);
    EXPECT_EQ(after.c_oflag & OPOST, 0u);
    // Flow control and the parity check as found.
    EXPECT_EQ(after.c_iflag & (IXON | IXOFF | INPCK), static_cast<tcflag_t>(IXON | IXOFF | INPCK));
    EXPECT_EQ(after.c_cflag & CRTSCTS, static_cast<tcflag_t>(CRTSCTS));

    host.Click(ids::kConnect);
    EXPECT_FALSE(dlg->IsPortOpen());
    EXPECT_EQ(Caption(), "Connect");
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    EXPECT_EQ(dlg->ReaderExitCode(), 0);

    // The port was given back whole: it opens again, here and for others.
    host.Click(ids::kConnect);
    EXPECT_TRUE(dlg->IsPortOpen());
    dlg.reset();  // closing the dialog ends the connection first
    CPosixSerialPort other;
    EXPECT_TRUE(other.Open(pty.SlavePath()));
}

TEST_F(ConnectionTest, PortsThatCannotBeOpenedAreReported) {
    CPosixSerialPort holder;
    ASSERT_TRUE(holder.Open(pty.SlavePath()));
    host.Click(ids::kConnect);
    EXPECT_EQ(host.Messages(), std::vector<std::string>{"Failed to open COM port!"});
    EXPECT_FALSE(dlg->IsPortOpen());
    EXPECT_EQ(Caption(), "Connect");
    holder.Close();

    // A second copy of the program is kept out too.
    CHeadlessHost secondHost;
    SDialogServices services = FakeServices(ports, line);
    services.makeSerialPort = portFactory;
    CTillerbyDlg second(secondHost, services);
    secondHost.Attach(&second);
    second.OnInitDialog();
    host.Click(ids::kConnect);
    ASSERT_TRUE(dlg->IsPortOpen());
    secondHost.Click(ids::kConnect);
    EXPECT_EQ(secondHost.Messages(), std::vector<std::string>{"Failed to open COM port!"});
    EXPECT_EQ(secondHost.GetWindowText(ids::kConnect), "Connect");
    host.Click(ids::kConnect);

    // Absent, and not a terminal at all.
    CTempDir dir;
    const std::string plainFile = dir.File("not-a-port");
    std::fclose(std::fopen(plainFile.c_str(), "w"));
    for (const std::string& path : {std::string("/dev/pts/no-such-terminal"), plainFile}) {
        host.ClearMessages();
        ports[0].devicePath = path;
        host.Click(ids::kRefresh);
        host.Click(ids::kConnect);
        EXPECT_EQ(host.Messages(), std::vector<std::string>{"Failed to open COM port!"}) << path;
        EXPECT_EQ(Caption(), "Connect");
    }
    EXPECT_EQ(
        host.MessageReasons(),
        std::vector<std::string>{plainFile + ": Not a serial port: the device is not a terminal"});
}

TEST_F(ConnectionTest, ConnectWithoutAValidSelectionOpensNothing) {
    host.SetCurSel(ids::kPortList, -1);
    host.Click(ids::kConnect);
    EXPECT_EQ(host.Messages(), std::vector<std::string>{kNoSelection});

    // An entry of the box without a record behind it.
    host.AddString(ids::kPortList, "stray");
    host.SetCurSel(ids::kPortList, 1);
    host.Click(ids::kConnect);
    EXPECT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(host.Messages().back(), kNoSelection);

    EXPECT_EQ(portsMade, 0);
    EXPECT_FALSE(dlg->IsPortOpen());
    EXPECT_EQ(Caption(), "Connect");
}

TEST_F(ConnectionTest, DisconnectIsPromptWhileTheReaderSleepsOrWaitsForTheHandler) {
    host.Click(ids::kConnect);
    std::this_thread::sleep_for(50ms);  // nothing arrives: the reader waits in the kernel
    EXPECT_LT(TimedClick(), 100ms);
    EXPECT_EQ(Caption(), "Connect");
    EXPECT_EQ(dlg->ReaderExitCode(), 0);

    host.Click(ids::kConnect);
    pty.Send("READY");
    ASSERT_TRUE(WaitFor([this] { return host.PendingNotifications() == 1; }, 2s));
    // The notification stays unhandled and the bytes unread: the reader now waits up to
    // 300 ms for the handler.
    std::this_thread::sleep_for(30ms);
    EXPECT_LT(TimedClick(), 100ms);
    EXPECT_EQ(dlg->ReaderExitCode(), 0);
}

TEST_F(ConnectionTest, BytesArrivingDuringAHandlerAreReadByTheNextNotification) {
    CTempDir dir;
    host.QueueFileDialogAnswer(WriteTestPng(dir, "plain.png", 230, 230, 32, [](int, int) {
        return SBgra{0x10, 0x20, 0x30, 0xFF};
    }));
    host.Click(ids::kSelectIasDial);
    host.Click(ids::kConnect);
    host.Click(ids::kUpdate);
    EXPECT_EQ(pty.Receive(9, 1s), "LOAD=11\r\n");

    // While the handler answers "READY", the device already acknowledges.
    afterWrite = [this] {
        pty.Send("U");
        std::this_thread::sleep_for(20ms);
    };
    pty.Send("READY");
    ASSERT_TRUE(host.RunNotification(1s));
    afterWrite = nullptr;
    EXPECT_EQ(pty.Receive(10, 1s), "00102030\r\n");

    // Well before the 300 ms fallback.
    ASSERT_TRUE(host.RunNotification(150ms));
    EXPECT_EQ(pty.Receive(16, 1s), "52899|00102030\r\n");
}

TEST_F(ConnectionTest, AHungUpLineEndsTheReaderButNotTheProgram) {
    host.Click(ids::kConnect);
    pty.HangUp();
    ASSERT_TRUE(WaitFor([this] { return dlg->ReaderExitCode() == -1; }, 2s));
    EXPECT_TRUE(dlg->IsPortOpen());  // the dialog still shows the port as open
    EXPECT_EQ(Caption(), "Disconnect");

    const auto start = Clock::now();
    EXPECT_EQ(dlg->WriteSerial("END\r\n", 5), 0u);
    EXPECT_LT(Clock::now() - start, 100ms);

    EXPECT_LT(TimedClick(), 100ms);
    EXPECT_FALSE(dlg->IsPortOpen());
    EXPECT_EQ(Caption(), "Connect");
}
