#pragma once

// Writes PNG files of any colour type, bit depth and interlacing, with optional palette,
// transparency and gamma chunks, so the decoder can be tried on every kind of file.
#include <png.h>
#include <zlib.h>

#include <array>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct SPngKind {
    int width = 0;
    int height = 0;
    int colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette{};           // PLTE entries (palette pictures)
    std::vector<png_byte> paletteAlpha{};       // tRNS for a palette picture
    std::optional<png_color_16> transparent{};  // tRNS colour for grey or RGB pictures
    std::optional<double> gamma{};              // gAMA chunk
    bool srgb = false;                          // sRGB chunk
    // Stored sample values of pixel (x, y) in file order: grey | grey, alpha | R, G, B |
    // R, G, B, A | palette index. Only the first channels of the colour type are used.
    std::function<std::array<uint16_t, 4>(int, int)> sample{};
};

inline int ChannelCount(int colorType) {
    if (colorType & PNG_COLOR_MASK_PALETTE)
        return 1;
    return ((colorType & PNG_COLOR_MASK_COLOR) ? 3 : 1) +
           ((colorType & PNG_COLOR_MASK_ALPHA) ? 1 : 0);
}

// Pack one row of samples at the kind's bit depth, most significant bits first.
inline std::vector<png_byte> PackRow(const SPngKind& kind, int y) {
    const int channels = ChannelCount(kind.colorType);
    const size_t bits = static_cast<size_t>(kind.width) * channels * kind.bitDepth;
    std::vector<png_byte> row((bits + 7) / 8, 0);
    size_t bit = 0;
    for (int x = 0; x < kind.width; ++x) {
        const std::array<uint16_t, 4> s = kind.sample(x, y);
        for (int c = 0; c < channels; ++c) {
            const unsigned v = s[static_cast<size_t>(c)];
            if (kind.bitDepth == 16) {
                row[bit / 8] = static_cast<png_byte>(v >> 8);
                row[bit / 8 + 1] = static_cast<png_byte>(v & 0xFF);
            } else {
                const int shift = 8 - kind.bitDepth - static_cast<int>(bit % 8);
                row[bit / 8] |= static_cast<png_byte>((v & ((1u << kind.bitDepth) - 1)) << shift);
            }
            bit += static_cast<size_t>(kind.bitDepth);
        }
    }
    return row;
}

// Everything a longjmp could clobber lives outside this frame.
inline bool EncodeKind(png_structp png, png_infop info, FILE* file, const SPngKind& kind,
                       std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(kind.width),
                 static_cast<png_uint_32>(kind.height), kind.bitDepth, kind.colorType,
                 kind.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!kind.palette.empty()) {
        png_set_PLTE(png, info, kind.palette.data(), static_cast<int>(kind.palette.size()));
    }
    if (!kind.paletteAlpha.empty()) {
        png_set_tRNS(png, info, kind.paletteAlpha.data(),
                     static_cast<int>(kind.paletteAlpha.size()), nullptr);
    }
    if (kind.transparent) {
        png_color_16 colour = *kind.transparent;
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    if (kind.gamma)
        png_set_gAMA(png, info, *kind.gamma);
    if (kind.srgb)
        png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

// Write the file; false when libpng refused the kind or the file could not be written.
inline bool WritePngKind(const std::string& path, const SPngKind& kind) {
    std::vector<std::vector<png_byte>> rows;
    for (int y = 0; y < kind.height; ++y)
        rows.push_back(PackRow(kind, y));
    std::vector<png_bytep> rowPointers;
    for (auto& row : rows)
        rowPointers.push_back(row.data());

    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const bool ok = EncodeKind(png, info, file, kind, rowPointers);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

// Offset of the data of the first chunk of this type (e.g. "IDAT"), or 0 when absent.
inline size_t ChunkData(const std::string& bytes, const char* type) {
    size_t pos = 8;
    while (pos + 8 <= bytes.size()) {
        size_t length = 0;
        for (size_t i = pos; i < pos + 4; ++i)
            length = (length << 8) | static_cast<uint8_t>(bytes[i]);
        if (bytes.compare(pos + 4, 4, type) == 0)
            return pos + 8;
        pos += 12 + length;
    }
    return 0;
}

// Give the header another size, its checksum recomputed so that only the size is wrong.
template <class Bytes>
void SetPngSize(Bytes& png, uint32_t width, uint32_t height) {
    const auto put = [&png](size_t at, uint32_t value) {
        for (size_t i = 0; i < 4; ++i)
            png[at + i] = static_cast<typename Bytes::value_type>(value >> (24 - 8 * i));
    };
    put(16, width);
    put(20, height);
    put(29, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(png.data()) + 12, 17)));
}
