#pragma once

#include <string>

#include "dial/RgbaPicture.h"

namespace workshop {

// A USB serial adapter holds each reply back this long unless its latency timer is set
// lower (FTDI's default).
constexpr int kUsbLatencyMs = 16;

struct SDialCost {
    long long lines = 0;     // every line the upload of the dial alone writes
    double wireSeconds = 0;  // at 38400 baud 8E1, both ways
    double usbSeconds = 0;   // the same with every reply held back by the adapter
};

// Counted by the upload's own walk over the dial.
SDialCost DialCost(const SRgbaPicture& dial);

// "6535 lines: 25.1 s at 38400 baud, 2 min 10.4 s through a USB adapter at 16 ms"
std::string DialCostText(const SDialCost& cost);

}  // namespace workshop
