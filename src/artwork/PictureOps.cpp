#include "artwork/PictureOps.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "artwork/Resample.h"

namespace artwork {

bool InsidePicture(const SRect& rect, const SRgbaPicture& picture) {
    return rect.x >= 0 && rect.y >= 0 && rect.width > 0 && rect.height > 0 &&
           rect.width <= picture.width - rect.x && rect.height <= picture.height - rect.y;
}

SRgbaPicture Crop(const SRgbaPicture& picture, const SRect& rect) {
    SRgbaPicture out(rect.width, rect.height);
    for (int y = 0; y < rect.height; ++y) {
        std::memcpy(out.Pixel(0, y), picture.Pixel(rect.x, rect.y + y),
                    static_cast<size_t>(rect.width) * 4);
    }
    return out;
}

SRgbaPicture FitSquare(const SRgbaPicture& picture, int side, EFit fit) {
    const int w = picture.width;
    const int h = picture.height;
    if (fit == EFit::Cover) {
        // The largest centred square, then scaled: what sticks out on the long side goes.
        const int square = std::min(w, h);
        const SRgbaPicture middle =
            square == w && square == h
                ? picture
                : Crop(picture, SRect{(w - square) / 2, (h - square) / 2, square, square});
        return Resample(middle, side, side);
    }
    const double scale = static_cast<double>(side) / std::max(w, h);
    const int sw = std::clamp(static_cast<int>(std::lround(w * scale)), 1, side);
    const int sh = std::clamp(static_cast<int>(std::lround(h * scale)), 1, side);
    const SRgbaPicture scaled = Resample(picture, sw, sh);
    if (scaled.Empty())
        return scaled;
    SRgbaPicture out(side, side);
    const int left = (side - sw) / 2;
    const int top = (side - sh) / 2;
    for (int y = 0; y < sh; ++y) {
        std::memcpy(out.Pixel(left, top + y), scaled.Pixel(0, y), static_cast<size_t>(sw) * 4);
    }
    return out;
}

void MaskCircle(SRgbaPicture& picture, double diameter) {
    const double cx = picture.width / 2.0;
    const double cy = picture.height / 2.0;
    const double radius = diameter / 2.0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            // The share of the pixel inside the edge, for an edge one pixel wide.
            const double cover = std::clamp(radius - distance + 0.5, 0.0, 1.0);
            uint8_t* p = picture.Pixel(x, y);
            p[3] = static_cast<uint8_t>(std::lround(p[3] * cover));
        }
    }
}

void Flatten(SRgbaPicture& picture, const std::array<uint8_t, 3>& rgb) {
    for (size_t i = 0; i < picture.rgba.size(); i += 4) {
        uint8_t* p = &picture.rgba[i];
        const unsigned a = p[3];
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<uint8_t>((p[c] * a + rgb[static_cast<size_t>(c)] * (255 - a) + 127) / 255);
        p[3] = 255;
    }
}

void ClearTransparent(SRgbaPicture& picture) {
    for (size_t i = 0; i < picture.rgba.size(); i += 4) {
        if (picture.rgba[i + 3] == 0)
            std::memset(&picture.rgba[i], 0, 4);
    }
}

int MergeNearPixels(SRgbaPicture& picture, int levels) {
    if (levels <= 0 || picture.rgba.empty())
        return 0;
    int largest = 0;
    uint8_t kept[4];
    std::memcpy(kept, picture.rgba.data(), 4);
    for (size_t i = 4; i < picture.rgba.size(); i += 4) {
        uint8_t* p = &picture.rgba[i];
        int change = 0;
        for (int c = 0; c < 4; ++c)
            change = std::max(change, std::abs(p[c] - kept[c]));
        if (change <= levels) {
            largest = std::max(largest, change);
            std::memcpy(p, kept, 4);
        } else {
            std::memcpy(kept, p, 4);
        }
    }
    return largest;
}

}  // namespace artwork
