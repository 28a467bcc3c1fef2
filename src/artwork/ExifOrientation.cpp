#include "artwork/ExifOrientation.h"

#include <cstring>

namespace artwork {
namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;

struct STiff {
    const uint8_t* data;
    size_t size;
    bool bigEndian;

    bool Has(size_t at, size_t length) const { return at <= size && length <= size - at; }
    uint16_t U16(size_t at) const {
        return bigEndian ? static_cast<uint16_t>(data[at] << 8 | data[at + 1])
                         : static_cast<uint16_t>(data[at + 1] << 8 | data[at]);
    }
    uint32_t U32(size_t at) const {
        return bigEndian ? static_cast<uint32_t>(U16(at)) << 16 | U16(at + 2)
                         : static_cast<uint32_t>(U16(at + 2)) << 16 | U16(at);
    }
};

}  // namespace

int ExifOrientation(const uint8_t* segment, size_t size) {
    static const uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
    if (segment == nullptr || size < sizeof kExif + 8 ||
        std::memcmp(segment, kExif, sizeof kExif) != 0)
        return 1;
    STiff tiff{segment + sizeof kExif, size - sizeof kExif, false};
    if (tiff.data[0] == 'M' && tiff.data[1] == 'M') {
        tiff.bigEndian = true;
    } else if (!(tiff.data[0] == 'I' && tiff.data[1] == 'I')) {
        return 1;
    }
    if (tiff.U16(2) != 42)
        return 1;
    const size_t ifd = tiff.U32(4);
    if (!tiff.Has(ifd, 2))
        return 1;
    const size_t entries = tiff.U16(ifd);
    for (size_t i = 0; i < entries; ++i) {
        const size_t entry = ifd + 2 + 12 * i;
        if (!tiff.Has(entry, 12))
            return 1;
        if (tiff.U16(entry) != kOrientationTag)
            continue;
        if (tiff.U16(entry + 2) != kShortType || tiff.U32(entry + 4) < 1)
            return 1;
        const int value = tiff.U16(entry + 8);
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

SRgbaPicture Orient(const SRgbaPicture& picture, int orientation) {
    if (orientation < 2 || orientation > 8)
        return picture;
    const int w = picture.width;
    const int h = picture.height;
    const bool swapsSides = orientation >= 5;
    SRgbaPicture out(swapsSides ? h : w, swapsSides ? w : h);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            // Where the shown pixel (x, y) is stored.
            int sx = x, sy = y;
            switch (orientation) {
                case 2: sx = w - 1 - x; break;
                case 3: sx = w - 1 - x; sy = h - 1 - y; break;
                case 4: sy = h - 1 - y; break;
                case 5: sx = y; sy = x; break;
                case 6: sx = y; sy = h - 1 - x; break;
                case 7: sx = w - 1 - y; sy = h - 1 - x; break;
                case 8: sx = w - 1 - y; sy = x; break;
            }
            std::memcpy(out.Pixel(x, y), picture.Pixel(sx, sy), 4);
        }
    }
    return out;
}

}  // namespace artwork
