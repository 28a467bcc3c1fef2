// WebP artwork through libwebp: a still picture, lossy or lossless, with or without alpha,
// decoded straight into the picture's rows. libwebp gives a status, not words; the words
// are ours.
#include <webp/decode.h>

#include "artwork/DecodeArtwork.h"
#include "dial/PictureLimits.h"

namespace artwork {
namespace {

std::string StatusRefusal(VP8StatusCode status) {
    switch (status) {
        case VP8_STATUS_NOT_ENOUGH_DATA:
            return "damaged WebP data (the file ends before its picture does)";
        case VP8_STATUS_BITSTREAM_ERROR:
            return "damaged WebP data (its compressed picture does not decode)";
        case VP8_STATUS_UNSUPPORTED_FEATURE:
            return "not supported: WebP with a feature libwebp does not decode";
        case VP8_STATUS_OUT_OF_MEMORY:
            return "out of memory";
        default:
            return "damaged WebP data (libwebp's status " + std::to_string(status) + ")";
    }
}

// Frees nothing of ours (the rows are external memory), only what the decoder kept.
struct SConfig {
    WebPDecoderConfig config{};
    ~SConfig() { WebPFreeDecBuffer(&config.output); }
};

}  // namespace

bool DecodeWebp(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why) {
    const auto fail = [&out, why](const std::string& text) {
        out = SRgbaPicture();
        if (why != nullptr)
            *why = text;
        return false;
    };
    SConfig d;
    if (WebPInitDecoderConfig(&d.config) == 0)
        return fail("the WebP library does not match its header");
    VP8StatusCode status = WebPGetFeatures(data, size, &d.config.input);
    if (status != VP8_STATUS_OK)
        return fail(StatusRefusal(status));
    if (d.config.input.has_animation != 0)
        return fail("not supported: animated WebP");
    const int width = d.config.input.width;
    const int height = d.config.input.height;
    const std::string refusal =
        picture::SizeRefusal(static_cast<uint64_t>(width), static_cast<uint64_t>(height));
    if (!refusal.empty())
        return fail(refusal);
    out = SRgbaPicture(width, height);
    WebPDecBuffer& buffer = d.config.output;
    buffer.colorspace = MODE_RGBA;  // straight alpha, as pictures here carry it
    buffer.is_external_memory = 1;
    buffer.u.RGBA.rgba = out.rgba.data();
    buffer.u.RGBA.stride = width * 4;
    buffer.u.RGBA.size = out.rgba.size();
    status = WebPDecode(data, size, &d.config);
    if (status != VP8_STATUS_OK)
        return fail(StatusRefusal(status));
    return true;
}

}  // namespace artwork
