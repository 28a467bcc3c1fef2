#pragma once

#include <chrono>

#include "base/GaugeFacts.h"

namespace gaugewire {

// How long `bytes` bytes take on the gauge's line.
constexpr std::chrono::nanoseconds WireTime(long long bytes) {
    return std::chrono::nanoseconds(bytes * gauge::kBitsPerByte * 1'000'000'000LL / gauge::kBaud);
}

}  // namespace gaugewire
