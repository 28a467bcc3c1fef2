// The two command-line tools against each other over real pseudo-terminals: kestran-upload
// drives the dialog's handlers, kestran-gauge answers as the device and writes out what it
// received.
#if defined(KESTRAN_GAUGE_PROGRAM) && defined(KESTRAN_UPLOAD_PROGRAM)

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "artwork/DecodeArtwork.h"
#include "artwork/NeedleSheet.h"
#include "support/ChildProcess.h"
#include "support/FileBytes.h"
#include "support/TestImages.h"
#include "tools/posix/GaugeRuns.h"

namespace {

using std::chrono::seconds;

class UploadToGaugeTest : public ::testing::Test {
protected:
    // Starts a gauge writing into out<n>, its port in `port`.
    void StartGauge(std::vector<std::string> args) {
        outDir = dir.Path() / ("out" + std::to_string(++m_gauges));
        args.insert(args.end(), {"--out", outDir.string()});
        const std::string tag = "gauge" + std::to_string(m_gauges);
        gauge = std::make_unique<CChildProcess>(KESTRAN_GAUGE_PROGRAM, args, env,
                                                dir.File(tag + ".out"), dir.File(tag + ".err"));
        port = gauge->FirstLine(seconds(10)).value_or("");
        ASSERT_FALSE(port.empty()) << gauge->Errors();
    }

    struct SRun {
        int status = -100;  // -100: did not end in time
        std::string output, errors;
        CChildProcess::Clock::duration took;  // from start to end
    };
    std::unique_ptr<CChildProcess> StartUpload(const std::vector<std::string>& args) {
        const std::string tag = "upload" + std::to_string(++m_uploads);
        return std::make_unique<CChildProcess>(KESTRAN_UPLOAD_PROGRAM, args, env,
                                               dir.File(tag + ".out"), dir.File(tag + ".err"));
    }
    SRun Upload(const std::vector<std::string>& args, seconds limit = seconds(60)) {
        const auto start = CChildProcess::Clock::now();
        const auto upload = StartUpload(args);
        const int status = upload->Wait(limit).value_or(-100);
        return {status, upload->Output(), upload->Errors(), CChildProcess::Clock::now() - start};
    }

    // Waits until the gauge has told `text` on its error stream (`times` times): the
    // uploader may end before the gauge has written out what it got.
    bool GaugeSaid(const std::string& text, int times = 1) {
        return WaitFor([&] { return Count(gauge->Errors(), text) >= times; }, seconds(10));
    }

    // A gauge file of 20 entries (200 knots), 12.3 degrees apart; `expectedTable` gets the
    // table as the gauge writes it out, `tableAngles` its angles.
    std::string TableFile() {
        std::string line = "20";
        expectedTable = "entries 20\n";
        for (int k = 1; k <= 20; ++k) {
            const std::string angle =
                std::to_string(123 * k / 10) + "." + std::to_string(123 * k % 10);
            line += "|" + angle;
            tableAngles.push_back(123 * k / 10.0);
            expectedTable += std::to_string(10 * k) + " " + angle + "\n";
        }
        const std::string path = dir.File("table.gac");
        std::ofstream(path) << line;
        return path;
    }

    CTempDir dir;
    std::vector<std::string> env = RuntimeEnv(dir);
    // A dial of a few lines, to follow a broken upload.
    const std::string halves = WriteTestPng(dir, "halves.png", 230, 230, 32, [](int, int y) {
        return y < 115 ? SBgra{0, 0, 0, 0} : SBgra{10, 20, 30, 255};
    });
    std::unique_ptr<CChildProcess> gauge;
    std::filesystem::path outDir;
    std::string port;
    std::string expectedTable;
    std::vector<double> tableAngles;

private:
    int m_gauges = 0;
    int m_uploads = 0;
};

}  // namespace

