#pragma once

// Where a host puts its window as it opens: centred on the work area of its monitor (the
// screen less the task bar), as a dialog program is expected to open.
namespace placement {

struct SArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};
struct SOrigin {
    int x = 0, y = 0;
};

// The top-left corner of a window of `width` x `height` centred in `workArea`. A window
// larger than the area keeps its top-left corner, and with it the caption, inside it.
SOrigin CentredIn(const SArea& workArea, int width, int height);

}  // namespace placement
