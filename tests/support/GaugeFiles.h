#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "support/FileBytes.h"
#include "support/SamePicture.h"
#include "support/TestImages.h"
#include "support/WaitFor.h"

// What a virtual gauge on a COM port received (tests/windows/WithGauges.sh), and pictures
// small enough to upload quickly under Wine.

// The gauge's output folder for `port` as the environment names it; empty without one.
inline std::filesystem::path GaugeOut(const std::string& port) {
    const char* value = std::getenv(("KESTRAN_GAUGE_" + port + "_OUT").c_str());
    return value != nullptr ? value : "";
}

// A round dial on a transparent surround, its face in bands of colour that change with
// `variant`: a few hundred lines, so that an upload under Wine stays short.
inline SBgra BandedDial(int variant, int x, int y) {
    const int dx = x - 115, dy = y - 115;
    if (dx * dx + dy * dy > 110 * 110)
        return {0, 0, 0, 0};
    const auto band = static_cast<uint8_t>((y / 10 + variant) % 5);
    return {static_cast<uint8_t>(40 * band), static_cast<uint8_t>(20 * variant),
            static_cast<uint8_t>(250 - 30 * band), static_cast<uint8_t>(x < 115 ? 255 : 200)};
}
