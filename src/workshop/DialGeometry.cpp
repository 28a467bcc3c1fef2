#include "workshop/DialGeometry.h"

#include <cmath>

namespace workshop {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Wrap360(double degrees) {
    double wrapped = std::fmod(degrees, 360.0);
    if (wrapped < 0)
        wrapped += 360.0;
    // fmod of a tiny negative value gives 360 after the addition.
    return wrapped >= 360.0 ? 0.0 : wrapped;
}

}  // namespace

double ClockDegrees(SPoint from, SPoint to) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    if (dx == 0 && dy == 0)
        return 0;
    // Screen y grows downwards: straight up is -y, clockwise turns towards +x.
    return Wrap360(std::atan2(dx, -dy) * 180.0 / kPi);
}

double TableDegrees(const artwork::SNeedleGeometry& geometry, SPoint point) {
    const double clock = ClockDegrees(PivotOf(geometry), point);
    return Wrap360(geometry.clockwise ? clock - geometry.zeroDegrees
                                      : geometry.zeroDegrees - clock);
}

double ClockOfTable(const artwork::SNeedleGeometry& geometry, double tableDegrees) {
    return Wrap360(geometry.clockwise ? geometry.zeroDegrees + tableDegrees
                                      : geometry.zeroDegrees - tableDegrees);
}

SPoint PointAt(SPoint pivot, double clockDegrees, double radius) {
    const double radians = clockDegrees * kPi / 180.0;
    return {pivot.x + radius * std::sin(radians), pivot.y - radius * std::cos(radians)};
}

double Distance(SPoint a, SPoint b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

double DirectionDifference(double fromDegrees, double toDegrees) {
    const double d = Wrap360(toDegrees - fromDegrees);
    return d > 180.0 ? d - 360.0 : d;
}

}  // namespace workshop
