#include <string>
#include <vector>

#include "angles/GacFileSupport.h"

namespace {

class AngleTableTest : public GacFixture {
protected:
    bool EntryEnabled(int k) const { return host.IsWindowEnabled(ids::EntryBoxId(k)); }
    void Tick() { ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck)); }
    void SelectSpeed(int knots) {
        ASSERT_TRUE(host.SelectItem(ids::kMaxSpeedList, knots / 10 - 10));
    }
};

const char* const kStartTexts[] = {
    "7.5",   "15.0",  "22.5",  "30.0",  "50.0",  "70.0",  "90.0",  "113.0", "136.0", "161.0",
    "186.0", "208.0", "225.0", "241.0", "256.0", "269.0", "282.0", "294.0", "306.0", "318.0",
};
const int kTableControls[] = {ids::kMaxSpeedList, ids::kAngleBox, ids::kLinearIncrement,
                              ids::kSave};

TEST_F(AngleTableTest, StartsLockedAndTickingUnlocksTheActiveEntries) {
    const std::vector<std::string>& items = host.Control(ids::kMaxSpeedList).items;
    ASSERT_EQ(items.size(), 41u);
    EXPECT_EQ(items.front(), "100");
    EXPECT_EQ(items[1], "110");
    EXPECT_EQ(items.back(), "500");
    EXPECT_EQ(host.GetCurSel(ids::kMaxSpeedList), 10);
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "318.0");
    EXPECT_EQ(host.Control(ids::kAngleSpin).spinPos, 3180);
    for (int id : kTableControls)
        EXPECT_FALSE(host.IsWindowEnabled(id)) << id;
    for (int k = 1; k <= 50; ++k) {
        EXPECT_EQ(Entry(k), k <= 20 ? kStartTexts[k - 1] : "") << k;
        EXPECT_FALSE(EntryEnabled(k)) << k;
        EXPECT_TRUE(host.IsWindowEnabled(ids::EntrySpinId(k))) << k;
        EXPECT_EQ(host.Control(ids::EntrySpinId(k)).spinUpper, 3600) << k;
    }
    EXPECT_EQ(host.Control(ids::EntrySpinId(1)).spinPos, 75);
    EXPECT_EQ(host.Control(ids::EntrySpinId(20)).spinPos, 3180);

    Tick();
    for (int id : kTableControls)
        EXPECT_TRUE(host.IsWindowEnabled(id)) << id;
    for (int k = 1; k <= 50; ++k)
        EXPECT_EQ(EntryEnabled(k), k <= 20) << k;
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));  // no port open

    SetEntry(19, "300.5");
    SetEntry(20, "310.5");
    Tick();  // locked again: texts stay
    EXPECT_FALSE(EntryEnabled(1));
    EXPECT_EQ(Entry(20), "310.5");
    Connect();
    Tick();  // entry n takes the Angle
    EXPECT_EQ(Entry(19), "300.5");
    EXPECT_EQ(Entry(20), "318.0");
    EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
}

TEST_F(AngleTableTest, MaximumSpeedChangeEmptiesAboveAndCopiesTheAngle) {
    Tick();
    SelectSpeed(100);
    for (int k = 11; k <= 50; ++k) {
        EXPECT_EQ(Entry(k), "") << k;
        EXPECT_FALSE(EntryEnabled(k)) << k;
        EXPECT_TRUE(host.IsWindowEnabled(ids::EntrySpinId(k))) << k;
    }
    EXPECT_EQ(Entry(10), "318.0");
    EXPECT_EQ(Entry(9), "136.0");

    SelectSpeed(500);
    for (int k = 1; k <= 50; ++k)
        EXPECT_TRUE(EntryEnabled(k)) << k;
    EXPECT_EQ(Entry(49), "");
    EXPECT_EQ(Entry(50), "318.0");

    ASSERT_TRUE(host.Type(ids::kAngleBox, "250.00"));
    SelectSpeed(300);
    EXPECT_EQ(Entry(30), "250.00");  // verbatim

    for (const char* zero : {"0.0", "", "abc", "-4"}) {
        ASSERT_TRUE(host.Type(ids::kAngleBox, zero));
        SetEntry(20, "kept");
        SelectSpeed(200);
        EXPECT_EQ(Entry(20), "kept") << '"' << zero << '"';
    }
}