TEST_F(UploadToGaugeTest, EveryStageCombinationArrivesExactly) {
    ASSERT_NO_FATAL_FAILURE(StartGauge({"--name", "bench 7"}));
    // While it runs, the gauge is listed as a virtual gauge.
    const SRun list = Upload({"--list"});
    EXPECT_EQ(list.status, 0) << list.errors;
    const std::string shortName = port.substr(std::string("/dev/").size());
    EXPECT_TRUE(
        Contains(list.output, port + "\tKestran virtual gauge bench 7 (" + shortName + ")\n"))
        << list.output;
    const std::string table = TableFile();

    struct SCombination {
        bool ias, tas, table;
    };
    // One gauge for all: it also lives through the uploader connecting and disconnecting.
    const SCombination combinations[] = {
        {true, false, false}, {false, true, false}, {false, true, true},
        {true, true, false},  {true, true, true},
    };
    int variant = 0;
    int uploads = 0;
    for (const SCombination& c : combinations) {
        SCOPED_TRACE(std::string("IAS ") + (c.ias ? "yes" : "no") + ", TAS " +
                     (c.tas ? "yes" : "no") + ", table " + (c.table ? "yes" : "no"));
        std::vector<std::string> args = {"--port", port};
        const std::string ias = WriteSectorDial(dir, ++variant);
        const std::string tas = WriteSectorDial(dir, ++variant);
        if (c.ias)
            args.insert(args.end(), {"--ias", ias});
        if (c.tas)
            args.insert(args.end(), {"--tas", tas});
        if (c.table)
            args.insert(args.end(), {"--table", table});

        const SRun run = Upload(args);
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_TRUE(Contains(run.errors, "\nUpdate completed.\n")) << run.errors;
        ASSERT_TRUE(GaugeSaid("upload " + std::to_string(++uploads) + " ended")) << gauge->Errors();
        if (c.ias) {
            EXPECT_TRUE(SamePicture(ias, (outDir / "ias.png").string()));
        }
        if (c.tas) {
            EXPECT_TRUE(SamePicture(tas, (outDir / "tas.png").string()));
        }
        if (c.table) {
            EXPECT_EQ(ReadFileBytes((outDir / "table.txt").string()), expectedTable);
            // The needles on the dial the gauge holds, drawn as kestran-dial draws them.
            SRgbaPicture dial, needles;
            ASSERT_TRUE(artwork::LoadArtwork(tas, dial, nullptr));
            ASSERT_TRUE(artwork::LoadArtwork((outDir / "needles.png").string(), needles, nullptr));
            EXPECT_EQ(needles.rgba, artwork::DrawNeedleSheet(dial, tableAngles, {}).rgba);
        }
        if (uploads == 1) {
            // A fresh gauge holds only what it was sent.
            EXPECT_FALSE(std::filesystem::exists(outDir / "tas.png"));
            EXPECT_FALSE(std::filesystem::exists(outDir / "table.txt"));
            EXPECT_FALSE(std::filesystem::exists(outDir / "needles.png"));
        }
    }
    EXPECT_FALSE(Contains(gauge->Errors(), "breach")) << gauge->Errors();

    // Stopped by a signal, the gauge ends cleanly and leaves Kestran's list.
    gauge->Signal(SIGTERM);
    EXPECT_EQ(gauge->Wait(seconds(5)), 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path() / "runtime" / "kestran-gauges"));
}

TEST_F(UploadToGaugeTest, DeviceFaultsEndWithTheirStatus) {
    const std::string dial = WriteSectorDial(dir, 1);
    {
        SCOPED_TRACE("silent after LOAD");
        StartGauge({"--silent-after-load"});
        const SRun run = Upload({"--port", port, "--ias", dial, "--timeout", "1"});
        // Held to its scale: a second of silence, not several.
        EXPECT_GE(run.took, seconds(1));
        EXPECT_LT(run.took, seconds(3));
        EXPECT_EQ(run.status, 3) << run.errors;
        EXPECT_TRUE(Contains(run.errors, "No answer from the device for 1 second;")) << run.errors;
    }
    const std::string table = TableFile();
    struct SCase {
        std::vector<std::string> gauge;
        int status;
    };
    const SCase cases[] = {
        {{"--unexpected-byte-at", "3"}, 1},
        {{"--in-stage", "3", "--unexpected-byte-at", "1"}, 1},
        {{"--split-ready", "1"}, 1},                    // "R" alone is an unexpected byte
        {{"--split-ready", "2"}, 3},                    // "RE" and "ADY" are both ignored
        {{"--in-stage", "3", "--hang-up-at", "1"}, 1},  // the line is lost: an error end
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.gauge.front() + " " + c.gauge.back());
        StartGauge(c.gauge);
        const SRun run =
            Upload({"--port", port, "--tas", dial, "--table", table, "--timeout", "1"});
        EXPECT_EQ(run.status, c.status) << run.errors;
        if (c.status == 1) {
            EXPECT_TRUE(Contains(run.errors, "\nError occurred.  Please try again.\n"))
                << run.errors;
        }
    }
}

