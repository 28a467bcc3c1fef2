#include <string>
#include <vector>

#include "support/DialogFixture.h"

namespace {

class AngleTableTest : public DialogFixture {
protected:
    std::string Entry(int k) const { return host.GetWindowText(ids::EntryBoxId(k)); }
    bool EntryEnabled(int k) const { return host.IsWindowEnabled(ids::EntryBoxId(k)); }
    void SetEntry(int k, const std::string& text) { host.SetWindowText(ids::EntryBoxId(k), text); }
    void Unlock() { ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck)); }
    // Picks the maximum speed in knots from the list.
    void SelectSpeed(int knots) { ASSERT_TRUE(host.SelectItem(ids::kMaxSpeedList, knots / 10 - 10)); }
};

const std::vector<std::string> kStartTexts = {
    "7.5",   "15.0",  "22.5",  "30.0",  "50.0",  "70.0",  "90.0",  "113.0", "136.0", "161.0",
    "186.0", "208.0", "225.0", "241.0", "256.0", "269.0", "282.0", "294.0", "306.0", "318.0",
};

TEST_F(AngleTableTest, StartsLockedWithTheStartValuesVisible) {
    const CHeadlessHost::SControlState& list = host.Control(ids::kMaxSpeedList);
    ASSERT_EQ(list.items.size(), 41u);
    for (int i = 0; i < 41; ++i) EXPECT_EQ(list.items[static_cast<size_t>(i)], std::to_string(100 + 10 * i));
    EXPECT_EQ(list.curSel, 10);
    EXPECT_EQ(host.GetCheck(ids::kMaxSpeedCheck), 0);
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "318.0");
    for (int id : {ids::kMaxSpeedList, ids::kAngleBox, ids::kLinearIncrement, ids::kSave}) {
        EXPECT_FALSE(host.IsWindowEnabled(id)) << id;
    }
    EXPECT_TRUE(host.IsWindowEnabled(ids::kLoad));
    EXPECT_TRUE(host.IsWindowEnabled(ids::kAngleSpin));
    EXPECT_TRUE(host.IsWindowEnabled(ids::kMaxSpeedCheck));

    for (int k = 1; k <= 50; ++k) {
        EXPECT_EQ(Entry(k), k <= 20 ? kStartTexts[static_cast<size_t>(k - 1)] : "") << k;
        EXPECT_FALSE(EntryEnabled(k)) << k;
        EXPECT_TRUE(host.IsWindowEnabled(ids::EntrySpinId(k))) << k;
        const CHeadlessHost::SControlState& spin = host.Control(ids::EntrySpinId(k));
        EXPECT_EQ(spin.spinLower, 0);
        EXPECT_EQ(spin.spinUpper, 3600);
        CNumSpinCtrl& control = dlg->EntrySpin(k);
        EXPECT_EQ(control.Decimals(), 1);
        EXPECT_FALSE(control.TrimZeros());
        EXPECT_EQ(control.Step(), 0.1);
        EXPECT_EQ(control.MaxValue(), 360.0);
    }
    EXPECT_EQ(host.Control(ids::EntrySpinId(1)).spinPos, 75);
    EXPECT_EQ(host.Control(ids::EntrySpinId(20)).spinPos, 3180);
    EXPECT_EQ(host.Control(ids::EntrySpinId(21)).spinPos, 0);
    EXPECT_EQ(host.Control(ids::kAngleSpin).spinPos, 3180);
    EXPECT_EQ(dlg->AngleSpin().StepCount(), 3600);
}

TEST_F(AngleTableTest, TickingUnlocksTheActiveEntriesAndTheUpdateRule) {
    Unlock();
    for (int id : {ids::kMaxSpeedList, ids::kAngleBox, ids::kLinearIncrement, ids::kSave}) {
        EXPECT_TRUE(host.IsWindowEnabled(id)) << id;
    }
    for (int k = 1; k <= 50; ++k) EXPECT_EQ(EntryEnabled(k), k <= 20) << k;
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));  // no port open

    Unlock();  // unticks
    EXPECT_FALSE(host.IsWindowEnabled(ids::kSave));
    for (int k = 1; k <= 50; ++k) EXPECT_FALSE(EntryEnabled(k)) << k;
    EXPECT_EQ(Entry(1), "7.5");  // texts stay

    Connect();
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    Unlock();
    EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
}

TEST_F(AngleTableTest, MaximumSpeedChangeEmptiesAboveAndCopiesTheAngle) {
    Unlock();
    SelectSpeed(100);
    for (int k = 11; k <= 50; ++k) {
        EXPECT_EQ(Entry(k), "") << k;
        EXPECT_FALSE(EntryEnabled(k)) << k;
        EXPECT_TRUE(host.IsWindowEnabled(ids::EntrySpinId(k))) << k;
    }
    EXPECT_EQ(Entry(10), "318.0");
    EXPECT_EQ(Entry(9), "136.0");

    SelectSpeed(500);
    for (int k = 1; k <= 50; ++k) EXPECT_TRUE(EntryEnabled(k)) << k;
    EXPECT_EQ(Entry(11), "");
    EXPECT_EQ(Entry(49), "");
    EXPECT_EQ(Entry(50), "318.0");

    ASSERT_TRUE(host.Type(ids::kAngleBox, "250.00"));
    SelectSpeed(300);
    EXPECT_EQ(Entry(30), "250.00");  // verbatim
    EXPECT_EQ(Entry(31), "");

    for (const char* zero : {"0.0", "", "abc", "-4"}) {
        ASSERT_TRUE(host.Type(ids::kAngleBox, zero));
        SetEntry(20, "kept");
        SelectSpeed(200);
        EXPECT_EQ(Entry(20), "kept") << '"' << zero << '"';
    }
}