TEST_F(AngleTableTest, LinearIncrementFillsProportionally) {
    Tick();
    SetEntry(21, "unrelated");
    ASSERT_TRUE(host.Click(ids::kLinearIncrement));
    const std::vector<std::string> expected = {
        "15.9",  "31.8",  "47.7",  "63.6",  "79.5",  "95.4",  "111.3", "127.2", "143.1", "159.0",
        "174.9", "190.8", "206.7", "222.6", "238.5", "254.4", "270.3", "286.2", "302.1", "318.0",
    };
    for (int k = 1; k <= 20; ++k)
        EXPECT_EQ(Entry(k), expected[static_cast<size_t>(k - 1)]) << k;
    EXPECT_EQ(Entry(21), "unrelated");

    SelectSpeed(300);
    ASSERT_TRUE(host.Type(ids::kAngleBox, "100"));
    ASSERT_TRUE(host.Click(ids::kLinearIncrement));
    EXPECT_EQ(Entry(1), "3.3");
    EXPECT_EQ(Entry(29), "96.7");
    EXPECT_EQ(Entry(30), "100.0");

    ASSERT_TRUE(host.Type(ids::kAngleBox, "none"));
    ASSERT_TRUE(host.Click(ids::kLinearIncrement));
    for (int k = 1; k <= 30; ++k)
        EXPECT_EQ(Entry(k), "0.0") << k;
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(AngleTableTest, SpinButtonsStepDisabledBoxes) {
    ASSERT_TRUE(host.ClickSpin(ids::EntrySpinId(1), 1));
    EXPECT_EQ(Entry(1), "7.6");
    EXPECT_EQ(host.Control(ids::EntrySpinId(1)).spinPos, 76);

    ASSERT_TRUE(host.ClickSpin(ids::EntrySpinId(21), 1));
    EXPECT_EQ(Entry(21), "0.1");
    Tick();
    EXPECT_EQ(Entry(21), "");  // emptied again above the maximum speed

    ASSERT_TRUE(host.ClickSpin(ids::kAngleSpin, -1));
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "317.9");
}

TEST_F(AngleTableTest, PlausibilityPointsAtTheFirstAngleThatDoesNotRise) {
    Tick();
    struct SCase {
        int k;
        const char* text;
    };
    for (const SCase& c : {SCase{1, "0.0"}, SCase{1, "-3.5"}, SCase{2, "7.5"}, SCase{5, ""},
                           SCase{7, "abc"}, SCase{20, "306.0"}}) {
        SetEntry(c.k, c.text);
        const std::string expected =
            "Needle angle for " + std::to_string(10 * c.k) + " knots doesn't seem right";
        EXPECT_EQ(Save(), std::vector<std::string>{expected});
        EXPECT_EQ(host.FocusId(), ids::EntryBoxId(c.k));
        const CHeadlessHost::SControlState& box = host.Control(ids::EntryBoxId(c.k));
        EXPECT_EQ(box.selStart, 0);
        EXPECT_EQ(box.selEnd, static_cast<int>(std::string(c.text).size()));
        SetEntry(c.k, kStartTexts[c.k - 1]);
    }
    EXPECT_TRUE(host.FileDialogRequests().empty());

    SetEntry(5, "5e1");    // reads as 50
    SetEntry(20, "1000");  // no upper limit
    SetEntry(21, "0");     // above n: not looked at
    EXPECT_TRUE(Save().empty());
    EXPECT_EQ(host.FileDialogRequests().size(), 1u);
}

}  // namespace
