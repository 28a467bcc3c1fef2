#pragma once

#include "artwork/NeedleSheet.h"

// Where a point of the dial lies for the needle: its angle in the table's terms, read from
// the pivot, the zero and the direction of a needle geometry. Points are in dial pixels from
// the top-left corner (a pixel's centre at x + 0.5), as the sheet's pivot is.
namespace workshop {

struct SPoint {
    double x = 0;
    double y = 0;
};

// The direction from `from` to `to` in degrees clockwise from straight up, 0 to below 360;
// 0 for the point itself.
double ClockDegrees(SPoint from, SPoint to);

// The table's angle of `point`: degrees from the zero in the direction the angles grow, 0 to
// below 360.
double TableDegrees(const artwork::SNeedleGeometry& geometry, SPoint point);

// The clock direction of a table angle.
double ClockOfTable(const artwork::SNeedleGeometry& geometry, double tableDegrees);

// The point `radius` pixels from the pivot in the clock direction `clockDegrees`.
SPoint PointAt(SPoint pivot, double clockDegrees, double radius);

double Distance(SPoint a, SPoint b);

// The difference between two directions, -180 to 180.
double DirectionDifference(double fromDegrees, double toDegrees);

inline SPoint PivotOf(const artwork::SNeedleGeometry& geometry) {
    return {geometry.pivotX, geometry.pivotY};
}

}  // namespace workshop
