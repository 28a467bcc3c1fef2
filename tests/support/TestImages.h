#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "dial/CImage.h"
#include "dial/PngWrite.h"
#include "support/UniqueFolder.h"

// Pictures made by the tests themselves, written as PNG files into a per-test folder.
struct SBgra {
    uint8_t b, g, r, a;
};

// Fill a new 32-bit (or 24-bit) picture from a function of (x, y).
inline void FillImage(CImage& image, int width, int height, int bpp,
                      const std::function<SBgra(int, int)>& pixel) {
    image.Create(width, height, bpp, bpp == 32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const SBgra p = pixel(x, y);
            uint8_t* out = image.PixelAt(x, y);
            out[0] = p.b;
            out[1] = p.g;
            out[2] = p.r;
            if (bpp == 32)
                out[3] = p.a;
        }
    }
}

// Write a picture made from `pixel` as a PNG and answer its path.
inline std::string WriteTestPng(const CTempDir& dir, const std::string& name, int width, int height,
                                int bpp, const std::function<SBgra(int, int)>& pixel) {
    CImage image;
    FillImage(image, width, height, bpp, pixel);
    const std::string path = dir.File(name);
    WritePng(path.c_str(), image.View());
    return path;
}
