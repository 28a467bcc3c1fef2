#include <map>

#include "res/DialogTemplate.h"
#include "upload/UploadFixture.h"

using UpdateCommandTest = UploadFixture;

namespace {

const std::string kTableWithoutTas =
    "Due to the arrangement and limitation of the storage on the device, angle table can only "
    "be updated together with TAS dial.";

// The controls an upload locks, in the order they are switched.
std::vector<int> LockedControls() {
    std::vector<int> controls = {
        ids::kRefresh,       ids::kConnect,         ids::kPortList,      ids::kLoad,
        ids::kSave,          ids::kLinearIncrement, ids::kIasCheck,      ids::kTasCheck,
        ids::kUpdate,        ids::kMaxSpeedList,    ids::kAngleBox,      ids::kAngleSpin,
        ids::kMaxSpeedCheck, ids::kSelectIasDial,   ids::kSelectTasDial,
    };
    for (int k = 1; k <= ids::kEntryCount; ++k) {
        controls.push_back(ids::EntryBoxId(k));
        controls.push_back(ids::EntrySpinId(k));
    }
    return controls;
}

}  // namespace

TEST_F(UpdateCommandTest, LoadLineFollowsTheCheckBoxes) {
    ChooseIas(ShortDial);
    ChooseTas(ShortDial);
    struct SCase {
        int ias, tas, table;
        std::string load;  // empty: refused
    };
    const SCase cases[] = {
        {1, 0, 0, "LOAD=11\r\n"},
        {0, 1, 0, "LOAD=21\r\n"},
        {0, 1, 1, "LOAD=21\r\n"},
        {1, 1, 0, "LOAD=12\r\n"},
        {1, 1, 1, "LOAD=12\r\n"},
        {0, 0, 1, ""},
        {1, 0, 1, ""},
    };
    for (const SCase& c : cases) {
        host.SetCheck(ids::kIasCheck, c.ias);
        host.SetCheck(ids::kTasCheck, c.tas);
        host.SetCheck(ids::kMaxSpeedCheck, c.table);
        dlg->OnMaxSpeedCheck();
        host.ClearMessages();
        const Lines written = PressUpdate();
        if (c.load.empty()) {
            EXPECT_EQ(written, Lines{});
            EXPECT_EQ(host.Messages(), Lines{kTableWithoutTas});
            EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
            EXPECT_TRUE(host.IsWindowEnabled(ids::kConnect));
        } else {
            EXPECT_EQ(written, Lines{c.load});
            EXPECT_TRUE(host.Messages().empty());
            EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
            EXPECT_EQ(Say("x"), Lines{"ERR\r\n"});  // unlocks for the next case
        }
    }
}

TEST_F(UpdateCommandTest, UploadLocksEveryUserControlAndItsEndRestoresTheTableRule) {
    ChooseIas(ShortDial);
    std::map<int, bool> before;
    for (const res::SControlDef& c : res::MainDialog().controls) {
        if (c.id >= 0) {
            before[c.id] = host.IsWindowEnabled(c.id);
        }
    }
    host.SetProgressPos(ids::kProgress, 42);
    PressUpdate();
    const std::vector<int> locked = LockedControls();
    for (const auto& [id, enabled] : before) {
        const bool isLocked = std::find(locked.begin(), locked.end(), id) != locked.end();
        EXPECT_EQ(host.IsWindowEnabled(id), isLocked ? false : enabled) << id;
    }
    EXPECT_EQ(Status(), "Ready");
    EXPECT_EQ(Progress(), 42);

    // Ended without the table: its boxes and buttons are locked again, the rest is free.
    RunStage();
    const std::vector<int> tableOnly = {ids::kMaxSpeedList, ids::kAngleBox, ids::kLinearIncrement,
                                        ids::kSave};
    for (int id : locked) {
        const int k = ids::EntryOfBoxId(id);
        const bool off =
            k != 0 || std::find(tableOnly.begin(), tableOnly.end(), id) != tableOnly.end();
        EXPECT_EQ(host.IsWindowEnabled(id), !off) << id;
    }

    // Ended with the table: entries up to the maximum speed are usable, those above not.
    ChooseTas(ShortDial);
    TickTable();
    PressUpdate();
    ASSERT_FALSE(host.IsWindowEnabled(ids::EntrySpinId(50)));
    EXPECT_EQ(Say("Z"), Lines{"ERR\r\n"});
    for (int id : locked) {
        const int k = ids::EntryOfBoxId(id);
        EXPECT_EQ(host.IsWindowEnabled(id), k == 0 || k <= 20) << id;
    }
}

TEST_F(UpdateCommandTest, AnglesTheLineCannotCarryRefuseTheUpload) {
    ChooseTas(ShortDial);
    TickTable();
    for (const std::string text : {"-0.1", "409.55", "1e9"}) {
        ASSERT_TRUE(host.Type(ids::EntryBoxId(5), text));
        host.ClearMessages();
        EXPECT_EQ(PressUpdate(), Lines{}) << text;
        EXPECT_EQ(host.Messages(),
                  Lines{"Needle angle for 50 knots cannot be sent to the gauge: angles must be "
                        "from 0 to 409.5 degrees."});
        EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
    }
    ASSERT_TRUE(host.Type(ids::EntryBoxId(5), "409.5"));
    EXPECT_EQ(PressUpdate(), Lines{"LOAD=21\r\n"});
    Say("READY");
    Say("U");
    Say("x");  // error end in the middle of the dial: the table can be edited again

    // Changed after Update, the table is refused once its stage begins.
    ASSERT_TRUE(host.Type(ids::EntryBoxId(3), "-3"));
    EXPECT_EQ(Last(AckToStageEnd()), "LOAD=31\r\n");
    EXPECT_EQ(Say("READY"), Lines{"ERR\r\n"});
    EXPECT_EQ(Status(), kFailed);
    ASSERT_TRUE(host.Type(ids::EntryBoxId(3), "22.5"));
    EXPECT_EQ(Say("READY").at(0).substr(0, 17), "1404B0960E112CFFF");
}

TEST_F(UpdateCommandTest, DialStageReadsOnlyTheDialThatIsThereNow) {
    ChooseIas(ShortDial);
    PressUpdate();
    Say("READY");
    Say("U");
    Say("x");
    // A new picture between an error end and a late acknowledgement is read from the
    // position the dial had reached.
    ChooseIas([](int i) { return i < 4 ? SBgra{9, 9, 9, 9} : Unique(i); });
    EXPECT_EQ(Say("U"), Lines{RunOf(2, Unique(4))});
    // A picture that was refused leaves no dial: nothing is read from it.
    const std::string flat =
        WriteTestPng(dir, "flat.png", 230, 230, 24, [](int, int) { return kGrey; });
    host.QueueFileDialogAnswer(flat);
    ASSERT_TRUE(host.Click(ids::kSelectIasDial));
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(Say("U"), Lines{"ERR\r\n"});
    host.SetWindowText(ids::kStatus, "after");
    EXPECT_EQ(Say("READY"), Lines{});
    EXPECT_EQ(Status(), "after");
}

TEST_F(UpdateCommandTest, ClearedDialBoxesCannotMakeProgressDivideByZero) {
    ChooseTas(ShortDial);
    TickTable();
    PressUpdate();
    Say("READY");
    Say("x");
    ASSERT_TRUE(host.Click(ids::kTasCheck));  // unticked: no dial left in the count
    EXPECT_EQ(Last(AckToStageEnd()), "LOAD=30\r\n");
    Say("READY");
    EXPECT_EQ(Say("U"), Lines{"END\r\n"});
    EXPECT_EQ(Progress(), 100);
}
