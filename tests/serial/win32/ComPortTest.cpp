// The Windows serial layer and kestran-upload.exe against virtual gauges on COM ports that
// Wine maps onto their pseudo-terminals (tests/windows/WithGauges.sh): COM7 answers as a
// gauge does, COM8 hangs up at the fifth pixel line of a dial, COM9 reads nothing.
#include <gtest/gtest.h>
#include "platform/win32/WinApi.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <atomic>
#include <future>
#include <memory>
#include <thread>

#include "dialog/CTillerbyDlg.h"
#include "dialog/HeadlessHost.h"
#include "platform/win32/WinText.h"
#include "res/ControlIds.h"
#include "serial/PlatformServices.h"
#include "serial/PortNames.h"
#include "serial/win32/FakeFtdiPort.h"
#include "serial/win32/Win32SerialPort.h"
#include "support/GaugeFiles.h"
#include "support/TestImages.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const char kGauge[] = "COM7";
const char kHangingUp[] = "COM8";
const char kDeaf[] = "COM9";

std::string Env(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value != nullptr ? value : "";
}

// Runs kestran-upload.exe with `args`; answers its exit status, its output in `out`.
DWORD RunUploader(const std::string& args, const std::filesystem::path& outFile) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const CUniqueHandle out = OwnFileHandle(
        CreateFileW(outFile.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, 0, nullptr));
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = out.get();
    start.hStdError = out.get();
    std::wstring command = wintext::Wide("\"" + Env("KESTRAN_UPLOAD_EXE") + "\" " + args);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &start, &process)) {
        return 1000;
    }
    const CUniqueHandle processHandle(process.hProcess);
    const CUniqueHandle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, 180000);
    DWORD status = 1001;
    GetExitCodeProcess(process.hProcess, &status);
    return status;
}

class ComPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (GaugeOut(kGauge).empty())
            GTEST_SKIP() << "no virtual gauge on " << kGauge << " (run through WithGauges.sh)";
        host.Attach(&dlg);
        dlg.OnInitDialog();
    }

    // Picks `port` in the port list and connects.
    void Connect(const std::string& port) {
        const SerInfoList& list = dlg.PortList();
        int index = -1;
        for (size_t i = 0; i < list.size(); ++i) {
            if (portnames::SamePortName(portnames::PortNameOf(list[i]), port))
                index = static_cast<int>(i);
        }
        ASSERT_GE(index, 0) << port << " is not in the port list";
        ASSERT_TRUE(host.SelectItem(ids::kPortList, index));
        ASSERT_TRUE(host.Click(ids::kConnect));
        ASSERT_TRUE(dlg.IsPortOpen()) << testing::PrintToString(host.Messages());
    }
    void StartIasUpload() {
        host.QueueFileDialogAnswer(WriteTestPng(dir, "ias.png", 230, 230, 32, [](int x, int y) {
            return SBgra{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7, 255};
        }));
        ASSERT_TRUE(host.Click(ids::kSelectIasDial));
        ASSERT_TRUE(host.Click(ids::kUpdate));
    }
    std::chrono::milliseconds TimedDisconnect() {
        const auto start = Clock::now();
        host.Click(ids::kConnect);
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    }

    CTempDir dir;
    CHeadlessHost host;
    CTillerbyDlg dlg{host, MakePlatformServices()};
};

}  // namespace

