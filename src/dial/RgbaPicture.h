#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dial/PixelView.h"

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
    SPixelView View() const {
        return {rgba.data(), width, height, static_cast<std::ptrdiff_t>(width) * 4, 4, false};
    }
    // A copy of any picture; opaque where it has no alpha.
    static SRgbaPicture CopyOf(const SPixelView& view) {
        SRgbaPicture copy(view.width, view.height);
        for (int y = 0; y < view.height; ++y) {
            for (int x = 0; x < view.width; ++x) {
                const auto bgra = view.Bgra(x, y);
                uint8_t* p = copy.Pixel(x, y);
                p[0] = bgra[2];
                p[1] = bgra[1];
                p[2] = bgra[0];
                p[3] = bgra[3];
            }
        }
        return copy;
    }

private:
    size_t Offset(int x, int y) const {
        return (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
    }
};
