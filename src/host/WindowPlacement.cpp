#include "host/WindowPlacement.h"

#include <algorithm>

namespace placement {

namespace {

int Centred(int low, int high, int size) {
    return low + std::max(0, (high - low - size) / 2);
}

}  // namespace

SOrigin CentredIn(const SArea& workArea, int width, int height) {
    return {Centred(workArea.left, workArea.right, width),
            Centred(workArea.top, workArea.bottom, height)};
}

}  // namespace placement
