// How the dialog ends: Escape and Enter, the question during an upload, and Enter in an
// edit box.
#include "upload/UploadFixture.h"

using EndDialogTest = UploadFixture;

TEST_F(EndDialogTest, OutsideAnUploadEscapeAndEnterEndWithoutAQuestion) {
    EXPECT_TRUE(host.PressEscape());
    EXPECT_TRUE(host.Ended());
    EXPECT_TRUE(host.Questions().empty());
    EXPECT_FALSE(dlg->IsPortOpen());  // the port goes with the dialog
    EXPECT_FALSE(line->open);
    // Ended, it stays ended: neither key reaches the dialog again.
    EXPECT_FALSE(host.PressEscape());
    EXPECT_FALSE(host.PressEnter());
    EXPECT_TRUE(host.Ended());
}

TEST_F(EndDialogTest, ClosingDuringAnUploadAsksAndYesTellsTheGaugeFirst) {
    ChooseIas(ShortDial);
    PressUpdate();
    Say("READY");
    host.SetFocus(ids::kIasCheck);
    for (const bool enter : {false, true}) {
        host.QueueQuestionAnswer(false);
        EXPECT_FALSE(enter ? host.PressEnter() : host.PressEscape());
    }
    EXPECT_EQ(host.Questions(), Lines(2, CTillerbyDlg::kCloseQuestion));
    EXPECT_EQ(Writes(), Lines{});
    EXPECT_EQ(Say("U"), Lines{Plain(ShortDial(1))});  // the upload goes on

    host.QueueQuestionAnswer(true);
    EXPECT_TRUE(host.PressEscape());
    EXPECT_EQ(Writes(), Lines{"ERR\r\n"});
    EXPECT_EQ(Status(), "Error occurred.  Please try again.");
    EXPECT_FALSE(line->open);
}

TEST_F(EndDialogTest, EnterInAnEditBoxKeepsTheTableBeingTyped) {
    TickTable();
    for (const int id : {ids::EntryBoxId(1), ids::EntryBoxId(50), ids::kAngleBox}) {
        host.SetFocus(id);
        EXPECT_FALSE(host.PressEnter()) << id;
    }
    // On a push button Enter clicks it; in a list or a check box it ends the dialog.
    host.SetFocus(ids::kConnect);
    EXPECT_FALSE(host.PressEnter());
    EXPECT_FALSE(dlg->IsPortOpen());
    host.SetFocus(ids::kMaxSpeedList);
    EXPECT_TRUE(host.PressEnter());
    EXPECT_TRUE(host.Questions().empty());
}
