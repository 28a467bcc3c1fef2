#pragma once

#include <optional>
#include <string>
#include <vector>

#include "artwork/MonotoneTable.h"

namespace artwork {

// The table a few marks give, as a gauge configuration file holds it: what `kestran-dial
// table` writes and the dial workshop saves.
struct SMarkTable {
    std::string line;                  // the file's line
    std::vector<std::string> entries;  // its angles, as the file holds them (one decimal)
    std::vector<double> angles;        // the same as numbers
    int firstFailing = 0;              // the first entry the plausibility rule refuses; 0: none
};

// The entries up to `maxKnots` through marks in the order OrderMarks gives, the last of them
// at `maxKnots` or beyond. The rule is judged on the angles as the file holds them. Nothing
// when the angles make no line the file can hold.
std::optional<SMarkTable> FillMarkTable(const std::vector<SMark>& ordered, int maxKnots);

}  // namespace artwork
