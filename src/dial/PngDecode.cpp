// Decoding PNG files into a CImage with libpng's classic API, which hands over the stored
// sample values as they are: no gamma or colour-profile conversion.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>

#include "dial/CImage.h"

namespace {

// Pictures larger than this are refused rather than allocated (a dial is 230 x 230).
constexpr png_uint_32 kMaxSide = 8192;

void IgnoreWarning(png_structp, png_const_charp) {}

void RaiseError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

struct SPngReader {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~SPngReader() {
        if (png != nullptr) png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
        if (file != nullptr) std::fclose(file);
    }
};

// Everything between setjmp and a possible longjmp lives in `reader` and `image`, whose
// state stays valid across the jump.
bool DecodeInto(SPngReader& reader, CImage& image, png_bytep* volatile& rows) {
    if (setjmp(png_jmpbuf(reader.png))) return false;

    png_init_io(reader.png, reader.file);
    png_set_sig_bytes(reader.png, 8);
    png_set_user_limits(reader.png, kMaxSide, kMaxSide);
    png_read_info(reader.png, reader.info);

    const png_uint_32 width = png_get_image_width(reader.png, reader.info);
    const png_uint_32 height = png_get_image_height(reader.png, reader.info);
    const int colorType = png_get_color_type(reader.png, reader.info);
    const int bitDepth = png_get_bit_depth(reader.png, reader.info);
    const bool hasTrns = png_get_valid(reader.png, reader.info, PNG_INFO_tRNS) != 0;
    const bool hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns;

    // Every kind becomes 8-bit blue, green, red (and alpha when the file has transparency).
    if (bitDepth == 16) png_set_strip_16(reader.png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(reader.png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(reader.png);
    if (hasTrns) png_set_tRNS_to_alpha(reader.png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(reader.png);
    png_set_bgr(reader.png);
    png_set_interlace_handling(reader.png);
    png_read_update_info(reader.png, reader.info);

    const int bitsPerPixel = hasAlpha ? 32 : 24;
    if (png_get_rowbytes(reader.png, reader.info) != width * static_cast<png_uint_32>(bitsPerPixel / 8)) {
        return false;
    }
    if (!image.Create(static_cast<int>(width), static_cast<int>(height), bitsPerPixel, hasAlpha)) {
        return false;
    }
    rows = new (std::nothrow) png_bytep[height];
    if (rows == nullptr) return false;
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = image.PixelAt(0, static_cast<int>(y));
    png_read_image(reader.png, rows);
    png_read_end(reader.png, nullptr);
    return true;
}

}  // namespace

ImageLoadResult CImage::Load(const char* path) {
    Destroy();
    if (path == nullptr) return ImageLoadResult::Fail;

    SPngReader reader;
    reader.file = std::fopen(path, "rb");
    if (reader.file == nullptr) return ImageLoadResult::Fail;
    png_byte signature[8];
    if (std::fread(signature, 1, sizeof signature, reader.file) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        return ImageLoadResult::Fail;
    }
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
    if (reader.png == nullptr) return ImageLoadResult::Fail;
    reader.info = png_create_info_struct(reader.png);
    if (reader.info == nullptr) return ImageLoadResult::Fail;

    png_bytep* volatile rows = nullptr;
    bool ok = false;
    try {
        ok = DecodeInto(reader, *this, rows);
    } catch (const std::bad_alloc&) {
        delete[] rows;
        Destroy();
        return ImageLoadResult::OutOfMemory;
    }
    delete[] rows;
    if (!ok) {
        Destroy();
        return ImageLoadResult::Fail;
    }
    return ImageLoadResult::Ok;
}
