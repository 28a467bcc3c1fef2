#include "kestran-upload/LatencyWarning.h"

#include <cstring>

#include "angles/NumberText.h"
#include "base/GaugeFacts.h"

namespace {
constexpr int kMaxHarmlessMs = 2;
}  // namespace

int DialLines(const CImage& dial) {
    if (dial.GetWidth() < gauge::kDialSide || dial.GetHeight() < gauge::kDialSide || dial.GetBPP() != 32)
        return 1;
    // The first pixel goes alone; every pixel that differs from the one before it starts a
    // line of its own; a run that reaches the last pixel ends with a line of it.
    int lines = 2;
    const uint8_t* previous = dial.PixelAt(0, 0);
    bool inRun = false;
    for (int i = 1; i < gauge::kDialSide * gauge::kDialSide; ++i) {
        const uint8_t* pixel = dial.PixelAt(i % gauge::kDialSide, i / gauge::kDialSide);
        inRun = std::memcmp(pixel, previous, 4) == 0;
        if (!inRun)
            ++lines;
        previous = pixel;
    }
    return inRun ? lines + 1 : lines;
}

std::optional<std::string> LatencyWarning(const std::string& port, const SAdapterLatency& latency,
                                          int lines) {
    if (latency.milliseconds <= kMaxHarmlessMs)
        return std::nullopt;
    const double seconds = static_cast<double>(lines) * latency.milliseconds / 1000.0;
    return "the adapter of " + port + " holds every reply back for " +
           std::to_string(latency.milliseconds) + " ms (its latency timer): the " +
           std::to_string(lines) + " lines of this upload take about " +
           numtext::FormatFixed(seconds, 0) +
           " seconds longer.\n  Set the timer to 1 ms: " + latency.howToSet;
}