TEST_F(UploadToGaugeTest, RefusedInputSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(StartGauge({}));
    const std::string table = TableFile();
    const std::string dial = WriteSectorDial(dir, 1);
    const std::string small = WriteTestPng(dir, "small.png", 100, 100, 32,
                                           [](int x, int y) { return SectorDial(1, x, y); });
    const std::string shortFile = dir.File("short.gac");
    std::ofstream(shortFile) << "12|5|10|15";
    const std::string falling = dir.File("falling.gac");
    std::ofstream(falling) << "10|5|10|15|20|25|20|35|40|45|50";
    struct SCase {
        std::vector<std::string> args;
        std::string message;
    };
    const SCase cases[] = {
        {{"--port", port, "--ias", dial, "--table", table},
         "Due to the arrangement and limitation of the storage on the device, angle table can "
         "only be updated together with TAS dial."},
        {{"--port", port, "--tas", small},
         "Image resolution must be 230 x 230 pixels\n  small.png is 100 x 100 pixels; the Dial "
         "Workshop or kestran-dial prepare makes a 230 x 230 dial with alpha of it.\n"},
        {{"--port", port, "--ias", table}, "Image load error\n  table.gac: not a PNG picture"},
        {{"--port", "COM3", "--ias", dial},
         "COM3 is a port name of Windows; here ports are paths such as /dev/ttyUSB0, and "
         "kestran-upload --list shows them"},
        {{"--port", dir.File("no-such-port"), "--ias", dial},
         "Failed to open COM port!\n  " + dir.File("no-such-port") + ": "},
        {{"--ias", dial}, "--port is missing"},
        {{"--port", "--ias", dial}, "the value of --port is missing"},
        {{"--port", port, "--port", port, "--ias", dial},
         "--port " + port + " names the same port as --port " + port},
        {{"--port", port, "--ias", dial, "--timeout", "90000"},
         "--timeout takes a number of seconds more than 0 and at most 86400"},
        {{"--port", port, "--ias", dial, "--timeout", "1.2.3"},
         "--timeout takes a number of seconds more than 0 and at most 86400, not \"1.2.3\""},
        // Tables nobody can see on the screen are checked before connecting too.
        {{"--port", port, "--tas", dial, "--table", shortFile},
         shortFile + " gives 3 angles for its 12 entries\n"},
        {{"--port", port, "--tas", dial, "--table", falling},
         "Needle angle for 60 knots doesn't seem right\n"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.message);
        const SRun run = Upload(c.args);
        EXPECT_EQ(run.status, 2) << run.errors;
        EXPECT_TRUE(Contains(run.errors, "kestran-upload: " + c.message)) << run.errors;
        // Refused before the port was opened, unless the port is what is refused.
        if (!Contains(c.message, "COM port")) {
            EXPECT_FALSE(Contains(run.errors, "Ready")) << run.errors;
        }
    }
    EXPECT_FALSE(Contains(gauge->Errors(), "<- ")) << gauge->Errors();

    // Forced, it goes as it stands, and --verbose shows what.
    const SRun forced =
        Upload({"--port", port, "--tas", dial, "--table", falling, "--force", "--verbose"});
    EXPECT_EQ(forced.status, 0) << forced.errors;
    EXPECT_TRUE(Contains(forced.errors, "   50 knots   25.0 degrees\n   60 knots   20.0 degrees\n"))
        << forced.errors;
}

TEST_F(UploadToGaugeTest, InterruptedUploadsTellTheGaugeAndGiveThePortBack) {
    ASSERT_NO_FATAL_FAILURE(StartGauge({"--delay", "20"}));
    const std::string dial = WriteSectorDial(dir, 1);
    int round = 0;
    struct SCase {
        std::vector<int> signals;  // sent back to back; the first one decides
        int status;
    };
    for (const SCase& c : {SCase{{SIGINT}, 130}, SCase{{SIGTERM}, 143}, SCase{{SIGHUP}, 129},
                           SCase{{SIGINT, SIGTERM}, 130}}) {
        SCOPED_TRACE(testing::PrintToString(c.signals));
        const auto upload = StartUpload({"--port", port, "--ias", dial});
        ++round;
        ASSERT_TRUE(GaugeSaid("-> READY", round)) << gauge->Errors();
        for (const int signal : c.signals)
            upload->Signal(signal);
        EXPECT_EQ(upload->Wait(seconds(5)), c.status) << upload->Errors();
        EXPECT_TRUE(Contains(upload->Errors(),
                             "Update interrupted.\nkestran-upload: The gauge holds an incomplete "
                             "dial until the next complete upload.\n"))
            << upload->Errors();
        ASSERT_TRUE(GaugeSaid("<- ERR", round)) << gauge->Errors();
        ASSERT_TRUE(GaugeSaid("the port was closed", round)) << gauge->Errors();
    }
    // The port is free again: a dial of two lines goes through.
    const std::string plain = WriteTestPng(dir, "plain.png", 230, 230, 32, [](int, int) {
        return SBgra{1, 2, 3, 255};
    });
    EXPECT_EQ(Upload({"--port", port, "--ias", plain, "--timeout", "86400"}).status, 0);
}

