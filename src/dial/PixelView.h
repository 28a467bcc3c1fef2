#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Read access to a picture's pixels, whoever holds them: the dial buffers keep blue first
// with their rows bottom-up, the artwork pictures red first with their rows top-down. The
// upload's walk, the PNG writer and the artwork code read either through this view,
// without converting one into the other.
struct SPixelView {
    const uint8_t* top = nullptr;  // the first pixel of the top row
    int width = 0;
    int height = 0;
    std::ptrdiff_t pitch = 0;  // bytes from a row to the one below it
    int bytesPerPixel = 4;     // 4: with alpha; 3: opaque
    bool blueFirst = true;     // blue, green, red (alpha); otherwise red, green, blue (alpha)

    bool Empty() const { return top == nullptr || width <= 0 || height <= 0; }
    const uint8_t* At(int x, int y) const {
        return top + y * pitch + static_cast<std::ptrdiff_t>(x) * bytesPerPixel;
    }
    // The pixel at (x, y) as blue, green, red, alpha; opaque without alpha.
    std::array<uint8_t, 4> Bgra(int x, int y) const {
        const uint8_t* p = At(x, y);
        const uint8_t alpha = bytesPerPixel == 4 ? p[3] : 255;
        return blueFirst ? std::array<uint8_t, 4>{p[0], p[1], p[2], alpha}
                         : std::array<uint8_t, 4>{p[2], p[1], p[0], alpha};
    }
};
