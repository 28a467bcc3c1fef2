#include "upload/WireFormat.h"

#include <cstdio>

#include "angles/NumberText.h"
#include "base/GaugeFacts.h"

namespace wire {

std::string LoadLine(int stage, int dialCount) {
    char line[32];
    std::snprintf(line, sizeof line, "LOAD=%d%d\r\n", stage, dialCount);
    return line;
}

std::string PixelLine(const upload::SPixelLine& pixel) {
    char line[64];
    const auto& bgra = pixel.bgra;
    const unsigned transparency = 255u - bgra[3];
    if (pixel.runCount > 0) {
        std::snprintf(line, sizeof line, "%d|%02X%02X%02X%02X\r\n", pixel.runCount, transparency,
                      bgra[0], bgra[1], bgra[2]);
    } else {
        std::snprintf(line, sizeof line, "%02X%02X%02X%02X\r\n", transparency, bgra[0], bgra[1],
                      bgra[2]);
    }
    return line;
}

std::optional<int> AngleTenths(double angle) {
    const double tenths = angle * 10.0 + 0.5;
    // Written so that a NaN fails too.
    if (!(angle >= 0.0) || !(tenths < gauge::kMaxAngleTenths + 1.0))
        return std::nullopt;
    return static_cast<int>(tenths);
}

std::optional<std::string> AngleTableLine(int n, const std::function<std::string(int)>& entryText,
                                          int* badEntry) {
    if (badEntry != nullptr)
        *badEntry = 0;
    // The list gives 10..50; fewer entries still make a well-formed line, more do not exist.
    if (n < 0 || n > gauge::kMaxEntries)
        return std::nullopt;
    char field[8];
    std::snprintf(field, sizeof field, "%02X", static_cast<unsigned>(n));
    std::string line = field;
    for (int k = 1; k <= n; ++k) {
        const std::optional<int> tenths = AngleTenths(numtext::AtoF(entryText(k)));
        if (!tenths) {
            if (badEntry != nullptr)
                *badEntry = k;
            return std::nullopt;
        }
        std::snprintf(field, sizeof field, "%03X", static_cast<unsigned>(*tenths));
        line += field;
    }
    line += "\r\n";
    return line;
}

}  // namespace wire
