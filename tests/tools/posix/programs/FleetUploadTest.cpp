// kestran-upload loading several virtual gauges at once, and as a station that loads each
// gauge that appears.
#if defined(KESTRAN_GAUGE_PROGRAM) && defined(KESTRAN_UPLOAD_PROGRAM)

#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "support/ChildProcess.h"
#include "support/TestImages.h"
#include "tools/posix/GaugeRuns.h"
#include "upload/UploadCost.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
namespace fs = std::filesystem;

// Waits until `text` shows in what `read` gives (`times` times). Terminal numbers are
// reused: a text naming the port of a gauge that is gone may name a new one too.
template <typename Read>
bool Shows(Read read, const std::string& text, int times = 1) {
    return WaitFor([&] { return Count(read(), text) >= times; }, seconds(20));
}

class FleetUploadTest : public ::testing::Test {
protected:
    struct SGauge {
        std::unique_ptr<CChildProcess> process;
        std::string port;
        fs::path out;
        std::string Log() const { return process->Errors(); }
    };

    SGauge& StartGauge(std::vector<std::string> args) {
        SGauge& gauge = gauges.emplace_back();
        const std::string tag = "gauge" + std::to_string(gauges.size());
        gauge.out = dir.Path() / tag;
        args.insert(args.end(), {"--out", gauge.out.string()});
        gauge.process = std::make_unique<CChildProcess>(
            KESTRAN_GAUGE_PROGRAM, args, env, dir.File(tag + ".out"), dir.File(tag + ".err"));
        gauge.port = gauge.process->FirstLine(seconds(10)).value_or("");
        return gauge;
    }

    std::unique_ptr<CChildProcess> StartUpload(const std::vector<std::string>& args) {
        const std::string tag = "upload" + std::to_string(++uploads);
        return std::make_unique<CChildProcess>(KESTRAN_UPLOAD_PROGRAM, args, env,
                                               dir.File(tag + ".out"), dir.File(tag + ".err"));
    }

    CTempDir dir;
    std::vector<std::string> env = RuntimeEnv(dir);
    std::string dial = WriteTestPng(dir, "dial.png", 230, 230, 32, [](int x, int y) -> SBgra {
        return {static_cast<uint8_t>(x / 10), static_cast<uint8_t>(y / 10), 90, 255};
    });
    std::deque<SGauge> gauges;  // stays where it is as gauges are added
    int uploads = 0;
};

TEST_F(FleetUploadTest, EveryGaugeEndsOnItsOwnAndTheSummarySaysHow) {
    const SGauge& first = StartGauge({});
    const SGauge& second = StartGauge({});
    const SGauge& silent = StartGauge({"--silent-after-load"});
    const SGauge& faulty = StartGauge({"--unexpected-byte-at", "40"});
    const std::string absent = (dir.Path() / "no-such-port").string();
    for (const SGauge& g : gauges)
        ASSERT_FALSE(g.port.empty());

    auto run =
        StartUpload({"--port", first.port, "--port", second.port, "--port", silent.port, "--port",
                     faulty.port, "--port", absent, "--tas", dial, "--timeout", "1"});
    ASSERT_EQ(run->Wait(seconds(90)), 4) << run->Errors();
    const std::string summary = run->Output();
    CImage image;
    ASSERT_EQ(image.Load(dial.c_str()), ImageLoadResult::Ok);
    const long long whole = upload::UploadCost({image.View()}, std::nullopt).linesSent;
    struct SRow {
        std::string port, result;
        long long lines;  // -1: not looked at
    } rows[] = {{first.port, "completed", whole},
                {second.port, "completed", whole},
                {silent.port, "no answer", -1},
                {faulty.port, "gauge error", -1},
                {absent, "refused", 0}};
    for (const SRow& row : rows) {
        const std::string start = row.port + std::string(absent.size() - row.port.size(), ' ') +
                                  "  " + row.result;
        const size_t at = summary.find(start);
        ASSERT_NE(at, std::string::npos) << row.port << "\n" << summary;
        const std::string line = summary.substr(at, summary.find('\n', at) - at);
        if (row.lines >= 0) {
            // Right-aligned under its heading.
            const size_t end = summary.find("lines\n") + 5;
            EXPECT_EQ(std::stoll(line.substr(end - 5, 5)), row.lines) << line;
        }
        // Without a terminal, every line tells its port.
        EXPECT_TRUE(Contains(run->Errors(), row.port + ": ")) << run->Errors();
    }
    EXPECT_TRUE(Shows([&] { return first.Log(); }, "upload 1 ended"));
    EXPECT_TRUE(Shows([&] { return second.Log(); }, "upload 1 ended"));
    EXPECT_TRUE(SamePicture(dial, (first.out / "tas.png").string()));
    EXPECT_TRUE(SamePicture(dial, (second.out / "tas.png").string()));
    EXPECT_TRUE(Shows([&] { return silent.Log(); }, "<- ERR"));
    EXPECT_FALSE(fs::exists(faulty.out / "tas.png"));

    auto both = StartUpload({"--port", first.port, "--port", second.port, "--tas", dial});
    EXPECT_EQ(both->Wait(seconds(90)), 0) << both->Errors();
}

