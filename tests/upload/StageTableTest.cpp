#include "upload/UploadFixture.h"

using StageTableTest = UploadFixture;

namespace {
const std::string kCompleted = "Update completed.";
}  // namespace

TEST_F(StageTableTest, DialStagesEndOrContinueByTheCheckBoxes) {
    ChooseIas(ShortDial);
    EXPECT_EQ(dlg->LastUploadResult(), std::nullopt);
    EXPECT_EQ(PressUpdate(), Lines{"LOAD=11\r\n"});
    EXPECT_TRUE(dlg->IsUploadRunning());
    EXPECT_EQ(Last(RunStage()), "END\r\n");
    EXPECT_EQ(State().UploadStage, 1);
    EXPECT_EQ(Status(), kCompleted);
    EXPECT_FALSE(dlg->IsUploadRunning());
    EXPECT_EQ(dlg->LastUploadResult(), EUploadResult::Completed);

    ChooseTas(OtherShortDial);
    EXPECT_EQ(PressUpdate(), Lines{"LOAD=12\r\n"});
    EXPECT_EQ(Say("READY"), Lines{Plain(ShortDial(0))});
    const Lines ias = AckToStageEnd();
    EXPECT_EQ(Tail(ias, 2), (Lines{"CON\r\n", "LOAD=22\r\n"}));
    EXPECT_EQ(State().UploadStage, 2);
    EXPECT_EQ(Status(), "Update in progress, step 1 of 2, do not close this program");
    EXPECT_EQ(Say("READY"), Lines{Plain(OtherShortDial(0))});
    EXPECT_EQ(Last(AckToStageEnd()), "END\r\n");
    EXPECT_EQ(State().UploadStage, 2);
    EXPECT_EQ(Status(), kCompleted);
}

TEST_F(StageTableTest, TableStageSendsTheTableAndEndsOnEitherAcknowledgement) {
    ChooseTas(ShortDial);
    TickTable();
    EXPECT_EQ(PressUpdate(), Lines{"LOAD=21\r\n"});
    Say("READY");
    EXPECT_EQ(Status(), "Update in progress, step 1 of 1, do not close this program");
    const Lines tas = AckToStageEnd();
    EXPECT_EQ(Tail(tas, 2), (Lines{"CON\r\n", "LOAD=31\r\n"}));
    EXPECT_EQ(State().UploadStage, 3);

    // Status line and progress bar stay as they are when the table goes out.
    host.SetProgressPos(ids::kProgress, 37);
    const upload::SUploadState before = State();
    EXPECT_EQ(Say("READY"), Lines{kStartTable});
    EXPECT_EQ(Progress(), 37);
    EXPECT_EQ(Status(), "Update in progress, step 1 of 1, do not close this program");
    EXPECT_EQ(State().walk.bytesCovered, before.walk.bytesCovered);

    EXPECT_EQ(Say("U"), Lines{"END\r\n"});  // progress is set once more on the way
    EXPECT_EQ(Progress(), 100);
    EXPECT_EQ(Status(), kCompleted);
    EXPECT_EQ(State().UploadStage, 3);
    // Late acknowledgements end the finished upload again.
    host.SetWindowText(ids::kStatus, "");
    EXPECT_EQ(Say("f"), Lines{"END\r\n"});
    EXPECT_EQ(Status(), kCompleted);
    EXPECT_EQ(Say("READY"), Lines{kStartTable});
    EXPECT_EQ(Say("f"), Lines{"END\r\n"});
}

TEST_F(StageTableTest, EverythingSelectedRunsThreeStages) {
    ChooseIas(ShortDial);
    ChooseTas(OtherShortDial);
    TickTable();
    ASSERT_TRUE(host.Type(ids::kAngleBox, "161"));
    ASSERT_TRUE(host.SelectItem(ids::kMaxSpeedList, 0));  // 100 knots: 10 entries
    EXPECT_EQ(PressUpdate(), Lines{"LOAD=12\r\n"});
    EXPECT_EQ(Last(RunStage()), "LOAD=22\r\n");
    const Lines tas = RunStage();
    EXPECT_EQ(Tail(tas, 2), (Lines{"CON\r\n", "LOAD=32\r\n"}));
    EXPECT_EQ(Say("READY"), Lines{"0A04B0960E112C1F42BC38446A55064A\r\n"});
    EXPECT_EQ(Say("f"), Lines{"END\r\n"});
    EXPECT_EQ(Status(), kCompleted);
    EXPECT_EQ(Progress(), 100);
}

