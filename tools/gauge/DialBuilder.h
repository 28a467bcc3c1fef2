#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/GaugeFacts.h"
#include "dial/CImage.h"

// Rebuilds one dial from its pixel lines, in raster order: top row first, each row from
// left to right, a run going on across row ends.
class CDialBuilder {
public:
    static constexpr int kPixels = gauge::kDialSide * gauge::kDialSide;

    CDialBuilder();
    CDialBuilder(const CDialBuilder&) = delete;
    CDialBuilder& operator=(const CDialBuilder&) = delete;

    // Applies one line: `runCount` more copies of the previous line's pixel, then `bgra`.
    // A run that fills the dial to its very end carries that same pixel once more, in a
    // position past the last one; that position is accepted and dropped. Anything else
    // that does not fit changes nothing and answers why.
    bool Apply(long long runCount, const std::array<uint8_t, 4>& bgra, std::string* error);

    bool IsComplete() const { return m_next >= kPixels; }
    int PixelsPlaced() const { return m_next; }
    const CImage& Image() const { return m_image; }
    CImage& Image() { return m_image; }

private:
    void Put(int position, const std::array<uint8_t, 4>& bgra);

    CImage m_image;
    int m_next = 0;  // position of the next pixel to place
    bool m_hasPrevious = false;
    std::array<uint8_t, 4> m_previous{};
};
