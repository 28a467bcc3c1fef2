#include <algorithm>

#include "upload/UploadFixture.h"

using RunLengthTest = UploadFixture;

namespace {
const SBgra kJ{1, 2, 3, 255}, kK{4, 5, 6, 255}, kL{7, 8, 9, 128}, kM{10, 11, 12, 0};
const SBgra kMButOpaque{10, 11, 12, 255};
}  // namespace

TEST_F(RunLengthTest, RepeatsFoldIntoTheLineOfTheNextDifferentPixel) {
    // J J J K L L M, then M with another alpha, then a run across the end of row 0.
    const std::vector<SBgra> start = {kJ, kJ, kJ, kK, kL, kL, kM, kMButOpaque};
    ChooseIas([&start](int i) {
        if (i < static_cast<int>(start.size())) {
            return start[static_cast<size_t>(i)];
        }
        // 5 at the end of row 0, 5 at the start of row 1
        if (i >= 225 && i < 235) {
            return kGrey;
        }
        return Unique(i);
    });
    EXPECT_EQ(PressUpdate(), Lines{"LOAD=11\r\n"});
    EXPECT_EQ(Say("READY"), Lines{Plain(kJ)});
    Lines lines;
    for (int i = 0; i < 4; ++i) {
        lines.push_back(Say("U").at(0));
    }
    EXPECT_EQ(lines, (Lines{RunOf(2, kK), Plain(kL), RunOf(1, kM), Plain(kMButOpaque)}));
    EXPECT_EQ(State().walk.bytesCovered, 4 * 7);
    for (int i = 8; i < 225; ++i) {
        ASSERT_EQ(Say("U"), Lines{Plain(Unique(i))});
    }
    EXPECT_EQ(Say("U"), Lines{Plain(kGrey)});
    EXPECT_EQ(Say("U"), Lines{RunOf(9, Unique(235))});
    EXPECT_EQ(State().walk.row, 1);
    EXPECT_EQ(State().walk.column, 5);
}

TEST_F(RunLengthTest, DialEndsOnePositionLateWhenItsLastPixelRepeats) {
    // Grey up to 52889, then different pixels; the last three are alike.
    ChooseIas([](int i) { return i < 52890 ? kGrey : Unique(std::min(i, 52897)); });
    PressUpdate();
    const Lines lines = RunStage();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], RunOf(52889, Unique(52890)));
    EXPECT_EQ(lines[7], Plain(Unique(52897)));
    EXPECT_EQ(lines[8], RunOf(2, Unique(52897)));
    EXPECT_EQ(lines[9], "END\r\n");
    EXPECT_EQ(State().walk.bytesCovered, 230 * 230 * 4 + 4);
}

TEST_F(RunLengthTest, DialEndsExactlyWhenItsLastPixelDiffers) {
    ChooseIas([](int i) { return i < 52890 ? kGrey : Unique(i); });
    PressUpdate();
    const Lines lines = RunStage();
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[9], Plain(Unique(52899)));
    EXPECT_EQ(lines[10], "END\r\n");
    EXPECT_EQ(State().walk.bytesCovered, 230 * 230 * 4);
}

TEST_F(RunLengthTest, ProgressRunsPerDialAndHalvesWithTwoDials) {
    ChooseIas([](int i) { return i < 52890 ? kGrey : Unique(i); });
    ChooseTas(ShortDial);
    PressUpdate();
    Say("READY");
    EXPECT_EQ(Progress(), 0);
    Say("U");  // covers pixel 0 only: the run is counted as the line is made
    EXPECT_EQ(Progress(), 0);
    Say("U");  // 52891 pixels: 99 % of the first dial
    EXPECT_EQ(Progress(), 49);
    AckToStageEnd();
    EXPECT_EQ(Progress(), 50);
    EXPECT_EQ(Say("READY").at(0), Plain(ShortDial(0)));
    EXPECT_EQ(Status(), "Update in progress, step 2 of 2, do not close this program");
    EXPECT_EQ(Progress(), 0);
    Say("U");
    EXPECT_EQ(Progress(), 50);
    AckToStageEnd();
    EXPECT_EQ(Progress(), 100);
}

TEST_F(RunLengthTest, ReadyInTheMiddleOfADialStartsItOver) {
    ChooseIas([](int i) { return i < 52890 ? kGrey : Unique(i); });
    PressUpdate();
    Say("READY");
    Say("U");
    Say("U");
    ASSERT_EQ(Progress(), 99);
    host.SetWindowText(ids::kStatus, "something else");
    EXPECT_EQ(Say("READY"), Lines{Plain(kGrey)});
    EXPECT_EQ(Progress(), 0);
    EXPECT_EQ(Status(), "Update in progress, step 1 of 1, do not close this program");
    EXPECT_EQ(State().walk.bytesCovered, 0);
    EXPECT_EQ(Say("U"), Lines{RunOf(52889, Unique(52890))});
}
