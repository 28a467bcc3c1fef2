#pragma once

// What the runs against a gauge on a pseudo-terminal share.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestImages.h"
#include "support/WaitFor.h"

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Round dials on a transparent surround with a soft edge, the face in sectors whose colours
// depend on `variant`: a few hundred lines each.
inline SBgra SectorDial(int variant, int x, int y) {
    const double dx = x - 114.5, dy = y - 114.5;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r > 113.0)
        return {0, 0, 0, 0};
    const auto sector = static_cast<int>(std::atan2(dy, dx) * 2 + 7) + variant;
    const auto alpha = static_cast<uint8_t>(r > 111.0 ? (113.0 - r) * 120 : 255);
    return {static_cast<uint8_t>(30 * sector), static_cast<uint8_t>(90 + variant),
            static_cast<uint8_t>(250 - 20 * sector), alpha};
}

inline std::string WriteSectorDial(const CTempDir& dir, int variant) {
    return WriteTestPng(dir, "dial" + std::to_string(variant) + ".png", 230, 230, 32,
                        [variant](int x, int y) { return SectorDial(variant, x, y); });
}

// The environment for programs whose gauges announce themselves in the test's own folder.
inline std::vector<std::string> RuntimeEnv(const CTempDir& dir) {
    const std::filesystem::path runtime = dir.Path() / "runtime";
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    return {"XDG_RUNTIME_DIR=" + runtime.string()};
}

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
