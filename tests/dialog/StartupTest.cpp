#include "support/DialogFixture.h"

using StartupTest = DialogFixture;

TEST_F(StartupTest, StartsLockedWithTheStartTableVisible) {
    EXPECT_EQ(host.GetWindowText(ids::kStatus), "Ready");
    EXPECT_TRUE(host.IsWindowEnabled(ids::kConnect));
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    EXPECT_TRUE(host.IsWindowEnabled(ids::kLoad));
    EXPECT_FALSE(host.IsWindowEnabled(ids::kSave));
    EXPECT_EQ(host.GetWindowText(ids::kMaxSpeedList), "200");
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "318.0");
    EXPECT_EQ(host.GetWindowText(ids::EntryBoxId(1)), "7.5");
    EXPECT_EQ(host.GetWindowText(ids::EntryBoxId(20)), "318.0");
    EXPECT_EQ(host.GetWindowText(ids::EntryBoxId(21)), "");
    EXPECT_FALSE(host.IsWindowEnabled(ids::EntryBoxId(1)));
    EXPECT_TRUE(host.IsWindowEnabled(ids::EntrySpinId(1)));
}
