#include "workshop/PolarDial.h"

#include <algorithm>
#include <cmath>

namespace workshop {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct SSample {
    float brightness;
    float alpha;  // 0 to 1
};

// Bilinear, with pixel centres at x + 0.5; transparent beyond the picture.
SSample SampleAt(const SRgbaPicture& dial, double x, double y) {
    const double fx = x - 0.5, fy = y - 0.5;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const double ax = fx - x0, ay = fy - y0;
    double sum = 0, alpha = 0;
    for (int k = 0; k < 4; ++k) {
        const int px = x0 + (k & 1), py = y0 + (k >> 1);
        if (px < 0 || py < 0 || px >= dial.width || py >= dial.height)
            continue;
        const double w = ((k & 1) != 0 ? ax : 1 - ax) * ((k >> 1) != 0 ? ay : 1 - ay);
        const uint8_t* p = dial.Pixel(px, py);
        const double a = w * p[3] / 255.0;
        sum += a * (0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]);
        alpha += a;
    }
    return {alpha > 0 ? static_cast<float>(sum / alpha) : 0.0f, static_cast<float>(alpha)};
}

}  // namespace

SPolarDial ResampleAround(const SRgbaPicture& dial, SPoint pivot, double innerRadius,
                          double outerRadius) {
    SPolarDial polar;
    polar.innerRadius = innerRadius;
    polar.rowStep = 0.5;
    polar.rows = std::max(1, static_cast<int>((outerRadius - innerRadius) / polar.rowStep) + 1);
    // A whole number of columns to the degree.
    const int perDegree =
        std::max(2, static_cast<int>(std::ceil(2 * kPi * outerRadius / 0.25 / 360.0)));
    polar.columns = 360 * perDegree;
    std::vector<SSample> samples(static_cast<size_t>(polar.rows) *
                                 static_cast<size_t>(polar.columns));
    std::vector<double> sines(static_cast<size_t>(polar.columns)), cosines(sines.size());
    for (int j = 0; j < polar.columns; ++j) {
        const double a = 2 * kPi * j / polar.columns;
        sines[static_cast<size_t>(j)] = std::sin(a);
        cosines[static_cast<size_t>(j)] = std::cos(a);
    }
    std::vector<float> opaque;
    for (int i = 0; i < polar.rows; ++i) {
        const double r = polar.Radius(i);
        for (int j = 0; j < polar.columns; ++j) {
            const SSample s = SampleAt(dial, pivot.x + r * sines[static_cast<size_t>(j)],
                                       pivot.y - r * cosines[static_cast<size_t>(j)]);
            samples[static_cast<size_t>(i) * static_cast<size_t>(polar.columns) +
                    static_cast<size_t>(j)] = s;
            if (s.alpha > 0.98f)
                opaque.push_back(s.brightness);
        }
    }
    if (!opaque.empty()) {
        std::nth_element(opaque.begin(), opaque.begin() + static_cast<long>(opaque.size() / 2),
                         opaque.end());
        polar.face = opaque[opaque.size() / 2];
    } else {
        polar.face = 128;
    }
    polar.brightness.resize(samples.size());
    for (size_t k = 0; k < samples.size(); ++k) {
        const SSample& s = samples[k];
        polar.brightness[k] =
            static_cast<float>(s.alpha * s.brightness + (1 - s.alpha) * polar.face);
    }
    return polar;
}

}  // namespace workshop
