#include "harness/PngSeeds.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <stdexcept>
#include <utility>

namespace fuzzcase {
namespace {

struct SPngSeedKind {
    SPngSeedKind(std::string name, int width, int height, int bitDepth, int colorType,
                 bool interlaced = false, int paletteSize = 0, std::vector<uint8_t> trns = {})
        : name(std::move(name)),
          width(width),
          height(height),
          bitDepth(bitDepth),
          colorType(colorType),
          interlaced(interlaced),
          paletteSize(paletteSize),
          trns(std::move(trns)) {}
    std::string name;
    int width, height, bitDepth, colorType;
    bool interlaced;
    int paletteSize;            // palette pictures
    std::vector<uint8_t> trns;  // palette alphas, or the grey / red, green, blue key
};

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void NoFlush(png_structp) {}
void RaiseError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void IgnoreWarning(png_structp, png_const_charp) {}

// Sample values follow a simple pattern of the position, so the files compress well and
// every picture has more than one colour.
std::vector<uint8_t> PatternRows(const SPngSeedKind& kind, size_t rowBytes) {
    std::vector<uint8_t> rows(rowBytes * static_cast<size_t>(kind.height));
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<uint8_t>((i * 37) ^ (i >> 3));
    if (kind.colorType == PNG_COLOR_TYPE_PALETTE && kind.bitDepth == 8) {
        for (uint8_t& b : rows)
            b = static_cast<uint8_t>(b % kind.paletteSize);
    }
    return rows;
}

struct SWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~SWriter() {
        if (png != nullptr)
            png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    }
};

bool EncodeInto(SWriter& w, const SPngSeedKind& kind, std::vector<uint8_t>& out,
                std::vector<png_color>& palette, std::vector<uint8_t>& rows,
                std::vector<png_bytep>& rowPointers) {
    if (setjmp(png_jmpbuf(w.png)))
        return false;
    png_set_write_fn(w.png, &out, AppendBytes, NoFlush);
    png_set_IHDR(w.png, w.info, static_cast<png_uint_32>(kind.width),
                 static_cast<png_uint_32>(kind.height), kind.bitDepth, kind.colorType,
                 kind.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (kind.colorType == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i < kind.paletteSize; ++i) {
            palette.push_back({static_cast<png_byte>(i * 40), static_cast<png_byte>(255 - i * 20),
                               static_cast<png_byte>(i * 7)});
        }
        png_set_PLTE(w.png, w.info, palette.data(), kind.paletteSize);
        if (!kind.trns.empty()) {
            png_set_tRNS(w.png, w.info, kind.trns.data(), static_cast<int>(kind.trns.size()),
                         nullptr);
        }
    } else if (!kind.trns.empty()) {
        png_color_16 key{};
        key.gray = key.red = static_cast<png_uint_16>(kind.trns[0]);
        key.green = static_cast<png_uint_16>(kind.trns.size() > 1 ? kind.trns[1] : 0);
        key.blue = static_cast<png_uint_16>(kind.trns.size() > 2 ? kind.trns[2] : 0);
        png_set_tRNS(w.png, w.info, nullptr, 0, &key);
    }
    png_write_info(w.png, w.info);
    const size_t rowBytes = png_get_rowbytes(w.png, w.info);
    rows = PatternRows(kind, rowBytes);
    for (int y = 0; y < kind.height; ++y)
        rowPointers.push_back(&rows[static_cast<size_t>(y) * rowBytes]);
    png_write_image(w.png, rowPointers.data());
    png_write_end(w.png, nullptr);
    return true;
}

std::vector<uint8_t> Encode(const SPngSeedKind& kind) {
    SWriter w;
    w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
    if (w.png == nullptr)
        throw std::runtime_error("no PNG writer");
    w.info = png_create_info_struct(w.png);
    if (w.info == nullptr)
        throw std::runtime_error("no PNG writer");
    std::vector<uint8_t> out;
    std::vector<png_color> palette;
    std::vector<uint8_t> rows;
    std::vector<png_bytep> rowPointers;
    if (!EncodeInto(w, kind, out, palette, rows, rowPointers)) {
        throw std::runtime_error("cannot encode seed " + kind.name);
    }
    return out;
}

}  // namespace

std::vector<std::pair<std::string, std::vector<uint8_t>>> MakePngSeeds() {
    const std::vector<SPngSeedKind> kinds = {
        {"dial-rgba8", 230, 230, 8, PNG_COLOR_TYPE_RGB_ALPHA},
        {"rgb8", 4, 3, 8, PNG_COLOR_TYPE_RGB},
        {"gray1", 5, 5, 1, PNG_COLOR_TYPE_GRAY},
        {"gray2-trns", 3, 3, 2, PNG_COLOR_TYPE_GRAY, false, 0, {1}},
        {"gray16", 3, 2, 16, PNG_COLOR_TYPE_GRAY},
        {"gray-alpha8", 6, 2, 8, PNG_COLOR_TYPE_GRAY_ALPHA},
        {"palette4-trns", 4, 4, 4, PNG_COLOR_TYPE_PALETTE, false, 16, {0, 128, 255}},
        {"palette8", 2, 2, 8, PNG_COLOR_TYPE_PALETTE, false, 3},
        {"rgb16-trns", 3, 3, 16, PNG_COLOR_TYPE_RGB, false, 0, {0x12, 0x34, 0x56}},
        {"rgba16-interlaced", 9, 7, 16, PNG_COLOR_TYPE_RGB_ALPHA, true},
        {"rgb8-interlaced", 5, 4, 8, PNG_COLOR_TYPE_RGB, true},
    };
    std::vector<std::pair<std::string, std::vector<uint8_t>>> seeds;
    for (const SPngSeedKind& kind : kinds)
        seeds.emplace_back(kind.name + ".png", Encode(kind));

    const std::vector<uint8_t> small = Encode(kinds[1]);
    // Cut inside the compressed pixel data.
    seeds.emplace_back(
        "rgb8-cut.png",
        std::vector<uint8_t>(small.begin(), small.begin() + static_cast<long>(small.size() - 20)));
    // A damaged checksum of the header chunk (bytes 29..32).
    std::vector<uint8_t> badCrc = small;
    badCrc[30] ^= 0x5A;
    seeds.emplace_back("rgb8-bad-crc.png", badCrc);
    // A header that promises 8192 x 8192 pixels, with the pixel data of 4 x 3.
    std::vector<uint8_t> huge = small;
    const uint8_t side[4] = {0x00, 0x00, 0x20, 0x00};
    std::copy(side, side + 4, huge.begin() + 16);
    std::copy(side, side + 4, huge.begin() + 20);
    // The header chunk's checksum covers its type and data, bytes 12..28.
    const uLong crc = crc32(0L, huge.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        huge[29 + static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    seeds.emplace_back("promises-8192.png", huge);
    // The signature alone.
    seeds.emplace_back("signature-only.png",
                       std::vector<uint8_t>(small.begin(), small.begin() + 8));
    return seeds;
}

}  // namespace fuzzcase
