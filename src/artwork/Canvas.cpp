#include "artwork/Canvas.h"

#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "artwork/LabelFont.h"

namespace artwork {
namespace {

const stbtt_fontinfo* LabelFont() {
    static const stbtt_fontinfo* font = [] {
        static stbtt_fontinfo info;
        const int offset = stbtt_GetFontOffsetForIndex(LabelFontData(), 0);
        return offset >= 0 && stbtt_InitFont(&info, LabelFontData(), offset) != 0 ? &info
                                                                                   : nullptr;
    }();
    return font;
}

// Code points of UTF-8 text; a byte that does not decode stands for itself.
std::vector<int> CodePoints(const std::string& text) {
    std::vector<int> points;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        int length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        if (i + static_cast<size_t>(length) > text.size())
            length = 1;
        int point = length == 1 ? c : c & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            point = point << 6 | (static_cast<unsigned char>(text[i + static_cast<size_t>(k)]) & 0x3F);
        points.push_back(point);
        i += static_cast<size_t>(length);
    }
    return points;
}

// The squared distance from a point to a segment.
double SegmentDistance2(double px, double py, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / length2, 0.0, 1.0) : 0.0;
    const double ex = px - (x0 + t * dx);
    const double ey = py - (y0 + t * dy);
    return ex * ex + ey * ey;
}

}  // namespace

void CCanvas::Blend(int x, int y, double cover, const SColour& colour) {
    if (x < 0 || y < 0 || x >= m_sheet.width || y >= m_sheet.height || cover <= 0)
        return;
    cover = std::min(cover, 1.0);
    uint8_t* p = m_sheet.Pixel(x, y);
    // The mix lies between two bytes, so adding a half and truncating rounds it.
    for (size_t c = 0; c < 3; ++c)
        p[c] = static_cast<uint8_t>(p[c] + (colour[c] - p[c]) * cover + 0.5);
}

void CCanvas::Line(double x0, double y0, double x1, double y1, double width, const SColour& colour) {
    const double half = width / 2.0;
    const int left = static_cast<int>(std::floor(std::min(x0, x1) - half - 1));
    const int right = static_cast<int>(std::ceil(std::max(x0, x1) + half + 1));
    const int top = static_cast<int>(std::floor(std::min(y0, y1) - half - 1));
    const int bottom = static_cast<int>(std::ceil(std::max(y0, y1) + half + 1));
    for (int y = std::max(top, 0); y <= std::min(bottom, m_sheet.height - 1); ++y) {
        for (int x = std::max(left, 0); x <= std::min(right, m_sheet.width - 1); ++x) {
            const double d2 = SegmentDistance2(x + 0.5, y + 0.5, x0, y0, x1, y1);
            // Most of a slanted line's box lies too far to be touched.
            if (d2 < (half + 0.5) * (half + 0.5))
                Blend(x, y, half + 0.5 - std::sqrt(d2), colour);
        }
    }
}

void CCanvas::Disc(double cx, double cy, double radius, const SColour& colour) {
    Line(cx, cy, cx, cy, 2 * radius, colour);
}

double CCanvas::TextWidth(const std::string& text, double pixels) const {
    const stbtt_fontinfo* font = LabelFont();
    if (font == nullptr)
        return 0;
    const float scale = stbtt_ScaleForPixelHeight(font, static_cast<float>(pixels));
    double width = 0;
    const std::vector<int> points = CodePoints(text);
    for (size_t i = 0; i < points.size(); ++i) {
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(font, points[i], &advance, &bearing);
        width += advance * scale;
        if (i + 1 < points.size())
            width += scale * stbtt_GetCodepointKernAdvance(font, points[i], points[i + 1]);
    }
    return width;
}

void CCanvas::Text(const std::string& text, double cx, double cy, double pixels,
                   const SColour& colour) {
    const stbtt_fontinfo* font = LabelFont();
    if (font == nullptr)
        return;
    const float scale = stbtt_ScaleForPixelHeight(font, static_cast<float>(pixels));
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(font, &ascent, &descent, &gap);
    // Centred on the digits' height, which is about the ascent less the descent's share.
    const double baseline = cy + (ascent + descent) * scale / 2.0;
    double pen = cx - TextWidth(text, pixels) / 2.0;
    const std::vector<int> points = CodePoints(text);
    for (size_t i = 0; i < points.size(); ++i) {
        const float shift = static_cast<float>(pen - std::floor(pen));
        int w = 0, h = 0, xoff = 0, yoff = 0;
        unsigned char* glyph = stbtt_GetCodepointBitmapSubpixel(font, scale, scale, shift, 0.0f,
                                                                points[i], &w, &h, &xoff, &yoff);
        const int gx = static_cast<int>(std::floor(pen)) + xoff;
        const int gy = static_cast<int>(std::lround(baseline)) + yoff;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                Blend(gx + x, gy + y, glyph[y * w + x] / 255.0, colour);
        }
        stbtt_FreeBitmap(glyph, nullptr);
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(font, points[i], &advance, &bearing);
        pen += advance * scale;
        if (i + 1 < points.size())
            pen += scale * stbtt_GetCodepointKernAdvance(font, points[i], points[i + 1]);
    }
}

void CCanvas::Over(const SRgbaPicture& picture, int left, int top) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = picture.Pixel(x, y);
            Blend(left + x, top + y, p[3] / 255.0, SColour{p[0], p[1], p[2]});
        }
    }
}

}  // namespace artwork
