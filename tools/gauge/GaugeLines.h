#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Reading the lines a gauge receives, without their CR LF. Strict on purpose: anything the
// tool would not produce is refused, so a virtual gauge catches formatting faults.
namespace gauge {

// "LOAD=" with a stage digit 1..3 and a dial-count digit 1..2.
struct SLoadLine {
    int stage;
    int dialCount;
};
std::optional<SLoadLine> ParseLoadLine(std::string_view line);

// "AABBGGRR" or "n|AABBGGRR": 8 upper-case hex digits (255 - alpha, blue, green, red),
// optionally after a decimal run count without sign or leading zero.
struct SPixelLine {
    long long runCount;           // 0 for a plain line
    std::array<uint8_t, 4> bgra;  // alpha already turned back: 255 - first byte
};
std::optional<SPixelLine> ParsePixelLine(std::string_view line);

// "NN" then NN times "EEE", all upper-case hex: the entry count and one angle in tenths of
// a degree per entry.
std::optional<std::vector<int>> ParseTableLine(std::string_view line);

}  // namespace gauge
