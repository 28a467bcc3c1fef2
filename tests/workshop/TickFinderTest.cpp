#include <gtest/gtest.h>

#include <cmath>

#include "workshop/DrawnDial.h"
#include "workshop/TickFinder.h"

namespace {

TEST(TickFinderTest, TicksDrawnAtKnownAnglesAreFoundWithinAFifthOfADegree) {
    // Numbers sit inside the ticks' circle; the needle and its shadow lie between two ticks.
    const struct {
        const char* name;
        drawn::SScale scale;
        bool darkFace;
        double needle;
        workshop::SPoint pivot;
    } cases[] = {
        {"white ticks on a dark face", {210, 200}, true, 300.7, {115, 115}},
        {"black ticks on a light face", {180, 220}, false, 36.8, {115, 115}},
        {"across straight up", {320, 150}, true, 100.4, {115, 115}},
        {"pivot off the picture's centre", {200, 200}, true, 355.2, {113.5, 117}},
    };
    for (const auto& c : cases) {
        drawn::SDialArt art;
        art.darkFace = c.darkFace;
        art.cx = c.pivot.x;
        art.cy = c.pivot.y;
        art.radius = 112;
        art.needleClock = c.needle;
        art = drawn::ScaleDial(c.scale, art);
        const workshop::SRadialStrokes found =
            workshop::FindRadialStrokes(drawn::DrawDial(art), c.pivot);
        ASSERT_EQ(found.ticks.size(), art.ticks.size()) << c.name;
        for (const drawn::STickArt& want : art.ticks) {
            const auto got = workshop::NearestTick(found.ticks, want.clockDegrees, 2.0);
            ASSERT_TRUE(got) << c.name << " at " << want.clockDegrees;
            EXPECT_NEAR(workshop::DirectionDifference(want.clockDegrees, got->clockDegrees), 0, 0.2)
                << c.name << " at " << want.clockDegrees;
            EXPECT_EQ(got->length,
                      want.isLong ? workshop::ETickLength::Long : workshop::ETickLength::Short)
                << c.name << " at " << want.clockDegrees;
        }
        // The needle is found as one, and neither it nor its shadow is a tick.
        ASSERT_FALSE(found.needles.empty()) << c.name;
        EXPECT_NEAR(workshop::DirectionDifference(c.needle, found.needles.front()), 0, 1.5)
            << c.name;
    }
}

TEST(TickFinderTest, NumbersBesideTheTicksAreNotTicks) {
    // Numbers between the ticks and right inside them, their ones radial at the top and the
    // bottom of the dial.
    drawn::SDialArt art;
    art.numberRadius = 0.66;
    for (int k = 0; k < 24; ++k)
        art.ticks.push_back({15.0 * k + 7.5, k % 2 == 0});
    for (double clock : {0.0, 15.0, 180.0, 195.0, 90.0})
        art.numbers.push_back({clock, "110"});
    const std::vector<workshop::STick> ticks =
        workshop::FindTicks(drawn::DrawDial(art), {115, 115});
    EXPECT_EQ(ticks.size(), art.ticks.size());
    for (const workshop::STick& t : ticks)
        EXPECT_LE(std::fabs(std::remainder(t.clockDegrees - 7.5, 15.0)), 0.2) << t.clockDegrees;
    // Without ticks, numbers make no scale.
    art.ticks.clear();
    EXPECT_TRUE(workshop::FindTicks(drawn::DrawDial(art), {115, 115}).empty());
}

TEST(TickFinderTest, AClickSnapsToTheNearestTickWithinAFewDegrees) {
    const std::vector<workshop::STick> ticks = {{10, 90, 100}, {20, 90, 100}, {359, 90, 100}};
    const struct {
        double click;
        double want;  // negative: none
    } cases[] = {{12, 10}, {17, 20}, {1, 359}, {356.5, 359}, {28, -1}, {200, -1}};
    for (const auto& c : cases) {
        const auto got = workshop::NearestTick(ticks, c.click);
        if (c.want < 0) {
            EXPECT_FALSE(got) << c.click;
        } else {
            ASSERT_TRUE(got) << c.click;
            EXPECT_EQ(got->clockDegrees, c.want) << c.click;
        }
    }
}

}  // namespace
