#include "dial/CImage.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <new>

#include "dial/PictureFile.h"
#include "dial/PixelOps.h"
#include "dial/PngDecode.h"

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

ImageLoadResult CImage::Load(const char* path, std::string* why) {
    Destroy();
    if (path == nullptr)
        return ImageLoadResult::Fail;
    std::vector<uint8_t> bytes;
    if (!ReadPictureFile(path, bytes, why))
        return ImageLoadResult::Fail;
    return LoadFromMemory(bytes.data(), bytes.size(), why);
}

ImageLoadResult CImage::LoadFromMemory(const uint8_t* data, size_t size, std::string* why) {
    Destroy();
    SRgbaPicture picture;
    bool alpha = false;
    switch (DecodePng(data, size, picture, &alpha, why)) {
        case EPngDecode::Ok:
            break;
        case EPngDecode::Refused:
            return ImageLoadResult::Fail;
        case EPngDecode::PixelsFailed:
            return ImageLoadResult::OutOfMemory;
    }
    // Pictures with any transparency become 32 bits a pixel, others 24.
    if (!Create(picture.width, picture.height, alpha ? 32 : 24, alpha)) {
        if (why != nullptr)
            *why = "too large to be held in memory";
        return ImageLoadResult::Fail;
    }
    const SPixelView from = picture.View();
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const auto bgra = from.Bgra(x, y);
            std::copy(bgra.begin(), bgra.begin() + m_bpp / 8, PixelAt(x, y));
        }
    }
    return ImageLoadResult::Ok;
}
