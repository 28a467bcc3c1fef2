// The desktop window, in a process of its own, closed in the middle of an upload: it asks,
// tells the gauge, ends cleanly, and the gauge is free for the next window, whose upload
// arrives exactly.
#if defined(KESTRAN_WINDOW_UPLOAD_PROGRAM) && defined(KESTRAN_GAUGE_SERVER)

#include <gtest/gtest.h>

#include "support/ChildProcess.h"
#include "tools/posix/GaugeRuns.h"
#include "tools/posix/faults/ServedGauge.h"

namespace {

using std::chrono::seconds;

bool Says(const std::string& output, const std::string& line) {
    return ("\n" + output).find("\n" + line + "\n") != std::string::npos;
}

}  // namespace

TEST(WindowCloseTest, AWindowClosedMidUploadEndsCleanlyAndTheNextUploadArrives) {
    CTempDir dir;
    std::vector<std::string> env = RuntimeEnv(dir);
    env.push_back("QT_QPA_PLATFORM=offscreen");
    const std::string ias = WriteSectorDial(dir, 3);
    const std::string tas = WriteSectorDial(dir, 4);
    CServedGauge gauge;
    ASSERT_TRUE(gauge.IsServing());
    const std::vector<std::string> upload = {"--port", gauge.Port(), "--ias",  ias,
                                             "--tas",  tas,          "--table"};

    std::vector<std::string> closing = upload;
    closing.insert(closing.end(), {"--close-at", "30"});
    CChildProcess closed(KESTRAN_WINDOW_UPLOAD_PROGRAM, closing, env, dir.File("closed.out"),
                         dir.File("closed.err"));
    EXPECT_EQ(closed.Wait(seconds(60)), 0) << closed.Output() << closed.Errors();
    for (const char* line : {"closed-midway 1", "port-given-back 1", "close-asked 1"})
        EXPECT_TRUE(Says(closed.Output(), line)) << closed.Output();
    EXPECT_EQ(gauge.UploadsEnded(), 0);
    // Yes to the question tells the gauge before the port goes.
    WaitFor([&] { return gauge.LastLine() == "ERR"; });
    EXPECT_EQ(gauge.LastLine(), "ERR");

    CChildProcess next(KESTRAN_WINDOW_UPLOAD_PROGRAM, upload, env, dir.File("next.out"),
                       dir.File("next.err"));
    EXPECT_EQ(next.Wait(seconds(60)), 0) << next.Output() << next.Errors();
    EXPECT_TRUE(Says(next.Output(), "status Update completed.")) << next.Output();
    // The END line may still be on its way to the gauge.
    WaitFor([&] { return gauge.UploadsEnded() > 0; });
    gauge.Stop();
    EXPECT_EQ(gauge.UploadsEnded(), 1);
    EXPECT_TRUE(SamePicture(ias, gauge.Gauge().Dial(1)));
    EXPECT_TRUE(SamePicture(tas, gauge.Gauge().Dial(2)));
    EXPECT_EQ(gauge.Gauge().TableTenths().size(), 20u);
}

#endif
