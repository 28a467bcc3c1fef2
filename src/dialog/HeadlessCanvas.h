#pragma once

#include <cstdint>
#include <vector>

class CImage;

// The main dialog's client area in memory, for a headless host that should keep what the
// dialog paints: tests and fuzzers attach one, the command-line uploader does without.
class CHeadlessCanvas {
public:
    struct SDrawCall {
        int x, y, width, height;
    };

    // The colour the client area is erased with.
    static constexpr uint8_t kBackground = 240;

    // Sized from the main dialog's template, erased.
    CHeadlessCanvas();

    // A repaint: the whole area erased, the draw log emptied.
    void Erase();
    void Draw(const CImage& image, int x, int y);

    // The client area as drawn since the last erase: 32-bit, top row first.
    const std::vector<uint8_t>& Pixels() const { return m_pixels; }
    const uint8_t* Pixel(int x, int y) const;
    // The pictures drawn since the last erase, in order.
    const std::vector<SDrawCall>& DrawCalls() const { return m_draws; }

private:
    int m_width;
    int m_height;
    std::vector<uint8_t> m_pixels;
    std::vector<SDrawCall> m_draws;
};
