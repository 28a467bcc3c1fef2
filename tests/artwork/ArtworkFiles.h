#pragma once

// Artwork files made by the tests from a picture of known content: JPEG in every colour
// space (with an EXIF orientation when asked), BMP of every header and depth, TIFF and WebP
// through their libraries' own writers.
#include <tiffio.h>
#include <webp/encode.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>  // after <cstdio>: it needs FILE
#include "dial/RgbaPicture.h"
#include "support/FileBytes.h"
#include "support/UniqueFolder.h"

struct SJpegKind {
    J_COLOR_SPACE space = JCS_RGB;  // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
    bool progressive = false;
    int orientation = 0;  // 0: no EXIF segment
    bool intelOrder = false;  // the EXIF segment little-endian ("II"), as most cameras write it
};

// An EXIF segment body holding the orientation tag alone, big-endian ("MM") or
// little-endian ("II").
inline std::vector<uint8_t> ExifWithOrientation(int orientation, bool intelOrder = false) {
    const auto o = static_cast<uint8_t>(orientation);
    if (intelOrder) {
        // clang-format off
        return {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0,  // TIFF header, IFD at 8
                1, 0,                                                   // one entry
                0x12, 0x01, 3, 0, 1, 0, 0, 0, o, 0, 0, 0,
                0, 0, 0, 0};
        // clang-format on
    }
    // clang-format off
    return {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8,
            0, 1,
            0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, o, 0, 0,
            0, 0, 0, 0};
    // clang-format on
}

