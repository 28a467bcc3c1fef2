#pragma once

#include <chrono>

namespace gaugewire {

// The gauge's line: 38400 baud with 8 data bits, even parity and one stop bit, so every byte
// takes 11 bit times (start bit included).
constexpr long long kBaud = 38400;
constexpr long long kBitsPerByte = 11;

// How long `bytes` bytes take on the line.
constexpr std::chrono::nanoseconds WireTime(long long bytes) {
    return std::chrono::nanoseconds(bytes * kBitsPerByte * 1'000'000'000LL / kBaud);
}

}  // namespace gaugewire