TEST_F(ComPortTest, TheUploaderListsThePortsAndSendsEveryStageExactly) {
    const std::filesystem::path listed = dir.Path() / "list.txt";
    ASSERT_EQ(RunUploader("--list", listed), 0u) << ReadFileBytes(listed);
    EXPECT_NE(ReadFileBytes(listed).find("\\\\.\\COM7\tCOM7"), std::string::npos) << ReadFileBytes(listed);

    const std::string ias = WriteTestPng(dir, "dial ias.png", 230, 230, 32,
                                         [](int x, int y) { return BandedDial(1, x, y); });
    const std::string tas = WriteTestPng(dir, "dial tas.png", 230, 230, 32,
                                         [](int x, int y) { return BandedDial(2, x, y); });
    const std::string table = dir.File("speeds.gac");
    std::ofstream(table) << "10|7.5|15.0|22.5|30.0|50.0|70.0|90.0|113.0|136.0|161.0";
    const std::filesystem::path log = dir.Path() / "upload.txt";
    EXPECT_EQ(RunUploader("--port com7 --ias \"" + ias + "\" --tas \"" + tas + "\" --table \"" +
                              table + "\"",
                          log),
              0u)
        << ReadFileBytes(log);

    const std::filesystem::path out = GaugeOut(kGauge);
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(out / "table.txt"); }, 10s));
    EXPECT_TRUE(SamePicture(ias, (out / "ias.png").string()));
    EXPECT_TRUE(SamePicture(tas, (out / "tas.png").string()));
    EXPECT_EQ(ReadFileBytes(out / "table.txt").substr(0, 26), "entries 10\n10 7.5\n20 15.0\n");
}

TEST_F(ComPortTest, DisconnectIsPromptWhileTheReaderWaitsForInput) {
    Connect(kGauge);
    std::this_thread::sleep_for(100ms);
    EXPECT_LT(TimedDisconnect(), 1000ms);
    EXPECT_EQ(dlg.ReaderExitCode(), 0);
}

TEST_F(ComPortTest, DisconnectIsPromptWhileTheReaderWaitsForTheHandler) {
    Connect(kGauge);
    ASSERT_EQ(dlg.WriteSerial("LOAD=11\r\n", 9), 9u);
    // The gauge's READY stays unhandled: the reader waits for the data-consumed event.
    ASSERT_TRUE(WaitFor([&] { return host.PendingNotifications() > 0; }, 5000ms));
    std::this_thread::sleep_for(30ms);
    EXPECT_LT(TimedDisconnect(), 1000ms);
    EXPECT_FALSE(dlg.IsPortOpen());
    EXPECT_EQ(dlg.ReaderExitCode(), 0);
}

TEST_F(ComPortTest, APortThatIsHeldIsRefused) {
    CWin32SerialPort holder;
    ASSERT_TRUE(holder.Open("\\\\.\\COM7")) << holder.FailureReason();
    const SerInfoList& list = dlg.PortList();
    for (size_t i = 0; i < list.size(); ++i) {
        if (portnames::SamePortName(portnames::PortNameOf(list[i]), kGauge))
            host.SelectItem(ids::kPortList, static_cast<int>(i));
    }
    host.Click(ids::kConnect);
    EXPECT_EQ(host.Messages(), std::vector<std::string>{"Failed to open COM port!"});
    ASSERT_EQ(host.MessageReasons().size(), 1u);
    EXPECT_NE(host.MessageReasons()[0].find("holds the port"), std::string::npos)
        << host.MessageReasons()[0];
    EXPECT_FALSE(dlg.IsPortOpen());
}

TEST_F(ComPortTest, AGaugeThatHangsUpMidDialEndsTheUpload) {
    if (GaugeOut(kHangingUp).empty())
        GTEST_SKIP() << "no hanging-up gauge on " << kHangingUp;
    Connect(kHangingUp);
    StartIasUpload();
    const auto deadline = Clock::now() + 20s;
    while (dlg.IsUploadRunning() && Clock::now() < deadline) {
        host.RunNotification(100ms);
    }
    EXPECT_EQ(host.GetWindowText(ids::kStatus), "Error occurred.  Please try again.");
    EXPECT_EQ(dlg.LastUploadResult(), EUploadResult::LineLost);
    EXPECT_EQ(host.Messages(), std::vector<std::string>{CTillerbyDlg::kLineLostMessage});
    EXPECT_EQ(dlg.ReaderExitCode(), -1);
    EXPECT_TRUE(host.Click(ids::kConnect));  // Disconnect, as the message asks
    EXPECT_FALSE(dlg.IsPortOpen());
}

