#include <gtest/gtest.h>

#include "workshop/DialGeometry.h"

namespace {

TEST(DialGeometryTest, APointsAngleFollowsThePivotTheZeroAndTheDirection) {
    const struct {
        const char* name;
        artwork::SNeedleGeometry geometry;
        workshop::SPoint point;
        double degrees;
    } cases[] = {
        {"straight up", {}, {115, 15}, 0},
        {"right is 90 clockwise", {}, {215, 115}, 90},
        {"down", {}, {115, 215}, 180},
        {"left", {}, {15, 115}, 270},
        {"zero at 210", {115, 115, 210, true}, {15, 115}, 60},
        {"just before the zero",
         {115, 115, 210, true},
         workshop::PointAt({115, 115}, 209.5, 80),
         359.5},
        {"counter-clockwise", {115, 115, 0, false}, {15, 115}, 90},
        {"counter-clockwise from 150", {115, 115, 150, false}, {215, 115}, 60},
        {"pivot moved", {100, 130, 0, true}, {150, 80}, 45},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(workshop::TableDegrees(c.geometry, c.point), c.degrees, 1e-9) << c.name;
        // And back: the point lies in the direction of its angle.
        const double clock = workshop::ClockOfTable(c.geometry, c.degrees);
        EXPECT_NEAR(workshop::DirectionDifference(
                        workshop::ClockDegrees(workshop::PivotOf(c.geometry), c.point), clock),
                    0, 1e-9)
            << c.name;
    }
}

}  // namespace