TEST_F(UploadToGaugeTest, TheTimeOutCountsFromTheLastAcknowledgementNotFromTheStart) {
    // A quarter of a second per reply, a dial of 20 lines: five times the time-out in all,
    // and never a second without an acknowledgement.
    ASSERT_NO_FATAL_FAILURE(StartGauge({"--delay", "250"}));
    const std::string bands = WriteTestPng(dir, "bands.png", 230, 230, 32, [](int, int y) {
        return SBgra{static_cast<uint8_t>(y / 12), 20, 30, 255};
    });
    const SRun run = Upload({"--port", port, "--tas", bands, "--timeout", "1"});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_GT(run.took, seconds(4));
}

TEST_F(UploadToGaugeTest, ABabblingGaugeIsGivenUpOnLikeASilentOne) {
    ASSERT_NO_FATAL_FAILURE(StartGauge({"--babble", "40"}));  // 8 seconds of noise
    const SRun run = Upload({"--port", port, "--ias", WriteSectorDial(dir, 1), "--timeout", "1"});
    EXPECT_EQ(run.status, 3) << run.errors;
    EXPECT_LT(run.took, seconds(5));
    ASSERT_TRUE(GaugeSaid("<- ERR")) << gauge->Errors();
}

TEST_F(UploadToGaugeTest, AnOutputThatCannotBeWrittenFails) {
    CChildProcess list(KESTRAN_UPLOAD_PROGRAM, {"--list"}, env, "/dev/full", dir.File("full.err"));
    EXPECT_EQ(list.Wait(seconds(10)), 1);
    EXPECT_TRUE(Contains(list.Errors(), "cannot write the output")) << list.Errors();
}

TEST_F(UploadToGaugeTest, HangUpInTheMiddleOfADialThenARestartedGauge) {
    const std::string dial = WriteSectorDial(dir, 1);
    ASSERT_NO_FATAL_FAILURE(StartGauge({"--hang-up-at", "5"}));
    const SRun cut = Upload({"--port", port, "--ias", dial, "--timeout", "30"}, seconds(20));
    // An error end at once, well before the silence would have run out.
    EXPECT_EQ(cut.status, 1) << cut.errors;
    EXPECT_TRUE(Contains(cut.errors, "The connection to the gauge was lost")) << cut.errors;
    EXPECT_EQ(gauge->Wait(seconds(5)), 0);

    // A gauge that keeps to the line's pace; a dial of a few lines.
    ASSERT_NO_FATAL_FAILURE(StartGauge({"--wire-time", "--delay", "1"}));
    const SRun run = Upload({"--port", port, "--tas", halves});
    EXPECT_EQ(run.status, 0) << run.errors;
    ASSERT_TRUE(GaugeSaid("upload 1 ended")) << gauge->Errors();
    EXPECT_TRUE(SamePicture(halves, (outDir / "tas.png").string()));
}

TEST_F(UploadToGaugeTest, AnUploaderKilledMidwayLeavesNothingForTheNext) {
    ASSERT_NO_FATAL_FAILURE(StartGauge({"--delay", "300"}));
    {
        // Gone while the gauge still holds back its reply to the first pixel line.
        const auto upload = StartUpload({"--port", port, "--ias", WriteSectorDial(dir, 1)});
        ASSERT_TRUE(GaugeSaid("-> READY")) << gauge->Errors();
        upload->Signal(SIGKILL);
        upload->Wait(seconds(5));
    }
    ASSERT_TRUE(GaugeSaid("the port was closed")) << gauge->Errors();
    const SRun run = Upload({"--port", port, "--tas", halves});
    EXPECT_EQ(run.status, 0) << run.errors;
}

#endif
