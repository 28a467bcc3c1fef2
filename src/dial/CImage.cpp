#include "dial/CImage.h"

#include <cstddef>
#include <limits>

bool CImage::Create(int width, int height, int bitsPerPixel, bool hasAlpha) {
    Destroy();
    if (width <= 0 || height <= 0 || (bitsPerPixel != 24 && bitsPerPixel != 32)) return false;
    const long long rowLength = RowLength(width, bitsPerPixel);
    if (rowLength * height > std::numeric_limits<int>::max()) return false;
    m_block.assign(static_cast<size_t>(rowLength * height), 0);
    m_width = width;
    m_height = height;
    m_bpp = bitsPerPixel;
    m_pitch = -static_cast<int>(rowLength);
    m_base = m_block.data() + (height - 1) * rowLength;
    m_alpha = hasAlpha;
    return true;
}

void CImage::Destroy() {
    if (IsNull()) return;
    std::vector<uint8_t>().swap(m_block);
    m_base = nullptr;
    m_width = m_height = m_pitch = m_bpp = 0;
    m_alpha = false;
}
