#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reading back the lines the tool sends, as the gauge would parse them.
namespace wirecheck {

enum class ELineKind { Load, Pixel, Table, Continue, End, Error };

struct SLine {
    ELineKind kind = ELineKind::Error;
    int stage = 0;                   // LOAD: stage digit
    int dialCount = 0;               // LOAD: dial-count digit
    int runCount = 0;                // pixel line: 0 for a plain line
    uint8_t bgra[4] = {0, 0, 0, 0};  // pixel line: the pixel carried
    std::vector<int> tenths;         // table line: one value per entry
};

// The line, or nothing when it is not exactly one of the lines the protocol knows, ending
// in CR LF.
std::optional<SLine> Parse(const std::string& text);

}  // namespace wirecheck
