#include "workshop/Calibration.h"

#include <algorithm>
#include <cmath>

namespace workshop {

size_t PutMark(std::vector<SWorkshopMark>& marks, const SWorkshopMark& mark) {
    const auto same = std::find_if(marks.begin(), marks.end(), [&mark](const SWorkshopMark& m) {
        return m.knots == mark.knots;
    });
    if (same != marks.end())
        marks.erase(same);
    const auto at = std::find_if(marks.begin(), marks.end(),
                                 [&mark](const SWorkshopMark& m) { return m.knots > mark.knots; });
    // The place is read after the insertion, which may move the marks.
    const auto inserted = marks.insert(at, mark);
    return static_cast<size_t>(inserted - marks.begin());
}

std::vector<artwork::SMark> TableMarks(const SCalibration& calibration) {
    std::vector<artwork::SMark> marks;
    for (const SWorkshopMark& m : calibration.marks)
        marks.push_back({m.knots, TableDegrees(calibration.geometry, m.at)});
    return marks;
}

SPoint TurnedBy(const artwork::SNeedleGeometry& geometry, SPoint at, double degrees) {
    const SPoint pivot = PivotOf(geometry);
    const double clock = ClockDegrees(pivot, at) + (geometry.clockwise ? degrees : -degrees);
    return PointAt(pivot, clock, Distance(pivot, at));
}

SWorkshopMark SnapMark(const std::vector<STick>& ticks, SPoint pivot, SPoint click) {
    SWorkshopMark mark;
    mark.at = click;
    if (const std::optional<STick> tick = NearestTick(ticks, ClockDegrees(pivot, click))) {
        mark.at = PointAt(pivot, tick->clockDegrees, Distance(pivot, click));
        mark.snapped = true;
    }
    return mark;
}

double SnapRest(const SRadialStrokes& strokes, SPoint pivot, SPoint click) {
    const double clock = ClockDegrees(pivot, click);
    double best = clock, gap = kSnapDegrees;
    for (const double needle : strokes.needles) {
        const double d = std::fabs(DirectionDifference(clock, needle));
        if (d <= gap) {
            gap = d;
            best = needle;
        }
    }
    if (const std::optional<STick> tick = NearestTick(strokes.ticks, clock, gap))
        best = tick->clockDegrees;
    return best;
}

void SnapAgain(std::vector<SWorkshopMark>& marks, const std::vector<STick>& ticks, SPoint pivot) {
    for (SWorkshopMark& m : marks) {
        if (!m.snapped)
            continue;
        const SWorkshopMark again = SnapMark(ticks, pivot, m.at);
        m.at = again.at;
        m.snapped = again.snapped;
    }
}

}  // namespace workshop
