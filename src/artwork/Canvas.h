#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dial/RgbaPicture.h"

// Drawing on an opaque sheet with anti-aliased edges: lines, discs and text.
namespace artwork {

using SColour = std::array<uint8_t, 3>;

class CCanvas {
public:
    explicit CCanvas(SRgbaPicture& sheet) : m_sheet(sheet) {}

    // A straight line of `width` pixels between two points, with round ends.
    void Line(double x0, double y0, double x1, double y1, double width, const SColour& colour);
    void Disc(double cx, double cy, double radius, const SColour& colour);
    // UTF-8 text, `pixels` high, centred on (cx, cy).
    void Text(const std::string& text, double cx, double cy, double pixels, const SColour& colour);
    // The text's width at that height.
    double TextWidth(const std::string& text, double pixels) const;

    // A picture laid over the sheet with its top-left corner at (x, y).
    void Over(const SRgbaPicture& picture, int x, int y);

private:
    void Blend(int x, int y, double cover, const SColour& colour);

    SRgbaPicture& m_sheet;
};

}  // namespace artwork
