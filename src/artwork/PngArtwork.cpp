// PNG artwork through libpng's classic API: every colour type and depth becomes 8-bit RGBA
// with the stored values as they are (no gamma or colour-profile conversion).
#include <csetjmp>

#include "artwork/DecodeArtwork.h"
#include "artwork/PictureLimits.h"
#include "dial/PngSource.h"

namespace artwork {
namespace {

// Whether the picture was refused for its size (then `error` says so in our words).
struct SSource : pngsource::SSource {
    bool tooLarge = false;
};

void RequestRgba8(png_structp png, png_infop info) {
    const int colorType = png_get_color_type(png, info);
    // Rounds to the nearest 8-bit value rather than taking the high byte alone.
    if (png_get_bit_depth(png, info) == 16)
        png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (hasTrns)
        png_set_tRNS_to_alpha(png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0)
        png_set_gray_to_rgb(png);
    if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTrns)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
}

// Only `reader`, `source` and `out` are looked at after a jump.
bool Decode(pngsource::SReader& reader, SSource& source, SRgbaPicture& out) {
    if (setjmp(png_jmpbuf(reader.png)))
        return false;
    png_set_read_fn(reader.png, static_cast<pngsource::SSource*>(&source), pngsource::ReadFromSource);
    // Our own limits are checked below, in our own words.
    png_set_user_limits(reader.png, 0x7fffffff, 0x7fffffff);
    png_read_info(reader.png, reader.info);
    const png_uint_32 width = png_get_image_width(reader.png, reader.info);
    const png_uint_32 height = png_get_image_height(reader.png, reader.info);
    // No object with a destructor may live where libpng can jump out.
    source.error = SizeRefusal(width, height);
    if (!source.error.empty()) {
        source.tooLarge = true;
        return false;
    }
    RequestRgba8(reader.png, reader.info);
    const int passes = png_set_interlace_handling(reader.png);
    png_read_update_info(reader.png, reader.info);
    if (png_get_bit_depth(reader.png, reader.info) != 8 ||
        png_get_channels(reader.png, reader.info) != 4 ||
        png_get_rowbytes(reader.png, reader.info) != static_cast<size_t>(width) * 4) {
        source.error = "a sample layout that cannot be read";
        return false;
    }
    out = SRgbaPicture(static_cast<int>(width), static_cast<int>(height));
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(reader.png, out.Pixel(0, static_cast<int>(y)), nullptr);
    }
    png_read_end(reader.png, nullptr);
    return true;
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why) {
    SSource source;
    source.data = data;
    source.size = size;
    pngsource::SReader reader;
    if (!reader.Create(source)) {
        if (why != nullptr)
            *why = "out of memory";
        return false;
    }
    if (Decode(reader, source, out))
        return true;
    out = SRgbaPicture();
    if (why != nullptr)
        *why = source.tooLarge ? source.error
                               : "damaged or unreadable PNG data (" + source.error + ")";
    return false;
}

}  // namespace artwork
