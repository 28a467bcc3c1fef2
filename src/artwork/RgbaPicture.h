#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A picture being worked on: rows top first, each pixel the bytes red, green, blue, alpha
// with straight alpha, no padding between rows.
struct SRgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    SRgbaPicture() = default;
    SRgbaPicture(int w, int h)
        : width(w), height(h), rgba(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0) {}

    bool Empty() const { return width <= 0 || height <= 0; }
    uint8_t* Pixel(int x, int y) { return rgba.data() + Offset(x, y); }
    const uint8_t* Pixel(int x, int y) const { return rgba.data() + Offset(x, y); }

private:
    size_t Offset(int x, int y) const {
        return (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
    }
};
