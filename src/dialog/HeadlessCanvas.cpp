#include "dialog/HeadlessCanvas.h"

#include <cstring>

#include "dial/CImage.h"
#include "dial/PixelOps.h"
#include "res/DialogTemplate.h"

CHeadlessCanvas::CHeadlessCanvas()
    : m_width(res::DluToPixelX(res::MainDialog().w)),
      m_height(res::DluToPixelY(res::MainDialog().h)),
      m_pixels(static_cast<size_t>(m_width) * m_height * 4) {
    Erase();
}

void CHeadlessCanvas::Erase() {
    m_draws.clear();
    // One row of background, copied into every other row: the fuzz targets make a canvas
    // per input, and a pixel-by-pixel erase dominated their time.
    const uint8_t background[4] = {kBackground, kBackground, kBackground, 255};
    const size_t rowBytes = static_cast<size_t>(m_width) * 4;
    for (size_t i = 0; i < rowBytes; i += 4)
        std::memcpy(&m_pixels[i], background, 4);
    for (size_t at = rowBytes; at < m_pixels.size(); at += rowBytes)
        std::memcpy(&m_pixels[at], m_pixels.data(), rowBytes);
}

void CHeadlessCanvas::Draw(const CImage& image, int x, int y) {
    m_draws.push_back({x, y, image.GetWidth(), image.GetHeight()});
    SSurface surface{m_pixels.data(), m_width, m_height, m_width * 4};
    pixelops::Draw(image, surface, x, y);
}

const uint8_t* CHeadlessCanvas::Pixel(int x, int y) const {
    return m_pixels.data() + (static_cast<size_t>(y) * m_width + static_cast<size_t>(x)) * 4;
}
