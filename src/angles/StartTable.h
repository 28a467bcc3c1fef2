#pragma once

#include <array>

// The angle table the window starts with: 200 knots, 318 degrees at the top.
namespace starttable {

constexpr int kEntries = 20;
constexpr double kTopAngle = 318.0;

// Needle angles for 10 ... 200 knots.
constexpr std::array<double, kEntries> kAngles = {
    7.5,   15.0,  22.5,  30.0,  50.0,  70.0,  90.0,  113.0, 136.0, 161.0,
    186.0, 208.0, 225.0, 241.0, 256.0, 269.0, 282.0, 294.0, 306.0, 318.0,
};

}  // namespace starttable
