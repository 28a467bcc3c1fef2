#pragma once

#include <vector>

#include "dial/RgbaPicture.h"
#include "workshop/DialGeometry.h"

namespace workshop {

// A dial's brightness resampled around a pivot: a row per radius, a column per direction
// (column 0 straight up, clockwise), so that a radial stroke becomes a vertical one. Where the
// dial is transparent it reads as its face.
struct SPolarDial {
    int rows = 0;
    int columns = 0;
    double innerRadius = 0;         // the radius of row 0
    double rowStep = 0;             // pixels between rows
    double face = 0;                // the face's brightness: the middle value of the opaque samples
    std::vector<float> brightness;  // rows * columns, row after row

    double Radius(int row) const { return innerRadius + row * rowStep; }
    double ColumnDegrees() const { return 360.0 / columns; }
    float At(int row, int column) const {
        return brightness[static_cast<size_t>(row) * static_cast<size_t>(columns) +
                          static_cast<size_t>(column)];
    }
};

// Rows from `innerRadius` to `outerRadius` half a pixel apart, columns at most a quarter of a
// pixel apart at the outer radius.
SPolarDial ResampleAround(const SRgbaPicture& dial, SPoint pivot, double innerRadius,
                          double outerRadius);

}  // namespace workshop
