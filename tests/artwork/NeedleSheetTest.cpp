#include <gtest/gtest.h>

#include <cmath>

#include "artwork/NeedleSheet.h"

namespace {

// The sheet's colour at dial point (x, y), for a sheet drawn at scale 1.
const uint8_t* At(const SRgbaPicture& sheet, double x, double y) {
    const int margin = (sheet.width - 230) / 2;
    return sheet.Pixel(margin + static_cast<int>(x), margin + static_cast<int>(y));
}

// A line one pixel wide on a pixel edge covers half of each pixel beside it.
bool Red(const uint8_t* p) {
    return p[0] > p[1] + 60 && p[0] > p[2] + 60;
}
bool Blue(const uint8_t* p) {
    return p[2] > p[0] + 60;
}

TEST(NeedleSheetTest, NeedlesPointWhereTheGeometrySays) {
    const SRgbaPicture dial(230, 230);  // transparent: only the needles show
    const struct {
        const char* name;
        artwork::SNeedleGeometry geometry;
        double angle;
        double dx, dy;  // where the needle should lie, from the pivot
    } cases[] = {
        {"0 degrees points up", {115, 115, -30, true}, 30, 0, -1},
        {"90 degrees clockwise points right", {}, 90, 1, 0},
        {"counter-clockwise points left", {115, 115, 0, false}, 90, -1, 0},
        {"zero moved to the right", {115, 115, 90, true}, 90, 0, 1},
        {"pivot moved", {60, 170, 0, true}, 45, std::sqrt(0.5), -std::sqrt(0.5)},
    };
    for (const auto& c : cases) {
        artwork::SSheetOptions options;
        options.scale = 1;
        options.geometry = c.geometry;
        const SRgbaPicture sheet = artwork::DrawNeedleSheet(dial, {c.angle}, options);
        const double x = c.geometry.pivotX, y = c.geometry.pivotY;
        EXPECT_TRUE(Red(At(sheet, x + 40 * c.dx, y + 40 * c.dy))) << c.name;
        EXPECT_FALSE(Red(At(sheet, x - 40 * c.dx, y - 40 * c.dy))) << c.name;
    }
}

TEST(NeedleSheetTest, EntriesThatFailTheCheckAreDrawnInTheirOwnColour) {
    artwork::SSheetOptions options;
    options.scale = 1;
    // 20 knots falls back below 10 knots.
    const SRgbaPicture sheet = artwork::DrawNeedleSheet(SRgbaPicture(230, 230), {90, 45, 180}, options);
    EXPECT_TRUE(Red(At(sheet, 115 + 60, 115)));
    EXPECT_TRUE(Blue(At(sheet, 115 + 60 * std::sqrt(0.5), 115 - 60 * std::sqrt(0.5))));
    EXPECT_TRUE(Red(At(sheet, 115, 115 + 60)));
}

TEST(NeedleSheetTest, AngleAtASpeedIsLinearBetweenEntries) {
    const std::vector<double> angles{7.5, 15, 22.5, 30, 50};
    EXPECT_DOUBLE_EQ(*artwork::AngleAtSpeed(angles, 0), 0);
    EXPECT_DOUBLE_EQ(*artwork::AngleAtSpeed(angles, 5), 3.75);
    EXPECT_DOUBLE_EQ(*artwork::AngleAtSpeed(angles, 45), 40);
    EXPECT_DOUBLE_EQ(*artwork::AngleAtSpeed(angles, 50), 50);
    EXPECT_FALSE(artwork::AngleAtSpeed(angles, 50.5));
}

}  // namespace
