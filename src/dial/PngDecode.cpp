// The one PNG decoder, through libpng's classic API: the window's dials and the artwork
// the other programs take are read alike.
#include "dial/PngDecode.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>

#include "dial/PictureLimits.h"

namespace {

// The only ancillary chunk whose contents we use; all others, damaged or not, are skipped
// unread: side information never changes the stored values.
constexpr png_byte kTransparencyChunk[] = {'t', 'R', 'N', 'S', '\0'};

// The bytes being decoded, and libpng's complaint when it gives up.
struct SSource {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t at = 0;
    std::string error;
    bool tooLarge = false;       // refused for its size; `error` says so in our words
    bool pixelsStarted = false;  // the header was read and the buffer made
};

void RaiseError(png_structp png, png_const_charp message) {
    auto* source = static_cast<SSource*>(png_get_error_ptr(png));
    if (source != nullptr && message != nullptr)
        source->error = message;
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

void ReadFromSource(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<SSource*>(png_get_io_ptr(png));
    if (length > source->size - source->at)
        png_error(png, "the file ends too early");
    std::memcpy(out, source->data + source->at, length);
    source->at += length;
}

struct SReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    // A reader for `source`, its bytes read from source->at on; false without memory.
    bool Create(SSource& source) {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, RaiseError, IgnoreWarning);
        if (png != nullptr)
            info = png_create_info_struct(png);
        return info != nullptr;
    }
    ~SReader() {
        if (png != nullptr)
            png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    }
};

// Ask libpng for 8-bit red, green, blue, alpha; answers whether the file has any
// transparency.
bool RequestRgba8(png_structp png, png_infop info) {
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
    const bool hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns;
    if (!hasAlpha)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    return hasAlpha;
}

// Only `reader`, `source` and `out` are looked at after a jump.
bool Decode(SReader& reader, SSource& source, SRgbaPicture& out, bool& hasAlpha) {
    if (setjmp(png_jmpbuf(reader.png)))
        return false;
    png_set_read_fn(reader.png, &source, ReadFromSource);
    png_set_sig_bytes(reader.png, 8);
    // Our own limits are checked below, in our own words.
    png_set_user_limits(reader.png, 0x7fffffff, 0x7fffffff);
    png_set_keep_unknown_chunks(reader.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_keep_unknown_chunks(reader.png, PNG_HANDLE_CHUNK_AS_DEFAULT, kTransparencyChunk, 1);
    png_read_info(reader.png, reader.info);
    const png_uint_32 width = png_get_image_width(reader.png, reader.info);
    const png_uint_32 height = png_get_image_height(reader.png, reader.info);
    // No object with a destructor may live where libpng can jump out.
    source.error = picture::SizeRefusal(width, height);
    if (!source.error.empty()) {
        source.tooLarge = true;
        return false;
    }
    hasAlpha = RequestRgba8(reader.png, reader.info);
    const int passes = png_set_interlace_handling(reader.png);
    png_read_update_info(reader.png, reader.info);
    if (png_get_bit_depth(reader.png, reader.info) != 8 ||
        png_get_channels(reader.png, reader.info) != 4 ||
        png_get_rowbytes(reader.png, reader.info) != static_cast<size_t>(width) * 4) {
        source.error = "a sample layout that cannot be read";
        return false;
    }
    out = SRgbaPicture(static_cast<int>(width), static_cast<int>(height));
    source.pixelsStarted = true;
    // An interlaced picture is read in passes, each refining the rows in place.
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(reader.png, out.Pixel(0, static_cast<int>(y)), nullptr);
    }
    // A file cut short after its pixel data, or with a damaged compressed stream end, is
    // refused like any other damaged file.
    png_read_end(reader.png, nullptr);
    return true;
}

}  // namespace

EPngDecode DecodePng(const uint8_t* data, size_t size, SRgbaPicture& out, bool* hasAlpha,
                     std::string* why) {
    out = SRgbaPicture();
    const auto fail = [&out, why](EPngDecode result, const std::string& reason) {
        out = SRgbaPicture();
        if (why != nullptr)
            *why = reason;
        return result;
    };
    // Also turns away empty files.
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return fail(EPngDecode::Refused, "not a PNG picture");
    SSource source;
    source.data = data;
    source.size = size;
    source.at = 8;
    SReader reader;
    if (!reader.Create(source))
        return fail(EPngDecode::Refused, "out of memory");
    bool alpha = false;
    try {
        if (Decode(reader, source, out, alpha)) {
            if (hasAlpha != nullptr)
                *hasAlpha = alpha;
            return EPngDecode::Ok;
        }
    } catch (const std::bad_alloc&) {
        return fail(EPngDecode::Refused, "too large to be held in memory");
    }
    if (source.tooLarge)
        return fail(EPngDecode::Refused, source.error);
    return fail(source.pixelsStarted ? EPngDecode::PixelsFailed : EPngDecode::Refused,
                "damaged or unreadable PNG data (" + source.error + ")");
}
