// The uploader's decisions for several gauges, without a gauge: options, results, the
// summary, the board's plain lines, port patterns and the latency warning.
#include <gtest/gtest.h>

#include <cstdio>

#include "kestran-upload/FleetBoard.h"
#include "kestran-upload/GaugeResult.h"
#include "kestran-upload/LatencyWarning.h"
#include "kestran-upload/PortPattern.h"
#include "kestran-upload/Station.h"
#include "kestran-upload/UploadOptions.h"
#include "support/FileBytes.h"
#include "support/TestImages.h"

namespace {

TEST(FleetOptionsTest, PortsRepeatButNeverTwiceAndStationOptionsGoTogether) {
    struct SCase {
        std::vector<std::string> args;
        std::string error;  // empty: taken
        size_t ports;
    } cases[] = {
        {{"--port", "/dev/ttyUSB0", "--port", "/dev/ttyUSB1", "--tas", "t.png"}, "", 2},
        {{"--port", "/dev/ttyUSB0", "--port", "/dev/ttyUSB0", "--tas", "t.png"},
         "--port /dev/ttyUSB0 names the same port as --port /dev/ttyUSB0", 0},
        {{"--port", "COM3", "--port", "\\\\.\\com3", "--tas", "t.png"},
         "--port \\\\.\\com3 names the same port as --port COM3", 0},
        {{"--station", "--include-present", "--ports", "COM*", "--tas", "t.png"}, "", 0},
        {{"--station", "--port", "COM3", "--tas", "t.png"},
         "--station finds its ports itself: leave out --port (--ports chooses them)", 0},
        {{"--port", "COM3", "--ports", "COM*", "--tas", "t.png"},
         "--include-present and --ports go only with --station", 0},
        {{"--station", "--ports", "A*", "--ports", "B*", "--tas", "t.png"},
         "--ports given twice", 0},
    };
    for (const SCase& c : cases) {
        std::string error;
        const std::optional<SUploadOptions> options = ParseUploadOptions(c.args, &error);
        EXPECT_EQ(error, c.error) << c.args[1];
        if (c.error.empty()) {
            ASSERT_TRUE(options);
            EXPECT_EQ(options->ports.size(), c.ports);
            if (c.ports > 0) {
                EXPECT_EQ(options->request.port, options->ports.front());
            }
        }
    }
}

TEST(FleetResultTest, EachEndIsNamedAndOnlyAllCompletedIsSuccess) {
    struct SCase {
        EUploadResult result;
        const char* words;
        int exitStatus;  // with one gauge, SIGINT pending
    } cases[] = {
        {EUploadResult::Completed, "completed", 0},  {EUploadResult::GaugeError, "gauge error", 1},
        {EUploadResult::LineLost, "line lost", 1},   {EUploadResult::NoAnswer, "no answer", 3},
        {EUploadResult::Refused, "refused", 2},      {EUploadResult::Interrupted, "interrupted", 130},
    };
    for (const SCase& c : cases) {
        EXPECT_STREQ(UploadResultWords(c.result), c.words);
        EXPECT_EQ(ExitStatus(c.result, 2), c.exitStatus) << c.words;
    }

    SGaugeSummary done{"/dev/ttyUSB0", EUploadResult::Completed, 63.26, 6535, "ignored"};
    SGaugeSummary silent{"COM12", EUploadResult::NoAnswer, 10.04, 2, "No answer"};
    EXPECT_EQ(FleetExitStatus({done, done}), 0);
    EXPECT_EQ(FleetExitStatus({done, silent}), kNotEveryGaugeCompleted);
    EXPECT_EQ(SummaryTable({done, silent}),
              "port          result       seconds  lines\n"
              "/dev/ttyUSB0  completed       63.3   6535\n"
              "COM12         no answer       10.0      2  No answer\n");
    EXPECT_EQ(StationLine("09:15:02", silent), "09:15:02  COM12  no answer  10.0 s  No answer");
}

TEST(FleetBoardTest, PipedProgressTellsEachTenPercentStepOnceItIsReached) {
    CTempDir dir;
    const std::string path = dir.File("board.txt");
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    {
        CFleetBoard board(out, false);
        IUploadReport& gauge = board.AddGauge("COM3");
        for (const int percent : {4, 9, 10, 19, 95, 99, 100})
            gauge.Progress(percent);
    }
    std::fclose(out);
    EXPECT_EQ(ReadFileBytes(path), "COM3: 10%\nCOM3: 90%\nCOM3: 100%\n");
}

TEST(PortPatternTest, StarsAndQuestionMarksIgnoringCase) {
    struct SCase {
        const char* pattern;
        const char* name;
        bool matches;
    } cases[] = {
        {"/dev/ttyUSB*", "/dev/ttyUSB0", true},  {"/dev/ttyUSB*", "/dev/ttyACM0", false},
        {"COM*", "com12", true},                 {"COM?", "COM12", false},
        {"COM??", "COM12", true},                {"*USB*", "/dev/ttyUSB3", true},
        {"*", "", true},                         {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(MatchesPortPattern(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

TEST(LatencyWarningTest, WarnsAboveTwoMilliseconds) {
    for (int ms : {0, 1, 2})
        EXPECT_FALSE(LatencyWarning("COM3", {ms, "set it"}, 5000)) << ms;
    const std::optional<SMessage> warning = LatencyWarning("COM3", {16, "set it"}, 5000);
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->text,
              "the adapter of COM3 holds every reply back for 16 ms (its latency timer): the "
              "5000 lines of this upload take about 80 seconds longer.");
    EXPECT_EQ(warning->reason, "Set the timer to 1 ms: set it");
}

}  // namespace
