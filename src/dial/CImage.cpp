#include "dial/CImage.h"

#include <cstddef>
#include <limits>
#include <new>

#include "dial/PixelOps.h"

bool CImage::Create(int width, int height, int bitsPerPixel, bool hasAlpha) {
    Destroy();
    if (width <= 0 || height <= 0 || (bitsPerPixel != 24 && bitsPerPixel != 32))
        return false;
    const long long rowLength = RowLength(width, bitsPerPixel);
    // Pixel addresses are computed with int offsets (y * pitch), so the block must fit.
    if (rowLength > std::numeric_limits<int>::max() / height)
        return false;
    try {
        m_block.assign(static_cast<size_t>(rowLength * height), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_width = width;
    m_height = height;
    m_bpp = bitsPerPixel;
    m_pitch = -static_cast<int>(rowLength);
    m_base = m_block.data() + (height - 1) * rowLength;
    m_alpha = hasAlpha;
    return true;
}

void CImage::Destroy() {
    if (IsNull())
        return;
    std::vector<uint8_t>().swap(m_block);
    m_base = nullptr;
    m_width = m_height = m_pitch = m_bpp = 0;
    m_alpha = false;
}

bool CImage::Draw(SSurface& target, int x, int y) const {
    return pixelops::Draw(*this, target, x, y);
}
