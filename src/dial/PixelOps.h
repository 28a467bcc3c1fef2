#pragma once

#include <cstdint>

class CImage;

// A 32-bit surface addressed like the dial buffers: base of the top row, signed pitch,
// 4 bytes per pixel blue, green, red, alpha.
struct SSurface {
    uint8_t* base = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
};

namespace pixelops {

// Premultiply the colours of a 32-bit picture by its alpha, in place: each of blue, green
// and red becomes c * a / 255 (truncating); alpha stays.
void Premultiply(CImage& image);

// Draw `image` unscaled with its top-left corner at (x, y) of `target`, clipped to it.
// With the image's alpha flag set each target channel becomes
// source + target * (255 - source alpha) / 255 (a premultiplied source); otherwise the
// colours are copied opaque. Answers false for an empty image.
bool Draw(const CImage& image, SSurface& target, int x, int y);

}  // namespace pixelops
