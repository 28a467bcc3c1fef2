#pragma once

#include <optional>
#include <vector>

#include "dial/RgbaPicture.h"
#include "base/GaugeFacts.h"

// The calibration sheet: a dial drawn enlarged with a thin needle line for every entry of
// an angle table, labelled with its speed, so the table can be checked against the dial's
// own marks without a gauge.
namespace artwork {

// Where the needle turns and which way. Angles are degrees from `zeroDegrees`, which is
// itself measured clockwise from straight up.
struct SNeedleGeometry {
    double pivotX = gauge::kDialCentre;  // in dial pixels from the left edge
    double pivotY = gauge::kDialCentre;  //   and from the top edge
    double zeroDegrees = 0.0;
    bool clockwise = true;
};

struct SSheetOptions {
    int scale = 3;
    SNeedleGeometry geometry;
    std::optional<double> atKnots;  // one full needle at this speed
};

constexpr int kMaxSheetScale = 8;

// Where a sheet drawn at `scale` (clamped to 1 ... kMaxSheetScale) puts the dial: `margin`
// pixels in from the sheet's left and top edges, each dial pixel `scale` sheet pixels across.
struct SSheetLayout {
    int scale = 1;
    int margin = 0;
    int width = 0;  // the sheet's size, the caption beneath the dial included
    int height = 0;
};
SSheetLayout SheetLayout(int dialWidth, int dialHeight, int scale);

// The angle at `knots` on the table, linear between the entries around it, 0 knots at 0
// degrees. Nothing beyond the table's last entry or below 0 knots.
std::optional<double> AngleAtSpeed(const std::vector<double>& angles, double knots);

// Entries 1 ... n of `angles` (10 knots first) over the dial; entries the plausibility rule
// refuses are drawn in a colour of their own.
SRgbaPicture DrawNeedleSheet(const SRgbaPicture& dial, const std::vector<double>& angles,
                             const SSheetOptions& options);

}  // namespace artwork
