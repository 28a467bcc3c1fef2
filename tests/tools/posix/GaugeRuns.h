#pragma once

// What the runs against a gauge on a pseudo-terminal share.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "support/SamePicture.h"
#include "support/TestImages.h"
#include "support/WaitFor.h"

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

inline int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
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
