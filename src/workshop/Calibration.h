#pragma once

#include <optional>
#include <vector>

#include "artwork/MonotoneTable.h"
#include "artwork/NeedleSheet.h"
#include "workshop/DialGeometry.h"
#include "workshop/TickFinder.h"

// What the user tells the workshop about the needle: where it turns, where it rests at 0
// knots, which way it turns and the marks of the scale, each a speed at a point of the dial.
namespace workshop {

struct SWorkshopMark {
    double knots = 0;
    SPoint at;             // in dial pixels
    bool snapped = false;  // on a tick's centre line, and kept there when the pivot moves
};

struct SCalibration {
    // The pivot; the zero is the needle's rest, in degrees clockwise from straight up.
    artwork::SNeedleGeometry geometry;
    bool restSet = false;
    std::vector<SWorkshopMark> marks;  // in order of speed, one a speed
    std::optional<int> maxKnots;       // chosen; otherwise it follows the highest mark
};

// Puts a mark in its place by speed, replacing one of the same speed. Answers its index.
size_t PutMark(std::vector<SWorkshopMark>& marks, const SWorkshopMark& mark);

// The marks as the table takes them: each speed at its angle from the rest.
std::vector<artwork::SMark> TableMarks(const SCalibration& calibration);

// The point turned about the pivot by `degrees` the way the speeds rise.
SPoint TurnedBy(const artwork::SNeedleGeometry& geometry, SPoint at, double degrees);

// A click where a mark is: on the nearest tick's centre line at the click's distance from
// the pivot, or where it is when no tick lies within a few degrees.
SWorkshopMark SnapMark(const std::vector<STick>& ticks, SPoint pivot, SPoint click);

// A click where the needle rests: the direction of the nearest needle or tick within a few
// degrees, or of the click itself.
double SnapRest(const SRadialStrokes& strokes, SPoint pivot, SPoint click);

// Marks placed on ticks, placed on them again after the pivot moved (the ticks found
// around the new pivot).
void SnapAgain(std::vector<SWorkshopMark>& marks, const std::vector<STick>& ticks, SPoint pivot);

}  // namespace workshop
