#pragma once

#include <string>
#include <vector>

// An angle table from a few marks read off the artwork: the needle's angle at a handful of
// speeds, every 10-knot entry filled by monotone piecewise-cubic (Fritsch-Carlson)
// interpolation, which never overshoots, so rising marks give a rising table.
namespace artwork {

struct SMark {
    double knots = 0;
    double degrees = 0;
};

// The marks in order of speed, with 0 knots at 0 degrees unless a mark says otherwise.
// Empty, with the reason in `why`, when two marks share a speed or the angles do not rise
// with the speed (the message names the marks).
std::vector<SMark> OrderMarks(std::vector<SMark> marks, std::string* why);

// The angle at `knots` on the curve through the ordered marks (at least two), which must
// not lie beyond the last mark.
double InterpolateMarks(const std::vector<SMark>& marks, double knots);

// Entries for 10, 20, ... `maxKnots` knots.
std::vector<double> FillTable(const std::vector<SMark>& marks, int maxKnots);

}  // namespace artwork
