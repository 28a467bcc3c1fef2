#pragma once

#include <string>
#include <vector>

// Several virtual gauges at the line's pace loaded at once through the uploader's path for
// several ports, beside single uploads of the same dial; times taken at the gauges.
struct SFleetFigures {
    bool completed = false;
    std::string failure;
    std::vector<double> singleSeconds;  // one upload alone, per gauge timed so
    double togetherSeconds = 0;         // first LOAD in at any gauge to the last END in
};

// Uploads the PNG file `dial` as IAS dial: first alone to `singles` gauges one after the
// other, then to `gauges` gauges at once.
SFleetFigures TimeFleet(const std::string& dial, int gauges, int singles);
