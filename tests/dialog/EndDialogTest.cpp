// How the dialog ends: which keys end it in which state, and what it asks first.
#include <fstream>

#include "upload/UploadFixture.h"

namespace {

struct SEndCase {
    const char* state;
    void (*reach)(class EndDialogTest& t);
    const char* question;  // asked by Escape and the close box first; nullptr: none
};

class EndDialogTest : public UploadFixture, public ::testing::WithParamInterface<SEndCase> {
public:
    void EditTable() {
        TickTable();
        ASSERT_TRUE(host.Type(ids::EntryBoxId(3), "23.5"));
    }
    void RunUploadWithTable(const std::string& lastReply) {
        ChooseTas(ShortDial);
        EditTable();
        PressUpdate();
        RunStage();
        Say("READY");
        Say(lastReply);
    }
    using UploadFixture::ChooseIas;
    using UploadFixture::dir;
    using UploadFixture::host;
    using UploadFixture::PressUpdate;
    using UploadFixture::Say;
    using UploadFixture::TickTable;
};

const SEndCase kCases[] = {
    {"idle", [](EndDialogTest&) {}, nullptr},
    {"an entry typed", [](EndDialogTest& t) { t.EditTable(); }, CTillerbyDlg::kUnsavedTableQuestion},
    {"the maximum speed changed",
     [](EndDialogTest& t) {
         t.TickTable();
         ASSERT_TRUE(t.host.SelectItem(ids::kMaxSpeedList, 15));
     },
     CTillerbyDlg::kUnsavedTableQuestion},
    {"edited, then saved",
     [](EndDialogTest& t) {
         t.EditTable();
         t.host.QueueFileDialogAnswer(t.dir.File("saved.gac"));
         ASSERT_TRUE(t.host.Click(ids::kSave));
     },
     nullptr},
    {"edited, then loaded",
     [](EndDialogTest& t) {
         t.EditTable();
         std::ofstream(t.dir.File("other.gac")) << "10|1.0|2.0|3.0|4.0|5.0|6.0|7.0|8.0|9.0|10.0";
         t.host.QueueFileDialogAnswer(t.dir.File("other.gac"));
         ASSERT_TRUE(t.host.Click(ids::kLoad));
     },
     nullptr},
    {"edited, then sent", [](EndDialogTest& t) { t.RunUploadWithTable("f"); }, nullptr},
    {"edited, the upload failed", [](EndDialogTest& t) { t.RunUploadWithTable("?"); },
     CTillerbyDlg::kUnsavedTableQuestion},
    {"uploading",
     [](EndDialogTest& t) {
         t.ChooseIas(ShortDial);
         t.PressUpdate();
         t.Say("READY");
     },
     CTillerbyDlg::kCloseQuestion},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(States, EndDialogTest, ::testing::ValuesIn(kCases));

TEST_P(EndDialogTest, EnterNeverEndsItAndEscapeAsksWhenSomethingWouldBeLost) {
    const SEndCase& c = GetParam();
    SCOPED_TRACE(c.state);
    c.reach(*this);
    ASSERT_TRUE(host.Messages().empty()) << host.Messages().front();
    Writes();
    // Enter confirms where it is pressed (a push button is clicked), never closes.
    for (const int id : {ids::kPortList, ids::kMaxSpeedList, ids::kIasCheck, ids::kMaxSpeedCheck,
                         ids::EntryBoxId(1), ids::kAngleBox, ids::kStatus}) {
        host.SetFocus(id);
        EXPECT_FALSE(host.PressEnter()) << id;
    }
    EXPECT_TRUE(host.Questions().empty());
    if (c.question != nullptr) {
        host.QueueQuestionAnswer(false);
        EXPECT_FALSE(host.PressEscape());
        EXPECT_EQ(host.Questions(), Lines{c.question});
        EXPECT_EQ(Writes(), Lines{});
        host.QueueQuestionAnswer(true);
    }
    const bool uploading = dlg->IsUploadRunning();
    if (uploading) {
        EXPECT_EQ(Say("U"), Lines{Plain(ShortDial(1))});  // a No lets the upload go on
    }
    EXPECT_TRUE(host.PressEscape());
    EXPECT_TRUE(host.Ended());
    EXPECT_EQ(host.Questions().size(), c.question != nullptr ? 2u : 0u);
    // A Yes during an upload tells the gauge first; the port goes with the dialog.
    EXPECT_EQ(Writes(), uploading ? Lines{"ERR\r\n"} : Lines{});
    EXPECT_FALSE(dlg->IsPortOpen());
    EXPECT_FALSE(line->open);
    // Ended, it stays ended: neither key reaches the dialog again.
    EXPECT_FALSE(host.PressEscape());
    EXPECT_FALSE(host.PressEnter());
}
