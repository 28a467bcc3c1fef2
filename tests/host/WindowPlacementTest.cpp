#include <gtest/gtest.h>

#include "host/WindowPlacement.h"

TEST(WindowPlacementTest, AWindowOpensCentredAndNeverWithItsCaptionOutOfReach) {
    struct SCase {
        const char* what;
        placement::SArea area;
        int width, height;
        int x, y;
    };
    const SCase cases[] = {
        {"task bar at the top", {0, 40, 1920, 1080}, 874, 538, 523, 291},
        {"a monitor left of the main one", {-1600, 0, 0, 860}, 874, 538, -1237, 161},
        {"too wide and too tall", {100, 30, 900, 630}, 1000, 700, 100, 30},
    };
    for (const SCase& c : cases) {
        const placement::SOrigin origin = placement::CentredIn(c.area, c.width, c.height);
        EXPECT_EQ(origin.x, c.x) << c.what;
        EXPECT_EQ(origin.y, c.y) << c.what;
    }
}