TEST_F(StageTableTest, UnexpectedSingleBytesEndInErrorAndKeepTheState) {
    ChooseIas(ShortDial);
    ChooseTas(OtherShortDial);
    PressUpdate();
    Say("READY");
    Say("U");
    for (const std::string& byte : Lines{"f", "u", "R", std::string(1, '\0'), "\xFF"}) {
        const upload::SUploadState before = State();
        EXPECT_EQ(Say(byte), Lines{"ERR\r\n"}) << int(byte[0]);
        EXPECT_EQ(Status(), kFailed);
        EXPECT_EQ(State().UploadStage, 1);
        EXPECT_EQ(State().walk.bytesCovered, before.walk.bytesCovered);
        EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
    }
    // The dial goes on where it stopped when the device acknowledges after all.
    EXPECT_EQ(Say("U"), Lines{Plain(ShortDial(2))});
    AckToStageEnd();
    Say("READY");
    EXPECT_EQ(Say("f"), Lines{"ERR\r\n"});
    EXPECT_EQ(State().UploadStage, 2);
}

TEST_F(StageTableTest, LongerMessagesOtherThanReadyAreIgnored) {
    ChooseIas(ShortDial);
    PressUpdate();
    host.SetWindowText(ids::kStatus, "waiting");
    for (const std::string message :
         {"READY\r\n", "UU", "READ", "ready", "READYX", " READY", "Uf", "\r\n"}) {
        EXPECT_EQ(Say(message), Lines{}) << message;
    }
    EXPECT_EQ(Status(), "waiting");
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    EXPECT_EQ(Say("READY"), Lines{Plain(ShortDial(0))});
    // A reply split so that one byte is read alone is taken as an unexpected byte.
    EXPECT_EQ(Say("R"), Lines{"ERR\r\n"});
}

TEST_F(StageTableTest, RepliesBeforeTheFirstUpdateAreIgnored) {
    ChooseIas(ShortDial);
    for (const std::string message : {"READY", "U", "f", "X", "READY\r\n"}) {
        EXPECT_EQ(Say(message), Lines{}) << message;
    }
    EXPECT_EQ(Status(), "Ready");
    EXPECT_EQ(Progress(), 0);
    EXPECT_EQ(State().UploadStage, 0);
    EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
}

TEST_F(StageTableTest, AcknowledgementBeforeTheStagesReadyEndsInError) {
    ChooseIas(ShortDial);
    ChooseTas(OtherShortDial);
    TickTable();
    PressUpdate();
    EXPECT_EQ(Say("U"), Lines{"ERR\r\n"});
    EXPECT_EQ(Status(), kFailed);
    EXPECT_EQ(Progress(), 0);

    // A gauge that answers a later stage's LOAD line with an acknowledgement has not taken
    // that stage: the counters of the stage before must not turn it into a success.
    struct SCase {
        int stagesDone;
        std::string reply;
    };
    for (const SCase& c : {SCase{1, "U"}, SCase{1, "f"}, SCase{2, "U"}, SCase{2, "f"}}) {
        PressUpdate();
        for (int stage = 1; stage <= c.stagesDone; ++stage)
            RunStage();
        EXPECT_EQ(Say(c.reply), Lines{"ERR\r\n"}) << c.stagesDone << " " << c.reply;
        EXPECT_EQ(Status(), kFailed);
        EXPECT_EQ(dlg->LastUploadResult(), EUploadResult::GaugeError);
        EXPECT_EQ(State().UploadStage, c.stagesDone + 1);
    }
}

TEST_F(StageTableTest, FullReadsAreTakenAtMostAKilobyteAtATime) {
    ChooseIas(ShortDial);
    PressUpdate();
    Reply(std::string(1030, 'x'));
    EXPECT_EQ(Writes(), Lines{});
    {
        std::lock_guard<std::mutex> lock(line->mutex);
        EXPECT_EQ(line->incoming, std::string(6, 'x'));
        line->incoming.clear();
    }
    // The text ends at the first zero byte, also in a full read.
    std::string ready(1024, '\0');
    ready.replace(0, 5, "READY");
    EXPECT_EQ(Say(ready), Lines{Plain(ShortDial(0))});
    std::string notReady(1024, 'x');
    notReady.replace(0, 5, "READY");
    EXPECT_EQ(Say(notReady), Lines{});
}
