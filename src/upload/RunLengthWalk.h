#pragma once

class CImage;

// One step of the walk that folds runs of identical pixels into one pixel line. The walk
// goes over a dial in raster order; `row` and `column` are the position last covered, the
// reference pixel the one the previous line carried.
namespace runlength {

struct SWalkStep {
    bool pastEnd = false;  // nothing was left to walk: the position was the dial's last
    int row = 0;           // the position last covered after this step
    int column = 0;
    int sendRow = 0;  // the pixel the line carries, which becomes the reference
    int sendColumn = 0;
    int runCount = 0;  // repeats of the reference before it; 4 bytes covered each
};

// The next line after (row, column) with the reference at (refRow, refColumn). A run has no
// limit and goes on across row ends; when it reaches the dial's end, the line carries the
// last pixel, which the run has already counted. `dial` is 230 x 230 at 32 bits.
SWalkStep NextLine(const CImage& dial, int row, int column, int refRow, int refColumn);

// What the walk sends for a whole dial: the lines and their bytes (CR LF included).
struct SDialLines {
    long long lines = 0;
    long long bytes = 0;
};
SDialLines CountDialLines(const CImage& dial);

}  // namespace runlength
