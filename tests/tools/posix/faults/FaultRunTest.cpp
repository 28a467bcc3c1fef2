// A misbehaving gauge on a real pseudo-terminal, against the main dialog with its terminal
// port and reader thread: whatever the gauge does, the dialog stays usable, gives the port
// back, and the next upload arrives exactly.
#if defined(KESTRAN_GAUGE_SERVER)

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "dialog/CTillerbyDlg.h"
#include "dialog/HeadlessHost.h"
#include "res/ControlIds.h"
#include "serial/posix/PosixSerialPort.h"
#include "support/TestImages.h"
#include "tools/posix/GaugeRuns.h"
#include "tools/posix/faults/ServedGauge.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

const char kCompleted[] = "Update completed.";
const char kErrorEnd[] = "Error occurred.  Please try again.";

// The table the dialog starts with, in tenths of a degree.
const std::vector<int> kStartTable = {75,   150,  225,  300,  500,  700,  900,  1130, 1360, 1610,
                                      1860, 2080, 2250, 2410, 2560, 2690, 2820, 2940, 3060, 3180};

enum class EOutcome {
    ErrorEnd,  // the dialog told the gauge ERR and is unlocked again
    Waits,     // the dialog waits for a reply that does not come, locked
    LineLost,  // the line hung up: the dialog ends the upload, says so and unlocks
};

}  // namespace

class FaultRunTest : public ::testing::Test {
protected:
    void TearDown() override { CloseDialog(); }

    // A dialog as at program start, with the gauge's port in its list, the two dials and
    // the start-up table chosen and the port connected.
    void OpenDialog(const std::string& port) {
        host = std::make_unique<CHeadlessHost>();
        SDialogServices services;
        gaugePort = port;
        services.findSerialPorts = [this](SerInfoList& list) {
            list = {SSerInfo{gaugePort, "", "Gauge (pty)", false, "Gauge"}};
        };
        services.makeSerialPort = [] { return std::make_unique<CPosixSerialPort>(); };
        dlg = std::make_unique<CTillerbyDlg>(*host, services);
        host->Attach(dlg.get());
        dlg->OnInitDialog();
        host->QueueFileDialogAnswer(ias);
        ASSERT_TRUE(host->Click(ids::kSelectIasDial));
        host->QueueFileDialogAnswer(tas);
        ASSERT_TRUE(host->Click(ids::kSelectTasDial));
        ASSERT_TRUE(host->Click(ids::kMaxSpeedCheck));
        ASSERT_TRUE(host->Click(ids::kConnect));
        ASSERT_TRUE(dlg->IsPortOpen());
        ASSERT_TRUE(host->Messages().empty()) << host->Messages().front();
    }

    // Closes the dialog as closing the window does; answers how long that took.
    milliseconds CloseDialog() {
        const auto start = Clock::now();
        if (dlg)
            dlg->OnEndDialog();
        const auto took = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
        dlg.reset();
        host.reset();
        return took;
    }

    milliseconds TimedClick(int id) {
        const auto start = Clock::now();
        EXPECT_TRUE(host->Click(id));
        return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
    }

    // Presses Update and serves the notifications as the window does, until the upload
    // ends or nothing arrives for `quiet` (longer than the gauge's spacing of replies).
    // `between` runs after each notification.
    std::string Upload(const std::function<void()>& between = {},
                       milliseconds quiet = milliseconds(800)) {
        EXPECT_TRUE(host->Click(ids::kUpdate));
        for (;;) {
            const std::string status = host->GetWindowText(ids::kStatus);
            if (!dlg->IsUploadRunning() ||
                !host->RunNotification(quiet))
                return status;
            if (between)
                between();
        }
    }

    // A complete upload to `gauge`, which is then stopped: everything arrived exactly.
    void ExpectCleanUpload(CServedGauge& gauge, const std::function<void()>& between = {}) {
        const int endedBefore = gauge.UploadsEnded();
        EXPECT_EQ(Upload(between), kCompleted);
        // The END line may still be on its way.
        WaitFor([&] { return gauge.UploadsEnded() > endedBefore; });
        gauge.Stop();
        EXPECT_EQ(gauge.UploadsEnded(), endedBefore + 1);
        EXPECT_TRUE(SamePicture(ias, gauge.Gauge().Dial(1)));
        EXPECT_TRUE(SamePicture(tas, gauge.Gauge().Dial(2)));
        EXPECT_EQ(gauge.Gauge().TableTenths(), kStartTable);
        EXPECT_TRUE(host->IsWindowEnabled(ids::kConnect));
    }

    CTempDir dir;
    const std::string ias = WriteSectorDial(dir, 1);
    const std::string tas = WriteSectorDial(dir, 2);
    std::string gaugePort;  // the one port the dialog finds
    std::unique_ptr<CHeadlessHost> host;
    std::unique_ptr<CTillerbyDlg> dlg;
};

