#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "support/TestImages.h"

// Round dials on a transparent surround with a soft edge, the face in sectors whose colours
// depend on `variant`: a few hundred lines each.
inline SBgra FaultDial(int variant, int x, int y) {
    const double dx = x - 114.5, dy = y - 114.5;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r > 113.0)
        return {0, 0, 0, 0};
    const auto sector = static_cast<int>(std::atan2(dy, dx) * 2 + 7) + variant;
    const auto alpha = static_cast<uint8_t>(r > 111.0 ? (113.0 - r) * 120 : 255);
    return {static_cast<uint8_t>(30 * sector), static_cast<uint8_t>(90 + variant),
            static_cast<uint8_t>(250 - 20 * sector), alpha};
}

inline std::string WriteFaultDial(const CTempDir& dir, int variant) {
    return WriteTestPng(dir, "dial" + std::to_string(variant) + ".png", 230, 230, 32,
                        [variant](int x, int y) { return FaultDial(variant, x, y); });
}

// Whether a dial the gauge rebuilt holds the picture of `file`, alpha included.
inline ::testing::AssertionResult SamePicture(const std::string& file, const CImage* got) {
    CImage want;
    if (want.Load(file.c_str()) != ImageLoadResult::Ok)
        return ::testing::AssertionFailure() << "cannot read " << file;
    if (got == nullptr)
        return ::testing::AssertionFailure() << "the gauge holds no dial";
    for (int y = 0; y < 230; ++y) {
        for (int x = 0; x < 230; ++x) {
            if (std::memcmp(want.PixelAt(x, y), got->PixelAt(x, y), 4) != 0)
                return ::testing::AssertionFailure() << "differs at (" << x << ", " << y << ")";
        }
    }
    return ::testing::AssertionSuccess();
}
