#include "upload/DialWalk.h"

#include <cstring>

#include "base/GaugeFacts.h"

namespace upload {

bool IsDial(const SPixelView& dial) {
    return !dial.Empty() && dial.width == gauge::kDialSide && dial.height == gauge::kDialSide &&
           dial.bytesPerPixel == 4;
}

SPixelLine SDialWalk::Start(const SPixelView& dial) {
    bytesCovered = 0;
    totalBytes = dial.bytesPerPixel * dial.height * dial.width;
    row = column = refRow = refColumn = 0;
    return {dial.Bgra(0, 0), 0};
}

std::optional<SPixelLine> SDialWalk::Next(const SPixelView& dial) {
    auto advance = [this] {
        if (++column == gauge::kDialSide) {
            column = 0;
            ++row;
        }
    };
    const uint8_t* reference = dial.At(refColumn, refRow);
    advance();
    if (row >= gauge::kDialSide)
        return std::nullopt;
    int sendRow = row, sendColumn = column;
    int runCount = 0;
    while (std::memcmp(dial.At(sendColumn, sendRow), reference, 4) == 0) {
        ++runCount;
        bytesCovered += 4;
        advance();
        if (row >= gauge::kDialSide)
            break;  // the run reached the dial's last pixel, which the line carries again
        sendRow = row;
        sendColumn = column;
    }
    refRow = sendRow;
    refColumn = sendColumn;
    return SPixelLine{dial.Bgra(sendColumn, sendRow), runCount};
}

std::vector<SPixelLine> DialLines(const SPixelView& dial) {
    std::vector<SPixelLine> lines;
    if (!IsDial(dial))
        return lines;
    SDialWalk walk;
    lines.push_back(walk.Start(dial));
    for (;;) {
        walk.Acknowledge();
        if (walk.Complete())
            return lines;
        const std::optional<SPixelLine> line = walk.Next(dial);
        if (!line)
            return lines;
        lines.push_back(*line);
    }
}

}  // namespace upload