TEST_F(FaultRunTest, TheDialogOutlivesEveryGaugeFaultAndTheNextUploadArrivesExactly) {
    struct SCase {
        const char* what;
        SGaugeFaults faults;
        EOutcome outcome;
        bool gaugeGoesOn;  // the fault was once: the same gauge takes the next upload
    };
    const SCase cases[] = {
        {"unexpected byte instead of READY", SGaugeFaults{.unexpectedByteAtLine = 1},
         EOutcome::ErrorEnd, true},
        {"unexpected byte in the IAS dial",
         SGaugeFaults{.unexpectedByteAtLine = 7, .faultStage = 1}, EOutcome::ErrorEnd, true},
        {"unexpected byte in the TAS dial",
         SGaugeFaults{.unexpectedByteAtLine = 40, .unexpectedByte = 'u', .faultStage = 2},
         EOutcome::ErrorEnd, true},
        {"unexpected byte for the table",
         SGaugeFaults{.unexpectedByteAtLine = 1, .unexpectedByte = 'F', .faultStage = 3},
         EOutcome::ErrorEnd, true},
        // Its first read holds one byte: an unexpected byte.
        {"READY split after its first byte", SGaugeFaults{.splitReadyAfter = 1}, EOutcome::ErrorEnd,
         false},
        // Two messages of several bytes, neither of them READY: both ignored.
        {"READY split as REA and DY", SGaugeFaults{.splitReadyAfter = 3}, EOutcome::Waits, false},
        {"READY with CR LF", SGaugeFaults{.readyWithLineEnd = true}, EOutcome::Waits, false},
        {"silence after LOAD", SGaugeFaults{.silentAfterLoad = true}, EOutcome::Waits, false},
        {"hang-up in the middle of the IAS dial",
         SGaugeFaults{.hangUpAtDialLine = 30, .faultStage = 1}, EOutcome::LineLost, false},
        {"hang-up in the middle of the TAS dial",
         SGaugeFaults{.hangUpAtDialLine = 30, .faultStage = 2}, EOutcome::LineLost, false},
        {"hang-up at the table line", SGaugeFaults{.hangUpAtDialLine = 1, .faultStage = 3},
         EOutcome::LineLost, false},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto gauge = std::make_unique<CServedGauge>(c.faults);
        ASSERT_TRUE(gauge->IsServing());
        ASSERT_NO_FATAL_FAILURE(OpenDialog(gauge->Port()));
        const std::string status = Upload();

        switch (c.outcome) {
            case EOutcome::ErrorEnd:
                EXPECT_EQ(status, kErrorEnd);
                EXPECT_TRUE(WaitFor([&] { return gauge->LastLine() == "ERR"; }));
                EXPECT_EQ(dlg->ReaderExitCode(), 1);  // still running
                // Unlocked: Disconnect and Connect again, promptly.
                EXPECT_LT(TimedClick(ids::kConnect), milliseconds(300));
                EXPECT_EQ(dlg->ReaderExitCode(), 0);
                EXPECT_EQ(host->GetWindowText(ids::kConnect), "Connect");
                break;
            case EOutcome::LineLost:
                EXPECT_EQ(status, kErrorEnd);
                EXPECT_EQ(dlg->LastUploadResult(), EUploadResult::LineLost);
                EXPECT_EQ(host->Messages(),
                          std::vector<std::string>{CTillerbyDlg::kLineLostMessage});
                EXPECT_EQ(dlg->ReaderExitCode(), -1);
                EXPECT_TRUE(WaitFor([&] { return !gauge->IsServing(); }));
                // Update on the lost line is refused rather than locking the dialog again.
                EXPECT_TRUE(host->Click(ids::kUpdate));
                EXPECT_EQ(host->Messages().size(), 2u);
                EXPECT_TRUE(host->IsWindowEnabled(ids::kConnect));
                host->ClearMessages();
                EXPECT_LT(TimedClick(ids::kConnect), milliseconds(300));  // Disconnect
                EXPECT_EQ(host->GetWindowText(ids::kConnect), "Connect");
                break;
            case EOutcome::Waits:
                EXPECT_NE(status, kCompleted);
                EXPECT_NE(status, kErrorEnd);
                EXPECT_FALSE(host->IsWindowEnabled(ids::kConnect));  // locked
                EXPECT_TRUE(dlg->IsPortOpen());
                EXPECT_EQ(dlg->ReaderExitCode(), 1);
                EXPECT_TRUE(gauge->IsServing());
                // Locked, the way out is closing the window: it ends the reader and gives
                // the port back at once.
                EXPECT_LT(CloseDialog(), milliseconds(300));
                break;
        }
        if (!c.gaugeGoesOn) {
            gauge->Stop();
            gauge = std::make_unique<CServedGauge>();
            ASSERT_TRUE(gauge->IsServing());
        }
        if (dlg) {
            gaugePort = gauge->Port();
            ASSERT_TRUE(host->Click(ids::kRefresh));
            ASSERT_TRUE(host->Click(ids::kConnect));
            ASSERT_TRUE(dlg->IsPortOpen());
        } else {
            ASSERT_NO_FATAL_FAILURE(OpenDialog(gauge->Port()));
        }
        ExpectCleanUpload(*gauge);
        CloseDialog();
    }
}

TEST_F(FaultRunTest, OtherProgramsOpeningThePortMidwayDoNotDisturbTheUpload) {
    CServedGauge gauge;
    ASSERT_TRUE(gauge.IsServing());
    ASSERT_NO_FATAL_FAILURE(OpenDialog(gauge.Port()));
    bool visited = false;
    ExpectCleanUpload(gauge, [&] {
        if (visited || gauge.Lines() < 40)
            return;
        visited = true;
        // The gauge's reply to the line just written waits unread.
        std::this_thread::sleep_for(milliseconds(30));
        // A port scanner that opens and closes the port, and a second copy of the program,
        // which is refused.
        const int scanner = open(gauge.Port().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (scanner >= 0)
            close(scanner);
        CPosixSerialPort second;
        EXPECT_FALSE(second.Open(gauge.Port()));
        std::this_thread::sleep_for(milliseconds(30));  // the gauge has seen them go
    });
    EXPECT_TRUE(visited);
}

#endif
