// The enabled states after start-up and the Update-enabling rule, through the real widgets.
#include <QCheckBox>
#include <QComboBox>

#include "app/qt/WindowFixture.h"

namespace {

// Start-up enabled state of every control that has an id.
void ExpectStartupStates(const CDialogWindow& window, bool portFound) {
    for (int id : {ids::kRefresh, ids::kPortList, ids::kSelectIasDial, ids::kSelectTasDial,
                   ids::kIasCheck, ids::kTasCheck, ids::kMaxSpeedCheck, ids::kLoad, ids::kAngleSpin,
                   ids::kStatus, ids::kProgress}) {
        EXPECT_TRUE(window.IsWindowEnabled(id)) << id;
    }
    EXPECT_EQ(window.IsWindowEnabled(ids::kConnect), portFound);
    for (int id :
         {ids::kUpdate, ids::kMaxSpeedList, ids::kAngleBox, ids::kLinearIncrement, ids::kSave}) {
        EXPECT_FALSE(window.IsWindowEnabled(id)) << id;
    }
    for (int k = 1; k <= ids::kEntryCount; ++k) {
        EXPECT_FALSE(window.IsWindowEnabled(ids::EntryBoxId(k))) << k;
        EXPECT_TRUE(window.IsWindowEnabled(ids::EntrySpinId(k))) << k;
    }
    // Static texts and the group box are never disabled.
    for (QWidget* w : window.Controls()) {
        if (w->property("controlId").toInt() < 0) {
            EXPECT_TRUE(w->isEnabled());
        }
    }
}

}  // namespace

using StateTest = WindowFixture;

TEST_F(StateTest, StartsWithTheTableLockedAndConnectOffered) {
    ExpectStartupStates(*window, true);
    EXPECT_EQ(Text(ids::kStatus), "Ready");
    EXPECT_EQ(Text(ids::kPortList), "GAUGE");
    EXPECT_EQ(Text(ids::kMaxSpeedList), "200");
    EXPECT_EQ(As<QComboBox>(ids::kMaxSpeedList)->count(), 41);
    EXPECT_EQ(As<QComboBox>(ids::kMaxSpeedList)->itemText(0), "100");
    EXPECT_EQ(Text(ids::kAngleBox), "318.0");
    EXPECT_EQ(Text(ids::EntryBoxId(1)), "7.5");
    EXPECT_EQ(Text(ids::EntryBoxId(20)), "318.0");
    EXPECT_EQ(Text(ids::EntryBoxId(21)), "");
    for (int id : {ids::kIasCheck, ids::kTasCheck, ids::kMaxSpeedCheck}) {
        EXPECT_EQ(window->GetCheck(id), 0);
    }
    // The spin buttons got their native range from the dialog: 0.1 steps over 0..360.
    EXPECT_EQ(window->Spin(ids::EntrySpinId(1))->Upper(), 3600);
    EXPECT_EQ(window->Spin(ids::EntrySpinId(1))->Pos(), 75);
    EXPECT_EQ(window->Spin(ids::kAngleSpin)->Pos(), 3180);
}

TEST_F(StateTest, WithoutAPortConnectIsDisabledToo) {
    Close();
    ports.clear();
    Open();
    ExpectStartupStates(*window, false);
    EXPECT_EQ(As<QComboBox>(ids::kPortList)->count(), 0);
    EXPECT_EQ(window->GetCurSel(ids::kPortList), -1);
}

TEST_F(StateTest, UpdateFollowsThePortAndTheThreeCheckBoxes) {
    CModalDriver driver;
    // Port closed: ticking the table's box leaves Update disabled.
    Click(ids::kMaxSpeedCheck);
    ASSERT_EQ(window->GetCheck(ids::kMaxSpeedCheck), 1);
    EXPECT_FALSE(Enabled(ids::kUpdate));
    EXPECT_TRUE(Enabled(ids::kSave));
    Click(ids::kMaxSpeedCheck);

    Click(ids::kConnect);
    ASSERT_TRUE(window->Dialog().IsPortOpen());
    EXPECT_EQ(Text(ids::kConnect), "Disconnect");
    EXPECT_FALSE(Enabled(ids::kUpdate));

    Click(ids::kMaxSpeedCheck);
    EXPECT_TRUE(Enabled(ids::kUpdate));
    Click(ids::kMaxSpeedCheck);
    EXPECT_FALSE(Enabled(ids::kUpdate));

    // Ticking an empty dial slot asks for a file; cancelling clears the box again.
    driver.CancelFile();
    Click(ids::kTasCheck);
    EXPECT_EQ(driver.Pending(), 0u);
    EXPECT_EQ(window->GetCheck(ids::kTasCheck), 0);
    EXPECT_FALSE(Enabled(ids::kUpdate));

    Click(ids::kMaxSpeedCheck);
    ASSERT_TRUE(Enabled(ids::kUpdate));
    Click(ids::kConnect);  // Disconnect
    EXPECT_FALSE(window->Dialog().IsPortOpen());
    EXPECT_FALSE(line->open);
    EXPECT_FALSE(Enabled(ids::kUpdate));
    EXPECT_EQ(window->GetCheck(ids::kMaxSpeedCheck), 1);
}

TEST_F(StateTest, ChoosingAMaximumSpeedUnlocksThatManyEntries) {
    Click(ids::kMaxSpeedCheck);
    auto* list = As<QComboBox>(ids::kMaxSpeedList);
    ASSERT_TRUE(list->isEnabled());
    // A user's choice in the list notifies the dialog; the entries up to 150 knots unlock.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(Text(ids::kMaxSpeedList), "100");
    EXPECT_TRUE(Enabled(ids::EntryBoxId(10)));
    EXPECT_FALSE(Enabled(ids::EntryBoxId(11)));
    EXPECT_EQ(Text(ids::EntryBoxId(11)), "");
    EXPECT_EQ(Text(ids::EntryBoxId(10)), "318.0");  // the Angle box's value lands on the last
}

TEST_F(StateTest, ListsKeepTheirSortingAndAddingSelectsNothing) {
    // The maximum-speed list is sorted: a new item goes where it sorts.
    EXPECT_EQ(window->AddString(ids::kMaxSpeedList, "105"), 1);
    EXPECT_EQ(As<QComboBox>(ids::kMaxSpeedList)->itemText(1), "105");
    EXPECT_EQ(Text(ids::kMaxSpeedList), "200");  // the selection stays on its item
    EXPECT_EQ(window->GetCurSel(ids::kMaxSpeedList), 11);

    // The port list keeps the order of adding; a fresh list has no selection.
    window->ResetContent(ids::kPortList);
    EXPECT_EQ(window->AddString(ids::kPortList, "ttyUSB0"), 0);
    EXPECT_EQ(window->AddString(ids::kPortList, "ttyACM0"), 1);
    EXPECT_EQ(window->GetCurSel(ids::kPortList), -1);
    EXPECT_EQ(Text(ids::kPortList), "");
    window->SetCurSel(ids::kPortList, 5);
    EXPECT_EQ(window->GetCurSel(ids::kPortList), -1);
}
