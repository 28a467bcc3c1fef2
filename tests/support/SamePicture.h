#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dial/CImage.h"

// Whether a dial the gauge rebuilt holds the 230 x 230 picture of `file`, alpha included.
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

// The same for a dial the gauge program wrote out as the PNG file `got`.
inline ::testing::AssertionResult SamePicture(const std::string& file, const std::string& got) {
    CImage have;
    if (have.Load(got.c_str()) != ImageLoadResult::Ok)
        return ::testing::AssertionFailure() << "cannot read " << got;
    if (have.GetWidth() != 230 || have.GetHeight() != 230 || have.GetBPP() != 32)
        return ::testing::AssertionFailure() << got << " is not a 230 x 230 picture with alpha";
    return SamePicture(file, &have) << " (" << got << ")";
}
