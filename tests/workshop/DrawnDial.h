#pragma once

// Dials drawn by the tests with the artwork library's own canvas, at known places and angles:
// a bezel, a face, ticks, numbers and a needle with its shadow, on white, on a photo-like
// background or on transparency.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "artwork/Canvas.h"
#include "dial/RgbaPicture.h"
#include "workshop/DialGeometry.h"

namespace drawn {

enum class EBackground { White, Photo, Transparent };

struct STickArt {
    double clockDegrees;
    bool isLong;
};

struct SDialArt {
    int width = 230, height = 230;
    EBackground background = EBackground::White;
    double cx = 115, cy = 115, radius = 114;
    bool darkFace = true;
    std::vector<STickArt> ticks;
    std::vector<std::pair<double, std::string>> numbers;  // clock degrees, text
    double numberRadius = 0.6;                            // of the radius
    double needleClock = -1;                              // none when negative
};

inline uint8_t Byte(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// Grain, a warm gradient, stripes like a desk's wood, a table edge and a coin: edges of every
// direction, and a small round one.
inline void PhotoBackground(SRgbaPicture& p) {
    uint32_t seed = 12345;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const double grain = ((seed >> 24) & 0xFF) / 255.0 * 24 - 12;
            const double wood = 18 * std::sin(x * 0.021 + 3 * std::sin(y * 0.004)) +
                                9 * std::sin(y * 0.07 + x * 0.002);
            const double light = 40.0 * x / p.width + 25.0 * y / p.height;
            uint8_t* px = p.Pixel(x, y);
            px[0] = Byte(120 + light + wood + grain);
            px[1] = Byte(85 + light * 0.8 + wood * 0.8 + grain);
            px[2] = Byte(55 + light * 0.5 + wood * 0.5 + grain);
            px[3] = 255;
        }
    }
    artwork::CCanvas canvas(p);
    canvas.Line(0, p.height * 0.82, p.width, p.height * 0.9, p.height * 0.01, {40, 30, 25});
    canvas.Disc(p.width * 0.12, p.height * 0.2, p.height * 0.05, {190, 160, 80});
    canvas.Disc(p.width * 0.12, p.height * 0.2, p.height * 0.04, {160, 130, 60});
}

inline SRgbaPicture DrawDial(const SDialArt& art) {
    SRgbaPicture p(art.width, art.height);
    if (art.background == EBackground::Photo) {
        PhotoBackground(p);
    } else {
        for (size_t i = 0; i < p.rgba.size(); i += 4) {
            p.rgba[i] = p.rgba[i + 1] = p.rgba[i + 2] = 255;
            p.rgba[i + 3] = 255;
        }
    }
    artwork::CCanvas canvas(p);
    const double R = art.radius;
    const artwork::SColour face =
        art.darkFace ? artwork::SColour{22, 24, 28} : artwork::SColour{236, 236, 230};
    const artwork::SColour ink =
        art.darkFace ? artwork::SColour{245, 245, 245} : artwork::SColour{15, 15, 15};
    canvas.Disc(art.cx, art.cy, R, {165, 168, 175});
    canvas.Disc(art.cx, art.cy, 0.93 * R, face);
    const workshop::SPoint centre{art.cx, art.cy};
    for (const STickArt& t : art.ticks) {
        const double length = t.isLong ? 0.14 * R : 0.07 * R;
        const auto a = workshop::PointAt(centre, t.clockDegrees, 0.88 * R);
        const auto b = workshop::PointAt(centre, t.clockDegrees, 0.88 * R - length);
        canvas.Line(a.x, a.y, b.x, b.y, t.isLong ? 0.024 * R : 0.014 * R, ink);
    }
    for (const auto& [clock, text] : art.numbers) {
        const auto at = workshop::PointAt(centre, clock, art.numberRadius * R);
        canvas.Text(text, at.x, at.y, 0.13 * R, ink);
    }
    if (art.needleClock >= 0) {
        const auto tip = workshop::PointAt(centre, art.needleClock, 0.84 * R);
        const auto tail = workshop::PointAt(centre, art.needleClock + 180, 0.15 * R);
        const double sx = 0.03 * R, sy = 0.04 * R;
        const artwork::SColour shadow =
            art.darkFace ? artwork::SColour{8, 8, 10} : artwork::SColour{150, 150, 150};
        canvas.Line(tail.x + sx, tail.y + sy, tip.x + sx, tip.y + sy, 0.05 * R, shadow);
        canvas.Line(tail.x, tail.y, tip.x, tip.y, 0.03 * R, {240, 120, 30});
    }
    canvas.Disc(art.cx, art.cy, 0.07 * R, {60, 60, 60});
    if (art.background == EBackground::Transparent) {
        // Opaque inside the disc, with an anti-aliased edge, and nothing outside.
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                const double d = std::hypot(x + 0.5 - art.cx, y + 0.5 - art.cy);
                const double cover = std::clamp(R - d + 0.5, 0.0, 1.0);
                uint8_t* px = p.Pixel(x, y);
                px[3] = Byte(255 * cover);
                if (px[3] == 0)
                    px[0] = px[1] = px[2] = 0;
            }
        }
    }
    return p;
}

// A scale of an airspeed dial: a tick every 10 knots from 0 to `top`, long every 50, on a
// scale that opens up with the speed; a number at every long tick.
struct SScale {
    double zeroClock = 210;
    int top = 200;
    // Degrees from the zero at `knots`.
    double Degrees(double knots) const { return 1.05 * knots + 0.0016 * knots * knots; }
    double Clock(double knots) const { return std::fmod(zeroClock + Degrees(knots), 360.0); }
};

inline SDialArt ScaleDial(const SScale& scale, SDialArt art) {
    for (int k = 0; k <= scale.top; k += 10) {
        art.ticks.push_back({scale.Clock(k), k % 50 == 0});
        if (k % 50 == 0 && k > 0)
            art.numbers.push_back({scale.Clock(k), std::to_string(k)});
    }
    return art;
}

}  // namespace drawn
