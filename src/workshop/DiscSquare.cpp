#include "workshop/DiscSquare.h"

#include <algorithm>
#include <cmath>

namespace workshop {

SRgbaPicture DiscSquare(const SRgbaPicture& picture, const SDisc& disc) {
    const int side = std::clamp(static_cast<int>(std::lround(2 * disc.radius)), 1, kMaxDiscSquare);
    const double step = 2 * disc.radius / side;
    const double left = disc.cx - disc.radius, top = disc.cy - disc.radius;
    SRgbaPicture square(side, side);
    // A pixel of the picture, transparent beyond it.
    const auto at = [&picture](int x, int y) -> const uint8_t* {
        static const uint8_t clear[4] = {0, 0, 0, 0};
        return x < 0 || y < 0 || x >= picture.width || y >= picture.height ? clear
                                                                           : picture.Pixel(x, y);
    };
    for (int j = 0; j < side; ++j) {
        const double fy = top + (j + 0.5) * step - 0.5;
        const int y0 = static_cast<int>(std::floor(fy));
        const double ay = fy - y0;
        for (int i = 0; i < side; ++i) {
            const double fx = left + (i + 0.5) * step - 0.5;
            const int x0 = static_cast<int>(std::floor(fx));
            const double ax = fx - x0;
            const uint8_t* corners[4] = {at(x0, y0), at(x0 + 1, y0), at(x0, y0 + 1),
                                         at(x0 + 1, y0 + 1)};
            const double weights[4] = {(1 - ax) * (1 - ay), ax * (1 - ay), (1 - ax) * ay, ax * ay};
            // Colours weighted by their alpha, so that a transparent neighbour lends none.
            double alpha = 0, rgb[3] = {0, 0, 0};
            for (int k = 0; k < 4; ++k) {
                const double a = weights[k] * corners[k][3];
                alpha += a;
                for (int c = 0; c < 3; ++c)
                    rgb[c] += a * corners[k][c];
            }
            uint8_t* out = square.Pixel(i, j);
            if (alpha > 0) {
                for (int c = 0; c < 3; ++c)
                    out[c] =
                        static_cast<uint8_t>(std::clamp(std::lround(rgb[c] / alpha), 0L, 255L));
            }
            out[3] = static_cast<uint8_t>(std::clamp(std::lround(alpha), 0L, 255L));
        }
    }
    return square;
}

}  // namespace workshop
