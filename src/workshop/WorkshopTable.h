#pragma once

#include <optional>
#include <string>
#include <vector>

#include "artwork/MarkTable.h"
#include "workshop/Calibration.h"

// The table the workshop's marks give, at every change: what is drawn, and whether and why
// not it can be saved.
namespace workshop {

struct SWorkshopTable {
    int maxKnots = 0;  // the maximum speed the table goes to
    // The table as the file will hold it; nothing while it cannot be saved for a reason
    // below other than a failing entry.
    std::optional<artwork::SMarkTable> table;
    // The needles to draw, 10 knots first: the table's, or as far as the marks reach.
    std::vector<double> needles;
    // Why the table cannot be saved; empty when it can.
    std::string refusal;
    // The plausibility rule's message for each entry that fails it.
    std::vector<std::string> failing;
};

// The maximum speed that follows the highest mark until the user chooses one: its speed in
// whole tens, 100 to 500 knots.
int FollowingMax(double highestKnots);

// The table through the calibration's marks, by the same monotone interpolation, rounding
// and rule as `kestran-dial table`.
SWorkshopTable TableThroughMarks(const SCalibration& calibration);

}  // namespace workshop