inline std::vector<uint8_t> EncodeJpeg(const SRgbaPicture& picture, const SJpegKind& kind) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = kind.space == JCS_GRAYSCALE ? 1 : kind.space == JCS_CMYK ? 4 : 3;
    info.in_color_space = kind.space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (kind.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (kind.orientation != 0) {
        const std::vector<uint8_t> exif = ExifWithOrientation(kind.orientation, kind.intelOrder);
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
    }
    std::vector<uint8_t> row(static_cast<size_t>(picture.width) * 4);
    while (info.next_scanline < info.image_height) {
        const uint8_t* p = picture.Pixel(0, static_cast<int>(info.next_scanline));
        for (int x = 0; x < picture.width; ++x, p += 4) {
            uint8_t* out = row.data() + static_cast<size_t>(x * info.input_components);
            if (kind.space == JCS_GRAYSCALE) {
                out[0] = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
                continue;
            }
            std::copy(p, p + 3, out);
            // CMYK is written inverted, as Adobe's writers do (with their marker).
            if (kind.space == JCS_CMYK)
                out[3] = 255;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

inline void PutLe(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int length) {
    for (int i = 0; i < length; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

struct SBmpKind {
    uint32_t header = 40;  // 12 (OS/2 1.x), 40, 56 (V3), 64 (OS/2 2.x), 108 (V4), 124 (V5)
    int bits = 24;
    uint32_t compression = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields, 6 bit fields with alpha
    std::array<uint32_t, 4> masks{};  // red, green, blue, alpha, for bit fields
    bool topDown = false;
    // Written for any depth; pictures of up to 8 bits are stored as indices into it.
    std::vector<std::array<uint8_t, 3>> palette{};
    bool junkFourthByte = false;  // 32 bits without masks: noise in the unused byte
    std::vector<uint8_t> runs{};  // RLE: the pixel data, written by hand, instead of the rows
};

namespace bmpfile {

inline uint32_t Scaled(uint8_t value, uint32_t mask) {
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const uint32_t max = mask >> shift;
    return static_cast<uint32_t>((value * max + 127) / 255) << shift;
}

inline unsigned IndexOf(const SBmpKind& kind, const uint8_t* p) {
    for (size_t i = 0; i < kind.palette.size(); ++i) {
        if (p[0] == kind.palette[i][0] && p[1] == kind.palette[i][1] && p[2] == kind.palette[i][2])
            return static_cast<unsigned>(i);
    }
    return 0;
}

// Row after row as stored, each padded to four bytes.
inline void PutRows(const SRgbaPicture& picture, const SBmpKind& kind, std::vector<uint8_t>& out) {
    const size_t rowBytes = (static_cast<size_t>(picture.width) * kind.bits + 31) / 32 * 4;
    std::array<uint32_t, 4> masks = kind.masks;
    if (kind.compression == 0 && kind.bits == 16)
        masks = {0x7C00, 0x03E0, 0x001F, 0};
    if (kind.compression == 0 && kind.bits == 32)
        masks = {0xFF0000, 0xFF00, 0xFF, 0};
    for (int r = 0; r < picture.height; ++r) {
        std::vector<uint8_t> row(rowBytes, 0);
        const int y = kind.topDown ? r : picture.height - 1 - r;
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = picture.Pixel(x, y);
            if (kind.bits <= 8) {
                const size_t bit = static_cast<size_t>(x) * kind.bits;
                row[bit / 8] |= static_cast<uint8_t>(IndexOf(kind, p) << (8 - kind.bits - bit % 8));
            } else if (kind.bits == 24) {
                row[3 * x] = p[2];
                row[3 * x + 1] = p[1];
                row[3 * x + 2] = p[0];
            } else {
                uint32_t v = 0;
                for (size_t c = 0; c < 4; ++c)
                    v |= Scaled(p[c], masks[c]);
                if (kind.junkFourthByte)
                    v |= static_cast<uint32_t>(x * 37 + r * 11 + 1) << 24;
                for (int i = 0; i < kind.bits / 8; ++i)
                    row[static_cast<size_t>(x * kind.bits / 8 + i)] =
                        static_cast<uint8_t>(v >> (8 * i));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

}  // namespace bmpfile

inline std::vector<uint8_t> EncodeBmp(const SRgbaPicture& picture, const SBmpKind& kind) {
    const bool core = kind.header == 12;
    const bool bitFields = kind.compression == 3 || kind.compression == 6;
    const size_t masks = bitFields && kind.header == 40 ? (kind.compression == 6 ? 16 : 12) : 0;
    const size_t entrySize = core ? 3 : 4;
    const size_t paletteAt = 14 + kind.header + masks;
    const size_t offset = paletteAt + kind.palette.size() * entrySize;
    std::vector<uint8_t> bytes(offset, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLe(bytes, 10, static_cast<uint32_t>(offset), 4);
    PutLe(bytes, 14, kind.header, 4);
    if (core) {
        PutLe(bytes, 18, static_cast<uint32_t>(picture.width), 2);
        PutLe(bytes, 20, static_cast<uint32_t>(picture.height), 2);
        PutLe(bytes, 22, 1, 2);
        PutLe(bytes, 24, static_cast<uint32_t>(kind.bits), 2);
    } else {
        PutLe(bytes, 18, static_cast<uint32_t>(picture.width), 4);
        PutLe(bytes, 22, static_cast<uint32_t>(kind.topDown ? -picture.height : picture.height), 4);
        PutLe(bytes, 26, 1, 2);
        PutLe(bytes, 28, static_cast<uint32_t>(kind.bits), 2);
        PutLe(bytes, 30, kind.compression, 4);
        PutLe(bytes, 46, static_cast<uint32_t>(kind.palette.size()), 4);
    }
    if (bitFields) {
        for (size_t i = 0; i < (kind.compression == 6 || kind.header >= 56 ? 4u : 3u); ++i)
            PutLe(bytes, 54 + 4 * i, kind.masks[i], 4);
    }
    for (size_t i = 0; i < kind.palette.size(); ++i) {
        for (size_t c = 0; c < 3; ++c)
            bytes[paletteAt + i * entrySize + c] = kind.palette[i][2 - c];
    }
    if (kind.runs.empty())
        bmpfile::PutRows(picture, kind, bytes);
    bytes.insert(bytes.end(), kind.runs.begin(), kind.runs.end());
    PutLe(bytes, 2, static_cast<uint32_t>(bytes.size()), 4);
    if (!core)
        PutLe(bytes, 34, static_cast<uint32_t>(bytes.size() - offset), 4);
    return bytes;
}

struct STiffKind {
    uint16_t compression = COMPRESSION_LZW;
    int bits = 8;                // a sample
    bool alpha = false;          // an unassociated alpha sample after the colour
    bool floatingPoint = false;  // one 32-bit floating-point sample (grey)
    uint16_t orientation = ORIENTATION_TOPLEFT;
};

// Written by libtiff itself, through a file, with the picture's rows as stored.
inline std::vector<uint8_t> EncodeTiff(const SRgbaPicture& picture, const STiffKind& kind) {
    CTempDir dir;
    const std::string path = dir.File("picture.tif");
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    const uint16_t samples = kind.floatingPoint ? 1 : kind.alpha ? 4 : 3;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(picture.width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(picture.height));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, kind.floatingPoint ? 32 : kind.bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, kind.compression);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, kind.orientation);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 4);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                 kind.floatingPoint ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
    if (kind.floatingPoint)
        TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
    if (kind.alpha) {
        const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    for (int y = 0; y < picture.height; ++y) {
        std::vector<uint8_t> row;
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = picture.Pixel(x, y);
            const float grey = p[0] / 255.0f;
            const auto* bytes = reinterpret_cast<const uint8_t*>(&grey);
            if (kind.floatingPoint)
                row.insert(row.end(), bytes, bytes + 4);
            for (size_t c = 0; c < samples && !kind.floatingPoint; ++c) {
                row.push_back(p[c]);
                if (kind.bits == 16)  // the same value, little-endian: v * 257
                    row.push_back(p[c]);
            }
        }
        TIFFWriteScanline(tiff, row.data(), static_cast<uint32_t>(y), 0);
    }
    TIFFClose(tiff);
    const std::string bytes = ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

inline std::vector<uint8_t> EncodeWebp(const SRgbaPicture& picture, bool lossless) {
    uint8_t* output = nullptr;
    const int stride = picture.width * 4;
    const size_t size = lossless ? WebPEncodeLosslessRGBA(picture.rgba.data(), picture.width,
                                                          picture.height, stride, &output)
                                 : WebPEncodeRGBA(picture.rgba.data(), picture.width,
                                                  picture.height, stride, 90, &output);
    std::vector<uint8_t> bytes(output, output + size);
    WebPFree(output);
    return bytes;
}
