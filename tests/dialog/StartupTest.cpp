#include "support/DialogFixture.h"

using StartupTest = DialogFixture;

// The angle table's start state is checked in full with the table's own tests.
TEST_F(StartupTest, StartsReadyWithAPortToConnectAndNothingToUpdate) {
    EXPECT_EQ(host.GetWindowText(ids::kStatus), "Ready");
    EXPECT_TRUE(host.IsWindowEnabled(ids::kConnect));
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    EXPECT_TRUE(host.IsWindowEnabled(ids::kLoad));
    EXPECT_EQ(host.GetWindowText(ids::kMaxSpeedList), "200");
}
