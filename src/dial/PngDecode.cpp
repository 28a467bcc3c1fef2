// Decoding PNG files into a CImage with libpng's classic API, which hands over the stored
// sample values as they are: no gamma or colour-profile conversion.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>

#include "dial/CImage.h"
#include "dial/PictureFile.h"
#include "dial/PngSource.h"

namespace {

// Pictures larger than this on a side are refused rather than allocated (a dial is
// 230 x 230; at this limit a buffer takes 256 MiB).
constexpr png_uint_32 kMaxSide = 8192;

// The only ancillary chunk whose contents we use; all others are skipped unread.
constexpr png_byte kTransparencyChunk[] = {'t', 'R', 'N', 'S', '\0'};

using SPngSource = pngsource::SSource;
using SPngReader = pngsource::SReader;

// Ask libpng for 8-bit blue, green, red samples, plus alpha when the file has any
// transparency; answers whether it has.
bool RequestBgr8(png_structp png, png_infop info) {
    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;

    // Rounds to the nearest 8-bit value, so a 16-bit file widened from 8 bits (v * 257)
    // gives back exactly v; taking the high byte alone would bias every value down.
    if (bitDepth == 16)
        png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (hasTrns)
        png_set_tRNS_to_alpha(png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    return (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns;
}

// Everything that must survive a longjmp lives in `reader` and `image`, outside this
// function's frame; after a jump only they are looked at.
ImageLoadResult DecodeInto(SPngReader& reader, SPngSource& source, CImage& image) {
    if (setjmp(png_jmpbuf(reader.png))) {
        // Header errors come before the buffer exists; once it does, the pixel data failed.
        return image.IsNull() ? ImageLoadResult::Fail : ImageLoadResult::OutOfMemory;
    }

    png_set_read_fn(reader.png, &source, pngsource::ReadFromSource);
    png_set_sig_bytes(reader.png, 8);
    png_set_user_limits(reader.png, kMaxSide, kMaxSide);
    png_set_keep_unknown_chunks(reader.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_keep_unknown_chunks(reader.png, PNG_HANDLE_CHUNK_AS_DEFAULT, kTransparencyChunk, 1);
    png_read_info(reader.png, reader.info);

    const png_uint_32 width = png_get_image_width(reader.png, reader.info);
    const png_uint_32 height = png_get_image_height(reader.png, reader.info);
    const bool hasAlpha = RequestBgr8(reader.png, reader.info);
    const int passes = png_set_interlace_handling(reader.png);
    png_read_update_info(reader.png, reader.info);

    const int bytesPerPixel = hasAlpha ? 4 : 3;
    if (png_get_bit_depth(reader.png, reader.info) != 8 ||
        png_get_channels(reader.png, reader.info) != bytesPerPixel ||
        png_get_rowbytes(reader.png, reader.info) != width * bytesPerPixel) {
        source.error = "a sample layout that cannot be read";
        return ImageLoadResult::Fail;
    }
    if (!image.Create(static_cast<int>(width), static_cast<int>(height), bytesPerPixel * 8,
                      hasAlpha)) {
        source.error = "too large to be held in memory";
        return ImageLoadResult::Fail;
    }
    // Row y of the picture goes straight to its place in the bottom-up buffer; an
    // interlaced picture is read in passes, each refining the rows in place.
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(reader.png, image.PixelAt(0, static_cast<int>(y)), nullptr);
        }
    }
    // A file cut short after its pixel data, or with a damaged compressed stream end, is
    // refused like any other damaged file.
    png_read_end(reader.png, nullptr);
    return ImageLoadResult::Ok;
}

}  // namespace

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
    const auto fail = [why](const std::string& reason) {
        if (why != nullptr)
            *why = reason;
        return ImageLoadResult::Fail;
    };
    // Also turns away empty files.
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return fail("not a PNG picture");

    SPngSource source{data, size, 8, {}};
    SPngReader reader;
    if (!reader.Create(source))
        return fail("out of memory");

    const ImageLoadResult result = DecodeInto(reader, source, *this);
    if (result != ImageLoadResult::Ok) {
        Destroy();
        if (why != nullptr)
            *why = "damaged or unreadable PNG data" +
                   (source.error.empty() ? std::string() : " (" + source.error + ")");
    }
    return result;
}
