#pragma once

// Artwork files made by the tests: JPEG in every colour space (with an EXIF orientation when
// asked) and BMP, from a picture of known content.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>  // after <cstdio>: it needs FILE
#include "dial/RgbaPicture.h"

struct SJpegKind {
    J_COLOR_SPACE space = JCS_RGB;  // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
    bool progressive = false;
    int orientation = 0;  // 0: no EXIF segment
};

// An EXIF segment body holding the orientation tag alone, big-endian.
inline std::vector<uint8_t> ExifWithOrientation(int orientation) {
    // clang-format off
    return {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8,  // TIFF header, IFD at 8
            0, 1,                                                   // one entry
            0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, static_cast<uint8_t>(orientation), 0, 0,
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
        const std::vector<uint8_t> exif = ExifWithOrientation(kind.orientation);
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

// A bottom-up BMP of 24 bits (opaque) or 32 bits (with the picture's alpha).
inline std::vector<uint8_t> EncodeBmp(const SRgbaPicture& picture, int bits) {
    const size_t rowBytes =
        (static_cast<size_t>(picture.width) * static_cast<size_t>(bits) / 8 + 3) & ~size_t{3};
    const size_t header = bits == 32 ? 14 + 108 : 14 + 40;
    std::vector<uint8_t> bytes(header + rowBytes * static_cast<size_t>(picture.height), 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLe(bytes, 2, static_cast<uint32_t>(bytes.size()), 4);
    PutLe(bytes, 10, static_cast<uint32_t>(header), 4);
    PutLe(bytes, 14, static_cast<uint32_t>(header - 14), 4);
    PutLe(bytes, 18, static_cast<uint32_t>(picture.width), 4);
    PutLe(bytes, 22, static_cast<uint32_t>(picture.height), 4);
    PutLe(bytes, 26, 1, 2);
    PutLe(bytes, 28, static_cast<uint32_t>(bits), 2);
    if (bits == 32) {
        PutLe(bytes, 30, 3, 4);  // bit fields: the masks follow
        PutLe(bytes, 54, 0x00FF0000, 4);
        PutLe(bytes, 58, 0x0000FF00, 4);
        PutLe(bytes, 62, 0x000000FF, 4);
        PutLe(bytes, 66, 0xFF000000, 4);
    }
    for (int y = 0; y < picture.height; ++y) {
        uint8_t* out =
            bytes.data() + header + rowBytes * static_cast<size_t>(picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x, out += bits / 8) {
            const uint8_t* p = picture.Pixel(x, y);
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
            if (bits == 32)
                out[3] = p[3];
        }
    }
    return bytes;
}
