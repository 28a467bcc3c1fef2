#include "upload/RunLengthWalk.h"

#include <cstring>

#include "dial/CImage.h"
#include "dial/DialSize.h"
#include "upload/WireFormat.h"

namespace runlength {

SWalkStep NextLine(const CImage& dial, int row, int column, int refRow, int refColumn) {
    SWalkStep step;
    step.row = row;
    step.column = column;
    auto advance = [&step] {
        if (++step.column == kDialSide) {
            step.column = 0;
            ++step.row;
        }
    };
    const uint8_t* reference = dial.PixelAt(refColumn, refRow);
    advance();
    if (step.row >= kDialSide) {
        step.pastEnd = true;
        return step;
    }
    step.sendRow = step.row;
    step.sendColumn = step.column;
    while (std::memcmp(dial.PixelAt(step.sendColumn, step.sendRow), reference, 4) == 0) {
        ++step.runCount;
        advance();
        if (step.row >= kDialSide)
            break;  // the run reached the dial's last pixel
        step.sendRow = step.row;
        step.sendColumn = step.column;
    }
    return step;
}

SDialLines CountDialLines(const CImage& dial) {
    // As the upload goes: the first pixel plain, then one line per acknowledgement until
    // the bytes covered reach the dial's size.
    SDialLines count{1, static_cast<long long>(wire::PixelLine(dial.PixelAt(0, 0), 0).size())};
    const long long total = 4LL * kDialSide * kDialSide;
    long long covered = 0;
    int row = 0, column = 0, refRow = 0, refColumn = 0;
    for (;;) {
        covered += 4;
        if (covered >= total)
            return count;
        const SWalkStep step = NextLine(dial, row, column, refRow, refColumn);
        if (step.pastEnd)
            return count;
        covered += 4LL * step.runCount;
        row = step.row;
        column = step.column;
        refRow = step.sendRow;
        refColumn = step.sendColumn;
        ++count.lines;
        count.bytes += static_cast<long long>(
            wire::PixelLine(dial.PixelAt(refColumn, refRow), step.runCount).size());
    }
}

}  // namespace runlength