TEST_F(FleetUploadTest, RefusedInputOpensNoPortAndCtrlCEndsEveryUpload) {
    const SGauge& a = StartGauge({"--wire-time"});
    const SGauge& b = StartGauge({"--wire-time"});
    auto refused = StartUpload(
        {"--port", a.port, "--port", b.port, "--tas", (dir.Path() / "missing.png").string()});
    EXPECT_EQ(refused->Wait(seconds(20)), 2) << refused->Errors();
    EXPECT_TRUE(Contains(refused->Errors(), "Image load error")) << refused->Errors();
    EXPECT_EQ(refused->Output(), "");
    for (const SGauge& g : gauges)
        EXPECT_FALSE(Contains(g.Log(), "the port was opened")) << g.Log();

    auto run = StartUpload({"--port", a.port, "--port", b.port, "--tas", dial});
    for (const SGauge& g : gauges)
        ASSERT_TRUE(Shows([&] { return g.Log(); }, "-> READY")) << g.Log();
    run->Signal(SIGINT);
    EXPECT_EQ(run->Wait(seconds(10)), 4) << run->Errors();
    for (const SGauge& g : gauges) {
        EXPECT_TRUE(Shows([&] { return g.Log(); }, "<- ERR")) << g.Log();
        EXPECT_TRUE(Shows([&] { return g.Log(); }, "the port was closed")) << g.Log();
        EXPECT_TRUE(Contains(run->Output(), g.port + "  interrupted")) << run->Output();
    }
}

TEST_F(FleetUploadTest, AStationLoadsEachGaugeThatAppears) {
    const SGauge& present = StartGauge({});
    // The silent gauge waits for the end of the station, not for its time-out.
    auto station =
        StartUpload({"--station", "--ports", "/dev/pts/*", "--tas", dial, "--timeout", "300"});
    auto errors = [&] { return station->Errors(); };
    auto results = [&] { return station->Output(); };
    ASSERT_TRUE(Shows(errors, "waiting for gauges (1 port present left alone)")) << errors();

    const SGauge& first = StartGauge({});
    ASSERT_TRUE(Shows(results, first.port + "  completed")) << errors();
    // A gauge that goes away and others that may get its terminal's number: each is waited
    // for by what only its own upload can show.
    gauges[1].process->Signal(SIGTERM);
    ASSERT_TRUE(gauges[1].process->Wait(seconds(5)));
    std::this_thread::sleep_for(milliseconds(2000));  // four looks of the station
    const SGauge& second = StartGauge({"--silent-after-load"});
    ASSERT_TRUE(Shows([&] { return second.Log(); }, "<- LOAD")) << errors();
    const SGauge& third = StartGauge({});
    ASSERT_TRUE(Shows(results, "  completed", 2)) << errors();
    ASSERT_TRUE(Shows([&] { return third.Log(); }, "upload 1 ended")) << third.Log();

    station->Signal(SIGINT);
    EXPECT_EQ(station->Wait(seconds(10)), 4) << errors();
    EXPECT_TRUE(Contains(results(), second.port + "  interrupted")) << results();
    EXPECT_TRUE(Contains(results(), "Station ended: 2 completed, 1 failed\n")) << results();
    EXPECT_TRUE(SamePicture(dial, (first.out / "tas.png").string()));
    EXPECT_TRUE(SamePicture(dial, (third.out / "tas.png").string()));
    EXPECT_FALSE(Contains(present.Log(), "the port was opened")) << present.Log();

    // Included, the gauge present at the start is loaded too.
    auto including =
        StartUpload({"--station", "--include-present", "--ports", present.port, "--tas", dial});
    ASSERT_TRUE(Shows([&] { return including->Output(); }, present.port + "  completed"))
        << including->Errors();
    including->Signal(SIGINT);
    EXPECT_EQ(including->Wait(seconds(10)), 0) << including->Errors();
    EXPECT_TRUE(Contains(including->Output(), "Station ended: 1 completed, 0 failed\n"));
}

}  // namespace

#endif
