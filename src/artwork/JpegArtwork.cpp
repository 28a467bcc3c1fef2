// JPEG artwork through libjpeg-turbo: greyscale, colour and CMYK pictures become RGBA,
// turned upright by their EXIF orientation. Data the library calls corrupt is refused rather
// than shown with the grey it would fill in; a valid file of a kind the library was not
// built for (12-bit samples, the lossless and hierarchical processes) is refused as such.
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>

#include "artwork/DecodeArtwork.h"
#include "artwork/ExifOrientation.h"
#include "dial/PictureLimits.h"

namespace artwork {
namespace {

struct SErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    std::string error;
    bool refused = false;  // `error` is the whole refusal, in our words
};

// The process a start-of-frame marker the library does not decode names.
std::string ProcessOf(int marker) {
    switch (marker & 0x0F) {
        case 0x3:
        case 0xB: return "lossless JPEG";
        case 0x7:
        case 0xF: return "hierarchical lossless JPEG";
        case 0x5:
        case 0x6:
        case 0xD:
        case 0xE: return "hierarchical JPEG";
        default: return "JPEG of the process of marker " + std::to_string(marker);
    }
}

[[noreturn]] void RaiseError(j_common_ptr info) {
    auto* manager = reinterpret_cast<SErrorManager*>(info->err);
    const int code = info->err->msg_code;
    const int parameter = info->err->msg_parm.i[0];
    manager->refused = code == JERR_BAD_PRECISION || code == JERR_SOF_UNSUPPORTED;
    if (code == JERR_BAD_PRECISION) {
        manager->error = "not supported: " + std::to_string(parameter) + "-bit JPEG";
    } else if (code == JERR_SOF_UNSUPPORTED) {
        manager->error = "not supported: " + ProcessOf(parameter);
    } else {
        char text[JMSG_LENGTH_MAX] = {};
        (*info->err->format_message)(info, text);
        manager->error = text;
    }
    std::longjmp(manager->jump, 1);
}

// A warning means damaged data (a cut file, a broken Huffman code): treated as an error.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0)
        RaiseError(info);
}

struct SDecompressor {
    jpeg_decompress_struct info{};
    bool created = false;
    ~SDecompressor() {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

uint8_t Product(unsigned a, unsigned b) {
    return static_cast<uint8_t>((a * b + 127) / 255);
}

// CMYK rows, decoded in place, become RGBA.
void CmykToRgba(const jpeg_decompress_struct& info, uint8_t* row) {
    // Adobe's writers store the inks inverted, as the library hands them over.
    const bool inverted = info.saw_Adobe_marker != 0;
    for (JDIMENSION x = 0; x < info.output_width; ++x, row += 4) {
        const unsigned c = inverted ? row[0] : 255u - row[0];
        const unsigned m = inverted ? row[1] : 255u - row[1];
        const unsigned yl = inverted ? row[2] : 255u - row[2];
        const unsigned k = inverted ? row[3] : 255u - row[3];
        row[0] = Product(c, k);
        row[1] = Product(m, k);
        row[2] = Product(yl, k);
        row[3] = 255;
    }
}

// The largest reduction the decoder's scaled transform can make (1/2, 1/4, 1/8) that keeps
// the shorter side at `minSide` or more.
unsigned Reduction(const jpeg_decompress_struct& info, int minSide) {
    const JDIMENSION shorter = std::min(info.image_width, info.image_height);
    unsigned denominator = 1;
    while (minSide > 0 && denominator < 8 && shorter / (denominator * 2) >= static_cast<JDIMENSION>(minSide))
        denominator *= 2;
    return denominator;
}

int OrientationOf(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr;
         marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1) {
            const int orientation = ExifOrientation(marker->data, marker->data_length);
            if (orientation != 1)
                return orientation;
        }
    }
    return 1;
}

// Only `d`, `errors` and `out` are looked at after a jump.
bool Decode(SDecompressor& d, SErrorManager& errors, const uint8_t* data, size_t size,
            int minSide, SRgbaPicture& out) {
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&d.info);
    d.created = true;
    jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
    jpeg_save_markers(&d.info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&d.info, TRUE);
    // No object with a destructor may live where the library can jump out.
    errors.error = picture::SizeRefusal(d.info.image_width, d.info.image_height);
    if (errors.error.empty() && d.info.jpeg_color_space == JCS_UNKNOWN) {
        errors.error = "not supported: JPEG of " + std::to_string(d.info.num_components) +
                       " colour components";
    }
    if (!errors.error.empty()) {
        errors.refused = true;
        return false;
    }
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    // Straight into the picture's rows, four bytes a pixel either way.
    d.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    d.info.scale_num = 1;
    d.info.scale_denom = Reduction(d.info, minSide);
    jpeg_start_decompress(&d.info);
    out = SRgbaPicture(static_cast<int>(d.info.output_width),
                       static_cast<int>(d.info.output_height));
    while (d.info.output_scanline < d.info.output_height) {
        const int y = static_cast<int>(d.info.output_scanline);
        JSAMPROW rows[1] = {out.Pixel(0, y)};
        if (jpeg_read_scanlines(&d.info, rows, 1) != 1) {
            errors.error = "the data ends too early";
            return false;
        }
        if (cmyk)
            CmykToRgba(d.info, out.Pixel(0, y));
    }
    const int orientation = OrientationOf(d.info);
    jpeg_finish_decompress(&d.info);
    if (orientation != 1)
        out = Orient(out, orientation);
    return true;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why,
                int minSide) {
    SErrorManager errors;
    SDecompressor d;
    d.info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = RaiseError;
    errors.base.emit_message = OnMessage;
    if (Decode(d, errors, data, size, minSide, out))
        return true;
    out = SRgbaPicture();
    if (why != nullptr)
        *why = errors.refused ? errors.error : "damaged or unreadable JPEG data (" + errors.error + ")";
    return false;
}

}  // namespace artwork
