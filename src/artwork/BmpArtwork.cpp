// BMP artwork, read as Windows reads it: bottom-up and top-down rows; 1, 2, 4 and 8 bits
// through a palette, also run-length encoded (RLE8, RLE4); 16 and 32 bits with or without
// bit-field masks; 24 bits; the OS/2 headers and Windows' from the 40-byte one to V5.
// Our own reader: Debian packages no BMP library built for untrusted files, and stb_image's
// reader takes no RLE and reads the unused fourth byte of a 32-bit pixel as alpha.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

#include "artwork/DecodeArtwork.h"
#include "dial/PictureLimits.h"

namespace artwork {
namespace {

enum ECompression : uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,  // OS/2: Huffman 1D
    kJpeg = 4,       // OS/2: RLE24
    kPng = 5,
    kAlphaBitFields = 6,
    kCmyk = 11,
    kCmykRle8 = 12,
    kCmykRle4 = 13,
};

constexpr size_t kFileHeader = 14;
constexpr uint32_t kCoreHeader = 12;  // OS/2 1.x and Windows' BITMAPCOREHEADER
constexpr uint32_t kInfoHeader = 40;

uint32_t Le(const uint8_t* p, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

// One channel of a bit-field mask, scaled to 8 bits with rounding (a 5-bit 31 is 255).
struct SChannel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;

    explicit SChannel(uint32_t m) : mask(m) {
        if (m == 0)
            return;
        shift = std::countr_zero(m);
        max = (uint64_t{1} << std::bit_width(m >> shift)) - 1;
    }
    uint8_t Of(uint32_t pixel) const {
        const uint64_t value = (pixel & mask) >> shift;
        return max == 0 ? 0 : static_cast<uint8_t>((value * 255 + max / 2) / max);
    }
};

struct SBmp {
    const uint8_t* data = nullptr;
    size_t size = 0;
    uint32_t headerSize = 0;
    bool core = false;
    int64_t width = 0;
    int64_t height = 0;  // rows, whichever way they run
    bool topDown = false;
    int bits = 0;
    uint32_t compression = kRgb;
    std::array<uint32_t, 4> masks{};  // red, green, blue, alpha
    std::vector<std::array<uint8_t, 4>> palette;
    size_t pixelsAt = 0;
};

// Fields past a shortened OS/2 2.x header read as 0.
uint32_t Field(const SBmp& bmp, uint32_t at, int bytes) {
    if (at + static_cast<uint32_t>(bytes) > bmp.headerSize)
        return 0;
    return Le(bmp.data + kFileHeader + at, bytes);
}

bool IsOs2Header(uint32_t size) {
    return size >= 16 && size <= 64 && size != 40 && size != 52 && size != 56;
}

// Empty when the header describes a picture this reader takes; otherwise the refusal.
std::string ReadHeader(SBmp& bmp) {
    const std::string damaged = "damaged BMP data (";
    if (bmp.size < kFileHeader + 4)
        return damaged + "the file ends inside its header)";
    bmp.headerSize = Le(bmp.data + kFileHeader, 4);
    const uint32_t h = bmp.headerSize;
    if (h != kCoreHeader && !IsOs2Header(h) && h < kInfoHeader)
        return damaged + "a header of " + std::to_string(h) + " bytes, which no BMP has)";
    if (bmp.size < kFileHeader + h)
        return damaged + "the file ends inside its header)";
    const bool os2 = IsOs2Header(h);
    bmp.core = h == kCoreHeader;
    if (bmp.core) {
        bmp.width = Field(bmp, 4, 2);
        bmp.height = Field(bmp, 6, 2);
        bmp.bits = static_cast<int>(Field(bmp, 10, 2));
    } else {
        bmp.width = static_cast<int32_t>(Field(bmp, 4, 4));
        const int32_t height = static_cast<int32_t>(Field(bmp, 8, 4));
        bmp.topDown = height < 0;
        bmp.height = std::abs(static_cast<int64_t>(height));
        bmp.bits = static_cast<int>(Field(bmp, 14, 2));
        bmp.compression = Field(bmp, 16, 4);
    }
    if (bmp.width < 0)
        return damaged + "a width of " + std::to_string(bmp.width) + " pixels)";

    const uint32_t c = bmp.compression;
    if (os2 && c == kBitFields)
        return "not supported: OS/2 BMP compressed with Huffman 1D";
    if (os2 && c == kJpeg)
        return "not supported: OS/2 BMP compressed with RLE24";
    if (c == kJpeg || c == kPng)
        return std::string("not supported: BMP holding a ") + (c == kJpeg ? "JPEG" : "PNG") +
               " picture";
    if (c == kCmyk || c == kCmykRle8 || c == kCmykRle4)
        return "not supported: CMYK BMP";
    if (c > kAlphaBitFields)
        return damaged + "an unknown compression, " + std::to_string(c) + ")";
    if (bmp.bits == 64)
        return "not supported: 64-bit BMP";
    static constexpr int kDepths[] = {1, 2, 4, 8, 16, 24, 32};
    if (std::find(std::begin(kDepths), std::end(kDepths), bmp.bits) == std::end(kDepths))
        return damaged + std::to_string(bmp.bits) + " bits a pixel, which no BMP has)";
    if ((c == kRle8 && bmp.bits != 8) || (c == kRle4 && bmp.bits != 4))
        return damaged + (c == kRle8 ? "RLE8" : "RLE4") + " data of " + std::to_string(bmp.bits) +
               "-bit pixels)";
    const bool bitFields = c == kBitFields || c == kAlphaBitFields;
    if (bitFields && bmp.bits != 16 && bmp.bits != 32)
        return damaged + "bit-field masks for " + std::to_string(bmp.bits) + "-bit pixels)";

    const std::string refusal =
        picture::SizeRefusal(static_cast<uint64_t>(bmp.width), static_cast<uint64_t>(bmp.height));
    if (!refusal.empty())
        return refusal;

    // The masks lie at the same place whether a 40-byte header is followed by them or a
    // longer header holds them.
    size_t headerEnd = kFileHeader + h;
    if (bitFields) {
        const bool alpha = c == kAlphaBitFields || h >= 56;
        if (h == kInfoHeader)
            headerEnd += alpha ? 16 : 12;
        if (bmp.size < kFileHeader + kInfoHeader + (alpha ? 16 : 12))
            return damaged + "the file ends inside its header)";
        for (size_t i = 0; i < (alpha ? 4u : 3u); ++i)
            bmp.masks[i] = Le(bmp.data + kFileHeader + kInfoHeader + 4 * i, 4);
    } else if (bmp.bits == 16) {
        bmp.masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (bmp.bits == 32) {
        // The fourth byte is unused: Windows shows such a picture opaque.
        bmp.masks = {0xFF0000, 0x00FF00, 0x0000FF, 0};
    }

    const uint32_t offset = Le(bmp.data + 10, 4);
    if (offset < headerEnd)
        return damaged + "its pixels said to begin inside its header)";
    if (offset > bmp.size)
        return damaged + "the file ends before its pixels)";
    bmp.pixelsAt = offset;

    // A palette in a 16-, 24- or 32-bit file is only a hint for displays of 256 colours.
    if (bmp.bits <= 8) {
        const size_t entrySize = bmp.core ? 3 : 4;
        const uint32_t used = Field(bmp, 32, 4);
        const size_t full = size_t{1} << bmp.bits;
        size_t entries = used == 0 || used > full ? full : used;
        entries = std::min(entries, (offset - headerEnd) / entrySize);
        bmp.palette.resize(entries);
        for (size_t i = 0; i < entries; ++i) {
            const uint8_t* p = bmp.data + headerEnd + i * entrySize;
            bmp.palette[i] = {p[2], p[1], p[0], 255};
        }
    }
    return {};
}

// Indices past the palette show black, as an empty colour table does.
const uint8_t* Colour(const SBmp& bmp, unsigned index) {
    static constexpr std::array<uint8_t, 4> kBlack = {0, 0, 0, 255};
    return index < bmp.palette.size() ? bmp.palette[index].data() : kBlack.data();
}

int PictureRow(const SBmp& bmp, int64_t fileRow) {
    return static_cast<int>(bmp.topDown ? fileRow : bmp.height - 1 - fileRow);
}

std::string DecodeRows(const SBmp& bmp, SRgbaPicture& out) {
    const uint64_t rowBits = static_cast<uint64_t>(bmp.width) * static_cast<uint64_t>(bmp.bits);
    const uint64_t rowBytes = (rowBits + 31) / 32 * 4;
    // The last row's padding may be missing.
    const uint64_t needed = rowBytes * static_cast<uint64_t>(bmp.height - 1) + (rowBits + 7) / 8;
    if (bmp.size - bmp.pixelsAt < needed)
        return "damaged BMP data (the file ends before its last row)";
    const SChannel red(bmp.masks[0]), green(bmp.masks[1]), blue(bmp.masks[2]), alpha(bmp.masks[3]);
    bool anyAlpha = false;
    for (int64_t r = 0; r < bmp.height; ++r) {
        const uint8_t* in = bmp.data + bmp.pixelsAt + rowBytes * static_cast<uint64_t>(r);
        uint8_t* p = out.Pixel(0, PictureRow(bmp, r));
        for (int64_t x = 0; x < bmp.width; ++x, p += 4) {
            if (bmp.bits <= 8) {
                const uint64_t bit = static_cast<uint64_t>(x) * static_cast<uint64_t>(bmp.bits);
                const unsigned index =
                    (in[bit / 8] >> (8 - bmp.bits - bit % 8)) & ((1u << bmp.bits) - 1);
                std::copy_n(Colour(bmp, index), 4, p);
            } else if (bmp.bits == 24) {
                const uint8_t* q = in + 3 * x;
                p[0] = q[2];
                p[1] = q[1];
                p[2] = q[0];
                p[3] = 255;
            } else {
                const uint32_t v = Le(in + x * (bmp.bits / 8), bmp.bits / 8);
                p[0] = red.Of(v);
                p[1] = green.Of(v);
                p[2] = blue.Of(v);
                p[3] = alpha.mask == 0 ? 255 : alpha.Of(v);
                anyAlpha = anyAlpha || p[3] != 0;
            }
        }
    }
    // Writers that fill the alpha bits with nothing mean an opaque picture; browsers show
    // it so, rather than nothing at all.
    if (alpha.mask != 0 && !anyAlpha) {
        for (size_t i = 3; i < out.rgba.size(); i += 4)
            out.rgba[i] = 255;
    }
    return {};
}

// Run-length encoded rows: pixels that a run skips (a delta, an early end of a row or of
// the picture) stay transparent, as browsers show them.
std::string DecodeRunLengths(const SBmp& bmp, SRgbaPicture& out) {
    const bool rle4 = bmp.compression == kRle4;
    const uint8_t* d = bmp.data;
    size_t at = bmp.pixelsAt;
    int64_t x = 0, row = 0;
    const auto put = [&](unsigned index) {
        if (x < bmp.width && row < bmp.height)
            std::copy_n(Colour(bmp, index), 4,
                        out.Pixel(static_cast<int>(x), PictureRow(bmp, row)));
        ++x;
    };
    const std::string cut = "damaged BMP data (the file ends before its last row)";
    while (row < bmp.height) {
        if (bmp.size - at < 2)
            return cut;
        const unsigned count = d[at], value = d[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                put(rle4 ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
            continue;
        }
        if (value == 0) {  // end of the row
            x = 0;
            ++row;
        } else if (value == 1) {  // end of the picture
            break;
        } else if (value == 2) {  // a move right and up
            if (bmp.size - at < 2)
                return cut;
            x += d[at];
            row += d[at + 1];
            at += 2;
        } else {  // `value` pixels as they are, padded to a whole 16-bit word
            const size_t bytes = rle4 ? (value + 1) / 2 : value;
            if (bmp.size - at < bytes)
                return cut;
            for (unsigned i = 0; i < value; ++i)
                put(rle4 ? (i % 2 == 0 ? d[at + i / 2] >> 4 : d[at + i / 2] & 15) : d[at + i]);
            at += std::min(bytes + bytes % 2, bmp.size - at);
        }
    }
    return {};
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why) {
    SBmp bmp;
    bmp.data = data;
    bmp.size = size;
    std::string refusal = ReadHeader(bmp);
    if (refusal.empty()) {
        out = SRgbaPicture(static_cast<int>(bmp.width), static_cast<int>(bmp.height));
        refusal = bmp.compression == kRle8 || bmp.compression == kRle4 ? DecodeRunLengths(bmp, out)
                                                                       : DecodeRows(bmp, out);
    }
    if (refusal.empty())
        return true;
    out = SRgbaPicture();
    if (why != nullptr)
        *why = refusal;
    return false;
}

}  // namespace artwork
