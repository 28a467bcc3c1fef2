#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "dial/PixelView.h"

namespace upload {

// One pixel line: `runCount` more copies of the previous line's pixel, then `bgra` (blue,
// green, red, alpha).
struct SPixelLine {
    std::array<uint8_t, 4> bgra{};
    int runCount = 0;
};

// Whether the walk can go over this picture: 230 x 230 with 4 bytes a pixel.
bool IsDial(const SPixelView& dial);

// The run-length walk over one dial, as the upload makes its lines: raster order, runs of
// pixels equal to the previous line's folded into the next line, across row ends and
// without limit. A run that reaches the dial's end carries the last pixel once more, so
// the device then receives one position more than the dial has; the device relies on it.
struct SDialWalk {
    int bytesCovered = 0;  // 4 per pixel acknowledged or counted into a run
    int totalBytes = 0;
    int row = 0;  // the position last covered
    int column = 0;
    int refRow = 0;  // the pixel the previous line carried
    int refColumn = 0;

    // "READY": the walk starts over; answers the plain line of the top-left pixel.
    SPixelLine Start(const SPixelView& dial);
    // The device took the last line.
    void Acknowledge() { bytesCovered += 4; }
    // Whether the lines acknowledged so far cover the whole dial.
    bool Complete() const { return bytesCovered >= totalBytes; }
    // The line after the last one; nothing when the position is already the dial's last.
    std::optional<SPixelLine> Next(const SPixelView& dial);
};

// Every line of one dial, in order, as the upload sends them when each is acknowledged:
// what every count of an upload's lines and bytes is a sum over. Empty for a picture that
// is no dial.
std::vector<SPixelLine> DialLines(const SPixelView& dial);

}  // namespace upload
