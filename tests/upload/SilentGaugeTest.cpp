// A gauge that stops acknowledging: after ten seconds Disconnect is offered and ends the
// upload as an error; an acknowledgement that comes first lets the upload go on.
#include "upload/UploadFixture.h"

namespace {

using std::chrono::milliseconds;

const std::string kStepOne = "Update in progress, step 1 of 1, do not close this program";

}  // namespace

class SilentGaugeTest : public UploadFixture {
protected:
    void StartUpload() {
        ChooseIas(ShortDial);
        ASSERT_EQ(PressUpdate(), Lines{"LOAD=11\r\n"});
        ASSERT_EQ(Say("READY"), Lines{Plain(ShortDial(0))});
    }
    void Wait(int ms) { host.AdvanceClock(milliseconds(ms)); }
    bool Offered() const { return Status() == CTillerbyDlg::kSilenceMessage; }
};

TEST_F(SilentGaugeTest, TenSilentSecondsOfferDisconnectWhichEndsTheUploadAsAnError) {
    StartUpload();
    Wait(9999);
    EXPECT_EQ(Status(), kStepOne);
    EXPECT_FALSE(host.IsWindowEnabled(ids::kConnect));
    Wait(1);
    EXPECT_TRUE(Offered());
    EXPECT_TRUE(host.IsWindowEnabled(ids::kConnect));
    EXPECT_EQ(host.GetWindowText(ids::kConnect), "Disconnect");
    // Only Disconnect: the rest stays locked.
    EXPECT_FALSE(host.IsWindowEnabled(ids::kRefresh));
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    EXPECT_EQ(Writes(), Lines{});

    ASSERT_TRUE(host.Click(ids::kConnect));
    EXPECT_EQ(Writes(), Lines{"ERR\r\n"});
    EXPECT_EQ(Status(), kFailed);
    EXPECT_FALSE(dlg->IsPortOpen());
    EXPECT_FALSE(line->open);
    EXPECT_EQ(host.GetWindowText(ids::kConnect), "Connect");
    EXPECT_TRUE(host.IsWindowEnabled(ids::kRefresh));
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    EXPECT_FALSE(host.TimerRunning(CTillerbyDlg::kSilenceTimer));
}

TEST_F(SilentGaugeTest, ALateAcknowledgementLetsTheUploadGoOnAndNoiseDoesNotCount) {
    StartUpload();
    Wait(6000);
    EXPECT_EQ(Say("U"), Lines{Plain(ShortDial(1))});  // time counts afresh from here
    Wait(9000);
    EXPECT_FALSE(Offered());
    // Bytes that acknowledge nothing do not keep the upload alive.
    EXPECT_EQ(Say("noise"), Lines{});
    Wait(1000);
    ASSERT_TRUE(Offered());

    EXPECT_EQ(Say("U"), Lines{Plain(ShortDial(2))});
    EXPECT_EQ(Status(), kStepOne);
    EXPECT_FALSE(host.IsWindowEnabled(ids::kConnect));
    Wait(10000);
    ASSERT_TRUE(Offered());
    // The stall also spans a stage start: READY brings the step's text as well.
    EXPECT_EQ(Say("READY"), Lines{Plain(ShortDial(0))});
    EXPECT_EQ(Status(), kStepOne);
    EXPECT_FALSE(host.IsWindowEnabled(ids::kConnect));

    EXPECT_EQ(Last(AckToStageEnd()), "END\r\n");
    EXPECT_FALSE(host.TimerRunning(CTillerbyDlg::kSilenceTimer));
    Wait(60000);
    EXPECT_EQ(Status(), "Update completed.");
    EXPECT_TRUE(host.IsWindowEnabled(ids::kConnect));
}

TEST_F(SilentGaugeTest, AGaugeThatNeverAnswersTheLoadLineIsGivenUpOnToo) {
    ChooseIas(ShortDial);
    host.SetWindowText(ids::kStatus, "Update completed.");  // a previous upload's result
    PressUpdate();
    Wait(10000);
    ASSERT_TRUE(Offered());
    EXPECT_EQ(Say("READY"), Lines{Plain(ShortDial(0))});
    EXPECT_EQ(Status(), kStepOne);
}
