#include "bench/BenchDials.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "base/GaugeFacts.h"

namespace {

constexpr double kCentre = gauge::kDialCentre;
constexpr double kPi = 3.14159265358979323846;
constexpr int kSubsamples = 4;  // per axis: 16 samples per pixel give the soft edges

struct SColour {
    double r, g, b, a;
};

constexpr SColour kClear{0, 0, 0, 0};
constexpr SColour kFace{16, 16, 18, 1};
constexpr SColour kBezel{70, 70, 76, 1};
constexpr SColour kWhite{245, 245, 245, 1};
constexpr SColour kGreen{30, 190, 60, 1};
constexpr SColour kYellow{250, 210, 20, 1};
constexpr SColour kRed{230, 30, 30, 1};

// The scale: 40 knots at the bottom left round to 200 knots, 300 degrees of sweep.
constexpr double kMinKnots = 40, kMaxKnots = 200, kSweep = 300;

// Angle of a speed, in degrees clockwise from the top.
double AngleOf(double knots) {
    return -kSweep / 2 + (knots - kMinKnots) / (kMaxKnots - kMinKnots) * kSweep;
}

// 5 x 7 digits, one row per entry, bit 4 the leftmost column.
constexpr std::array<std::array<uint8_t, 7>, 10> kDigits = {{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E},
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F},
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02},
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E},
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E},
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x01, 0x0E},
}};
constexpr double kGlyphScale = 2.0;  // a digit is 10 x 14 pixels

// Whether (x, y) lies on the digits of `number` centred at (cx, cy).
bool OnNumber(int number, double cx, double cy, double x, double y) {
    const std::string text = std::to_string(number);
    const double width = (static_cast<double>(text.size()) * 6 - 1) * kGlyphScale;
    const double left = cx - width / 2, top = cy - 7 * kGlyphScale / 2;
    const double gx = (x - left) / kGlyphScale, gy = (y - top) / kGlyphScale;
    if (gx < 0 || gy < 0 || gy >= 7)
        return false;
    const int cell = static_cast<int>(gx) / 6, column = static_cast<int>(gx) % 6;
    if (cell >= static_cast<int>(text.size()) || column == 5)
        return false;
    const uint8_t row = kDigits[static_cast<size_t>(text[static_cast<size_t>(cell)] - '0')]
                               [static_cast<size_t>(gy)];
    return ((row >> (4 - column)) & 1) != 0;
}

// The dial at a point of the picture (not a pixel: the supersampling asks between them).
SColour RealisticAt(double x, double y) {
    const double dx = x - kCentre, dy = y - kCentre;
    const double r = std::hypot(dx, dy);
    if (r > 113)
        return kClear;
    if (r > 106)
        return kBezel;
    double angle = std::atan2(dx, -dy) * 180 / kPi;  // clockwise from the top

    // Speed arcs just inside the bezel.
    auto between = [angle](double fromKnots, double toKnots) {
        return angle >= AngleOf(fromKnots) && angle <= AngleOf(toKnots);
    };
    if (r > 98 && r <= 104) {
        if (between(60, 150))
            return kGreen;
        if (between(150, 185))
            return kYellow;
    }
    if (r > 90 && r <= 98 && between(45, 100))
        return kWhite;
    if (r > 84 && r <= 104 && std::abs(angle - AngleOf(185)) < 0.8)
        return kRed;

    // Ticks: every 10 knots, longer and wider every 50.
    for (int knots = static_cast<int>(kMinKnots); knots <= kMaxKnots; knots += 10) {
        const bool major = knots % 50 == 0;
        const double inner = major ? 80 : 88;
        if (r < inner || r > 98)
            continue;
        const double tickAngle = AngleOf(knots) * kPi / 180;
        // Distance from the tick's centre line.
        const double across = std::abs(dx * std::cos(tickAngle) + dy * std::sin(tickAngle));
        const double along = dx * std::sin(tickAngle) - dy * std::cos(tickAngle);
        if (along > 0 && across < (major ? 1.6 : 0.8))
            return kWhite;
    }
    // Numbers inside the major ticks.
    for (int knots = 50; knots <= kMaxKnots; knots += 50) {
        const double a = AngleOf(knots) * kPi / 180;
        if (OnNumber(knots, kCentre + 64 * std::sin(a), kCentre - 64 * std::cos(a), x, y)) {
            return kWhite;
        }
    }
    // Hub in the middle.
    if (r < 9)
        return kBezel;
    return kFace;
}

void Put(CImage& image, int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    uint8_t* p = image.PixelAt(x, y);
    p[0] = b;
    p[1] = g;
    p[2] = r;
    p[3] = a;
}

uint8_t Byte(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

void DrawRealisticDial(CImage& image) {
    image.Create(gauge::kDialSide, gauge::kDialSide, 32, true);
    for (int y = 0; y < gauge::kDialSide; ++y) {
        for (int x = 0; x < gauge::kDialSide; ++x) {
            // Average with weight of coverage, then back to straight alpha.
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    const SColour c =
                        RealisticAt(x + (sx + 0.5) / kSubsamples, y + (sy + 0.5) / kSubsamples);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            if (a == 0) {
                Put(image, x, y, 0, 0, 0, 0);
            } else {
                Put(image, x, y, Byte(r / a), Byte(g / a), Byte(b / a),
                    Byte(a * 255 / (kSubsamples * kSubsamples)));
            }
        }
    }
}

void DrawWorstCaseDial(CImage& image) {
    image.Create(gauge::kDialSide, gauge::kDialSide, 32, true);
    for (int y = 0; y < gauge::kDialSide; ++y) {
        for (int x = 0; x < gauge::kDialSide; ++x) {
            // Blue differs from the left neighbour (and across a row end), green from the
            // one above.
            const int i = y * gauge::kDialSide + x;
            Put(image, x, y, static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y),
                static_cast<uint8_t>(i), static_cast<uint8_t>(128 + (i * 37) % 128));
        }
    }
}
