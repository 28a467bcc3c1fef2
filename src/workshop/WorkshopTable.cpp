#include "workshop/WorkshopTable.h"

#include <algorithm>
#include <cmath>

#include "angles/NumberText.h"
#include "angles/Plausibility.h"
#include "base/GaugeFacts.h"

namespace workshop {

int FollowingMax(double highestKnots) {
    const int tens = static_cast<int>(std::floor(highestKnots / gauge::kKnotsPerEntry));
    return std::clamp(tens * gauge::kKnotsPerEntry, gauge::kKnotsPerEntry * gauge::kMinEntries,
                      gauge::kKnotsPerEntry * gauge::kMaxEntries);
}

SWorkshopTable TableThroughMarks(const SCalibration& calibration) {
    SWorkshopTable out;
    const std::vector<artwork::SMark> given = TableMarks(calibration);
    const double highest = given.empty() ? 0 : given.back().knots;
    out.maxKnots = calibration.maxKnots.value_or(FollowingMax(highest));
    if (!calibration.restSet) {
        out.refusal = "Click where the needle rests at 0 knots first.";
        return out;
    }
    if (given.empty()) {
        out.refusal = "Click the marks of the scale and type their speeds.";
        return out;
    }
    std::string why;
    const std::vector<artwork::SMark> ordered = artwork::OrderMarks(given, &why);
    if (ordered.empty()) {
        out.refusal = "The marks do not make a table: " + why + ".";
        return out;
    }
    if (highest < out.maxKnots) {
        // Drawn as far as the marks reach.
        const int reach =
            static_cast<int>(std::floor(highest / gauge::kKnotsPerEntry)) * gauge::kKnotsPerEntry;
        out.needles = artwork::FillTable(ordered, reach);
        out.refusal = "The max speed, " + std::to_string(out.maxKnots) +
                      " knots, lies beyond the highest mark (" + numtext::FormatG(highest) +
                      " knots): add a mark at " + std::to_string(out.maxKnots) +
                      " knots or choose a lower max speed.";
        return out;
    }
    out.table = artwork::FillMarkTable(ordered, out.maxKnots);
    if (!out.table) {
        out.needles = artwork::FillTable(ordered, out.maxKnots);
        out.refusal = "The marks give no table that can be saved.";
        return out;
    }
    out.needles = out.table->angles;
    for (int k : plausibility::FailingEntries(out.table->angles))
        out.failing.push_back(plausibility::Message(k));
    if (out.table->firstFailing != 0)
        out.refusal = plausibility::Message(out.table->firstFailing) +
                      ": with one decimal the marks rise too little there.";
    return out;
}

}  // namespace workshop
