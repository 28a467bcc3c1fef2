#include "dial/PixelOps.h"

#include <algorithm>

#include "dial/CImage.h"

namespace pixelops {

void Premultiply(CImage& image) {
    if (image.IsNull() || image.GetBPP() != 32)
        return;
    for (int x = 0; x < image.GetWidth(); ++x) {
        for (int y = 0; y < image.GetHeight(); ++y) {
            uint8_t* p = image.PixelAt(x, y);
            const unsigned a = p[3];
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<uint8_t>(p[c] * a / 255u);
        }
    }
}

bool Draw(const CImage& image, SSurface& target, int x, int y) {
    if (image.IsNull() || target.base == nullptr)
        return false;
    const int bytesPerPixel = image.GetBPP() / 8;
    const int left = std::max(0, -x);
    const int top = std::max(0, -y);
    const int right = std::min(image.GetWidth(), target.width - x);
    const int bottom = std::min(image.GetHeight(), target.height - y);
    for (int row = top; row < bottom; ++row) {
        uint8_t* out = target.base + static_cast<long>(y + row) * target.pitch;
        for (int col = left; col < right; ++col) {
            const uint8_t* src = image.PixelAt(col, row);
            uint8_t* dst = out + static_cast<long>(x + col) * 4;
            if (image.HasAlpha() && bytesPerPixel == 4) {
                const unsigned keep = 255u - src[3];
                for (int c = 0; c < 4; ++c) {
                    dst[c] = static_cast<uint8_t>(std::min(255u, src[c] + dst[c] * keep / 255u));
                }
            } else {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
                dst[3] = 255;
            }
        }
    }
    return true;
}

}  // namespace pixelops
