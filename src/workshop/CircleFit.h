#pragma once

#include <optional>
#include <vector>

#include "workshop/DialGeometry.h"

namespace workshop {

struct SCircle {
    double cx = 0;
    double cy = 0;
    double radius = 0;
};

// The circle nearest the points (least squares of their distances from it), after the points
// far off the first fit (a tick or a shadow the edge search took for the outline) are
// dropped. Nothing for fewer than 8 points or points that lie on no circle.
std::optional<SCircle> FitCircle(const std::vector<SPoint>& points);

}  // namespace workshop
