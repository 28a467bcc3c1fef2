#include "workshop/ViewPixels.h"

#include <algorithm>
#include <cmath>

#include "artwork/Resample.h"

namespace workshop {
namespace {

const artwork::SColour kOutline{20, 20, 20};

}  // namespace

SRgbaPicture BlankView(int width, int height, const artwork::SColour& colour) {
    SRgbaPicture view(std::max(width, 0), std::max(height, 0));
    for (size_t i = 0; i < view.rgba.size(); i += 4) {
        view.rgba[i] = colour[0];
        view.rgba[i + 1] = colour[1];
        view.rgba[i + 2] = colour[2];
        view.rgba[i + 3] = 255;
    }
    return view;
}

void LayOver(SRgbaPicture& view, const SRgbaPicture& picture, int left, int top) {
    for (int y = std::max(0, -top); y < picture.height && top + y < view.height; ++y) {
        for (int x = std::max(0, -left); x < picture.width && left + x < view.width; ++x) {
            const uint8_t* p = picture.Pixel(x, y);
            uint8_t* v = view.Pixel(left + x, top + y);
            const int check = ((x / 8 + y / 8) % 2 == 0) ? 204 : 153;
            for (int c = 0; c < 3; ++c)
                v[c] = static_cast<uint8_t>((p[c] * p[3] + check * (255 - p[3]) + 127) / 255);
            v[3] = 255;
        }
    }
}

SRgbaPicture Fitted(const SRgbaPicture& picture, int width, int height) {
    if (picture.Empty() || width <= 0 || height <= 0)
        return {};
    const int factor = std::min(picture.width / width, picture.height / height) / 2;
    if (factor < 2)
        return artwork::Resample(picture, width, height);
    // Blocks averaged with their alpha, as the resampling weighs colours.
    SRgbaPicture reduced(picture.width / factor, picture.height / factor);
    for (int y = 0; y < reduced.height; ++y) {
        for (int x = 0; x < reduced.width; ++x) {
            double sum[4] = {0, 0, 0, 0};
            for (int dy = 0; dy < factor; ++dy) {
                for (int dx = 0; dx < factor; ++dx) {
                    const uint8_t* p = picture.Pixel(x * factor + dx, y * factor + dy);
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p[c] * p[3];
                    sum[3] += p[3];
                }
            }
            uint8_t* out = reduced.Pixel(x, y);
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>(sum[3] > 0 ? sum[c] / sum[3] + 0.5 : 0);
            out[3] = static_cast<uint8_t>(sum[3] / (factor * factor) + 0.5);
        }
    }
    return artwork::Resample(reduced, width, height);
}

void Ring(artwork::CCanvas& canvas, SPoint centre, double radius, double width,
          const artwork::SColour& colour) {
    const int pieces = std::clamp(static_cast<int>(radius), 24, 720);
    for (const auto& [w, c] : {std::pair{width + 2, kOutline}, std::pair{width, colour}}) {
        for (int k = 0; k < pieces; ++k) {
            const SPoint a = PointAt(centre, 360.0 * k / pieces, radius);
            const SPoint b = PointAt(centre, 360.0 * (k + 1) / pieces, radius);
            canvas.Line(a.x, a.y, b.x, b.y, w, c);
        }
    }
}

void Cross(artwork::CCanvas& canvas, SPoint centre, double reach, double width,
           const artwork::SColour& colour) {
    for (const auto& [w, c] : {std::pair{width + 2, kOutline}, std::pair{width, colour}}) {
        canvas.Line(centre.x - reach, centre.y, centre.x + reach, centre.y, w, c);
        canvas.Line(centre.x, centre.y - reach, centre.x, centre.y + reach, w, c);
    }
}

}  // namespace workshop
