#include "gauge/GaugeLines.h"

namespace gauge {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The value of `digits` upper-case hex digits at the front of `text`, or -1.
int HexValue(std::string_view text, size_t digits) {
    if (text.size() < digits) {
        return -1;
    }
    int value = 0;
    for (size_t i = 0; i < digits; ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0) {
            return -1;
        }
        value = value * 16 + d;
    }
    return value;
}

}  // namespace

std::optional<SLoadLine> ParseLoadLine(std::string_view line) {
    constexpr std::string_view kPrefix = "LOAD=";
    if (line.size() != kPrefix.size() + 2 || line.substr(0, kPrefix.size()) != kPrefix) {
        return std::nullopt;
    }
    const int stage = line[5] - '0';
    const int dialCount = line[6] - '0';
    if (stage < 1 || stage > 3 || dialCount < 1 || dialCount > 2) {
        return std::nullopt;
    }
    return SLoadLine{stage, dialCount};
}

std::optional<SPixelLine> ParsePixelLine(std::string_view line) {
    SPixelLine pixel{0, {}};
    const size_t bar = line.find('|');
    if (bar != std::string_view::npos) {
        const std::string_view count = line.substr(0, bar);
        // Up to 12 digits keeps the sum in range; no dial comes near that.
        if (count.empty() || count.size() > 12 || count[0] == '0') {
            return std::nullopt;
        }
        for (char c : count) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            pixel.runCount = pixel.runCount * 10 + (c - '0');
        }
        line.remove_prefix(bar + 1);
    }
    if (line.size() != 8) {
        return std::nullopt;
    }
    const int transparency = HexValue(line, 2);
    const int blue = HexValue(line.substr(2), 2);
    const int green = HexValue(line.substr(4), 2);
    const int red = HexValue(line.substr(6), 2);
    if (transparency < 0 || blue < 0 || green < 0 || red < 0) {
        return std::nullopt;
    }
    pixel.bgra = {static_cast<uint8_t>(blue), static_cast<uint8_t>(green),
                  static_cast<uint8_t>(red), static_cast<uint8_t>(255 - transparency)};
    return pixel;
}

std::optional<std::vector<int>> ParseTableLine(std::string_view line) {
    const int count = HexValue(line, 2);
    if (count < 0 || line.size() != 2 + 3 * static_cast<size_t>(count)) {
        return std::nullopt;
    }
    std::vector<int> tenths;
    for (int k = 0; k < count; ++k) {
        const int value = HexValue(line.substr(2 + 3 * static_cast<size_t>(k)), 3);
        if (value < 0) {
            return std::nullopt;
        }
        tenths.push_back(value);
    }
    return tenths;
}

}  // namespace gauge
