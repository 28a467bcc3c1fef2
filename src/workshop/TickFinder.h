#pragma once

#include <optional>
#include <vector>

#include "dial/RgbaPicture.h"
#include "workshop/DialGeometry.h"

// Finding the ticks of a dial's scale on its pixels: short radial strokes that contrast with
// the face around them, their outer (or inner) ends on one circle. A click near a tick snaps
// to its centre line.
namespace workshop {

enum class ETickLength { Long, Short };

struct STick {
    double clockDegrees = 0;  // its centre line, clockwise from straight up
    double inner = 0;         // the radii of its ends, in dial pixels
    double outer = 0;
    ETickLength length = ETickLength::Long;
};

struct SRadialStrokes {
    std::vector<STick> ticks;     // in clock order
    std::vector<double> needles;  // long strokes from near the pivot: a needle, or its shadow
};

// A pure function of the dial and the pivot. A digit (its strokes are not radial, or they lie
// off the ticks' circle), the needle and its shadow (too long) are not ticks. Ticks come in
// two lengths when the longer are at least 1.3 times the shorter and each length has a tenth
// of the ticks (two at least); all are long otherwise.
SRadialStrokes FindRadialStrokes(const SRgbaPicture& dial, SPoint pivot);

inline std::vector<STick> FindTicks(const SRgbaPicture& dial, SPoint pivot) {
    return FindRadialStrokes(dial, pivot).ticks;
}

// How far from a tick a click still snaps to it.
constexpr double kSnapDegrees = 3.0;

// The tick whose centre line is nearest the direction, within `within` degrees of it.
std::optional<STick> NearestTick(const std::vector<STick>& ticks, double clockDegrees,
                                 double within = kSnapDegrees);

}  // namespace workshop