TEST_F(ComPortTest, TheLineRunsAtTheGaugesFrameAndKeepsItsFlowControl) {
    CWin32SerialPort port;
    ASSERT_TRUE(port.Open("\\\\.\\COM7")) << port.FailureReason();
    DCB before{};
    before.DCBlength = sizeof before;
    ASSERT_TRUE(GetCommState(port.Handle(), &before));
    before.BaudRate = 9600;
    before.Parity = NOPARITY;
    before.ByteSize = 7;
    before.StopBits = TWOSTOPBITS;
    before.fOutxCtsFlow = TRUE;
    before.fRtsControl = RTS_CONTROL_HANDSHAKE;
    ASSERT_TRUE(SetCommState(port.Handle(), &before));
    ASSERT_TRUE(GetCommState(port.Handle(), &before));
    ASSERT_EQ(before.BaudRate, 9600u);

    port.ApplyLineSettings();
    DCB after{};
    after.DCBlength = sizeof after;
    ASSERT_TRUE(GetCommState(port.Handle(), &after));
    EXPECT_EQ(after.BaudRate, 38400u);
    EXPECT_EQ(after.ByteSize, 8);
    // The parity is not read back: a pseudo-terminal keeps none, whatever is set.
    EXPECT_EQ(after.StopBits, ONESTOPBIT);
    EXPECT_EQ(after.fOutxCtsFlow, before.fOutxCtsFlow);
    EXPECT_EQ(after.fRtsControl, before.fRtsControl);
}

// A device that takes nothing (CTS held low; here a gauge that reads nothing) and a driver
// that keeps no write time-out: a write still ends after its time-out, short.
TEST(ComPortWriteTest, AWriteThatCannotGoOutEndsAfterItsTimeOut) {
    if (GaugeOut(kDeaf).empty())
        GTEST_SKIP() << "no deaf gauge on " << kDeaf << " (run through WithGauges.sh)";
    auto port = std::make_shared<CWin32SerialPort>();
    ASSERT_TRUE(port->Open("\\\\.\\COM9")) << port->FailureReason();
    port->ApplyLineSettings();
    COMMTIMEOUTS none{};
    ASSERT_TRUE(SetCommTimeouts(port->Handle(), &none));
    // Blocks of 100 bytes until one comes back short, on a thread of its own: a write that
    // never ends must fail the test, not hang it.
    auto lastWrite = std::make_shared<std::promise<std::pair<uint32_t, Clock::duration>>>();
    auto writes = std::make_shared<std::atomic<int>>(0);
    std::thread([port, lastWrite, writes] {
        const std::string block(100, 'x');
        for (;;) {
            const auto start = Clock::now();
            const uint32_t written = port->Write(block.data(), 100);
            ++*writes;
            if (written < 100)
                return lastWrite->set_value({written, Clock::now() - start});
        }
    }).detach();
    auto last = lastWrite->get_future();
    ASSERT_EQ(last.wait_for(60s), std::future_status::ready) << "a write waits for ever";
    const auto [written, took] = last.get();
    EXPECT_GT(writes->load(), 1);  // the line took what it could hold first
    EXPECT_LT(written, 100u);
    EXPECT_GE(took, 900ms);  // 50 + 10 * 100 ms
    EXPECT_LT(took, 5000ms);
}

// The gauge's COM port as if an FTDI adapter at its default timer served it: warned of, and
// the timer left as it was.
TEST_F(ComPortTest, TheUploaderWarnsOfAnAdaptersLongLatencyTimer) {
    const CFakeFtdiPort adapter(kGauge, 16);
    ASSERT_TRUE(adapter.Made());
    CTempDir dir;
    const std::string tas = WriteTestPng(dir, "tas.png", 230, 230, 32, [](int x, int) -> SBgra {
        return {0, 0, 0, static_cast<uint8_t>(x < 115 ? 255 : 0)};
    });
    const std::filesystem::path out = dir.Path() / "upload.txt";
    EXPECT_EQ(RunUploader("--port COM7 --tas \"" + tas + "\"", out), 0u) << ReadFileBytes(out);
    const std::string text = ReadFileBytes(out);
    // The console's text mode ends lines with CR LF.
    EXPECT_NE(text.find("holds every reply back for 16 ms (its latency timer): the 462 lines of "
                        "this upload take about 7 seconds longer."),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  Set the timer to 1 ms: Device Manager"), std::string::npos);
    EXPECT_EQ(adapter.LatencyTimer(), 16u);
}