TEST_F(AngleTableTest, RelockingKeepsTextsButTheLastTakesTheAngle) {
    Unlock();
    SetEntry(19, "300.5");
    SetEntry(20, "310.5");
    Unlock();
    Unlock();
    EXPECT_EQ(Entry(19), "300.5");
    EXPECT_EQ(Entry(20), "318.0");
}

TEST_F(AngleTableTest, LinearIncrementFillsProportionally) {
    Unlock();
    SetEntry(21, "unrelated");  // disabled, above n: not touched by the fill
    ASSERT_TRUE(host.Click(ids::kLinearIncrement));
    const std::vector<std::string> expected = {
        "15.9",  "31.8",  "47.7",  "63.6",  "79.5",  "95.4",  "111.3", "127.2", "143.1", "159.0",
        "174.9", "190.8", "206.7", "222.6", "238.5", "254.4", "270.3", "286.2", "302.1", "318.0",
    };
    for (int k = 1; k <= 20; ++k) EXPECT_EQ(Entry(k), expected[static_cast<size_t>(k - 1)]) << k;
    EXPECT_EQ(Entry(21), "unrelated");
    EXPECT_TRUE(host.Messages().empty());

    SelectSpeed(300);
    ASSERT_TRUE(host.Type(ids::kAngleBox, "100"));
    ASSERT_TRUE(host.Click(ids::kLinearIncrement));
    EXPECT_EQ(Entry(1), "3.3");
    EXPECT_EQ(Entry(3), "10.0");
    EXPECT_EQ(Entry(29), "96.7");
    EXPECT_EQ(Entry(30), "100.0");

    ASSERT_TRUE(host.Type(ids::kAngleBox, "none"));
    ASSERT_TRUE(host.Click(ids::kLinearIncrement));
    for (int k = 1; k <= 30; ++k) EXPECT_EQ(Entry(k), "0.0") << k;
}

TEST_F(AngleTableTest, SpinButtonsStepDisabledBoxes) {
    ASSERT_TRUE(host.ClickSpin(ids::EntrySpinId(1), 1));
    EXPECT_EQ(Entry(1), "7.6");
    EXPECT_EQ(host.Control(ids::EntrySpinId(1)).spinPos, 76);

    ASSERT_TRUE(host.ClickSpin(ids::EntrySpinId(21), 1));
    EXPECT_EQ(Entry(21), "0.1");
    Unlock();
    EXPECT_EQ(Entry(21), "");  // emptied again above the maximum speed

    ASSERT_TRUE(host.ClickSpin(ids::kAngleSpin, -1));
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "317.9");
    EXPECT_EQ(dlg->OnSpinDeltaPos(ids::kAngleSpin, 1), 0);
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "318.0");
}

class PlausibilityTest : public AngleTableTest {
protected:
    void SetUp() override {
        AngleTableTest::SetUp();
        Unlock();
    }
    // Presses Save (whose file dialog is cancelled) and answers the messages shown.
    std::vector<std::string> Save() {
        host.ClearMessages();
        EXPECT_TRUE(host.Click(ids::kSave));
        return host.Messages();
    }
    size_t FileDialogs() const { return host.FileDialogRequests().size(); }
};

TEST_F(PlausibilityTest, RefusesAnglesThatDoNotRiseAndPointsAtTheFirst) {
    struct SCase {
        int k;
        const char* text;
        int knots;
    };
    const SCase cases[] = {{1, "0.0", 10},  {1, "-3.5", 10}, {2, "7.5", 20},
                           {5, "", 50},      {7, "abc", 70},  {20, "306.0", 200}};
    for (const SCase& c : cases) {
        SetEntry(c.k, c.text);
        EXPECT_EQ(Save(), std::vector<std::string>{"Needle angle for " + std::to_string(c.knots) +
                                                   " knots doesn't seem right"});
        EXPECT_EQ(host.FocusId(), ids::EntryBoxId(c.k));
        EXPECT_EQ(host.Control(ids::EntryBoxId(c.k)).selStart, 0);
        EXPECT_EQ(host.Control(ids::EntryBoxId(c.k)).selEnd, static_cast<int>(std::string(c.text).size()));
        EXPECT_EQ(FileDialogs(), 0u);
        SetEntry(c.k, kStartTexts[static_cast<size_t>(c.k - 1)]);
    }

    SetEntry(3, "1.0");  // fails at 30 knots, and again at 40 only after that
    SetEntry(4, "1.0");
    EXPECT_EQ(Save().size(), 1u);
    EXPECT_EQ(host.FocusId(), ids::EntryBoxId(3));
}

TEST_F(PlausibilityTest, PassesRisingAnglesInAnyNotation) {
    SetEntry(5, "5e1");
    SetEntry(20, "1000");  // no upper limit
    SetEntry(21, "garbage");
    EXPECT_TRUE(Save().empty());
    EXPECT_EQ(FileDialogs(), 1u);
}

}  // namespace
