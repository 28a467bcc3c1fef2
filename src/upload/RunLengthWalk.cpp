#include "upload/RunLengthWalk.h"

#include <cstring>

#include "dial/CImage.h"
#include "base/GaugeFacts.h"

namespace runlength {
namespace {

// The length of wire::PixelLine's line for a run count: eight digits and CR LF, after
// "count|" when there is a run. Counted rather than formatted: a noisy dial has 50 000 lines.
long long LineBytes(int runCount) {
    long long bytes = 10;
    if (runCount > 0) {
        bytes += 1;
        for (int n = runCount; n > 0; n /= 10)
            ++bytes;
    }
    return bytes;
}

}  // namespace

SWalkStep NextLine(const CImage& dial, int row, int column, int refRow, int refColumn) {
    SWalkStep step;
    step.row = row;
    step.column = column;
    auto advance = [&step] {
        if (++step.column == gauge::kDialSide) {
            step.column = 0;
            ++step.row;
        }
    };
    const uint8_t* reference = dial.PixelAt(refColumn, refRow);
    advance();
    if (step.row >= gauge::kDialSide) {
        step.pastEnd = true;
        return step;
    }
    step.sendRow = step.row;
    step.sendColumn = step.column;
    while (std::memcmp(dial.PixelAt(step.sendColumn, step.sendRow), reference, 4) == 0) {
        ++step.runCount;
        advance();
        if (step.row >= gauge::kDialSide)
            break;  // the run reached the dial's last pixel
        step.sendRow = step.row;
        step.sendColumn = step.column;
    }
    return step;
}

SDialLines CountDialLines(const CImage& dial) {
    // As the upload goes: the first pixel plain, then one line per acknowledgement until
    // the bytes covered reach the dial's size.
    SDialLines count{1, LineBytes(0)};
    const long long total = 4LL * gauge::kDialSide * gauge::kDialSide;
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
        count.bytes += LineBytes(step.runCount);
    }
}

}  // namespace runlength
