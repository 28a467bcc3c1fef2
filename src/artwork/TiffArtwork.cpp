// TIFF artwork through libtiff's RGBA reader: the first page, in every photometric kind and
// sample depth that reader takes (bilevel, grey, palette, RGB, CMYK, YCbCr; strips or tiles),
// with every compression the library was built with, turned upright by its orientation.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "artwork/DecodeArtwork.h"
#include "artwork/ExifOrientation.h"
#include "dial/PictureLimits.h"

namespace artwork {
namespace {

// The most libtiff may take at once: a picture at the decoded limit in one strip of 16-bit
// RGBA. A strip or tile beyond it is refused by its size first; another allocation beyond
// it, which a damaged file's tags can ask for, fails as an error of the file.
constexpr uint64_t kMaxAllocation = picture::kMaxDecodedBytes * 2;

// The file in memory, as libtiff's client procedures see it.
struct SSource {
    const uint8_t* data = nullptr;
    uint64_t size = 0;
    uint64_t at = 0;
    std::string error;  // libtiff's first error
};

tmsize_t ReadSource(thandle_t handle, void* buffer, tmsize_t length) {
    auto* source = static_cast<SSource*>(handle);
    const uint64_t left = source->at < source->size ? source->size - source->at : 0;
    const uint64_t n = std::min(static_cast<uint64_t>(length), left);
    if (n > 0)
        std::memcpy(buffer, source->data + source->at, static_cast<size_t>(n));
    source->at += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t WriteNothing(thandle_t, void*, tmsize_t) {
    return 0;
}

// Unsigned arithmetic: a move back arrives as a wrapped offset and lands where it should.
toff_t SeekSource(thandle_t handle, toff_t offset, int whence) {
    auto* source = static_cast<SSource*>(handle);
    const uint64_t base = whence == SEEK_CUR ? source->at : whence == SEEK_END ? source->size : 0;
    source->at = base + offset;
    return source->at;
}

int CloseSource(thandle_t) {
    return 0;
}
toff_t SizeOfSource(thandle_t handle) {
    return static_cast<SSource*>(handle)->size;
}
int MapNothing(thandle_t, void**, toff_t*) {
    return 0;
}
void UnmapNothing(thandle_t, void*, toff_t) {}

int KeepFirstError(TIFF*, void* user, const char*, const char* format, va_list args) {
    auto* source = static_cast<SSource*>(user);
    if (source->error.empty()) {
        char text[512] = {};
        std::vsnprintf(text, sizeof text, format, args);
        source->error = text;
    }
    return 1;  // handled: nothing goes to standard error
}

// Unknown tags and the like: nothing a person could act on.
int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

std::string Damaged(const std::string& error) {
    return "damaged or unreadable TIFF data (" + (error.empty() ? "libtiff read nothing" : error) +
           ")";
}

// Empty when libtiff's RGBA reader takes this page; otherwise why not.
std::string ReaderRefusal(TIFF* tiff) {
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    if (TIFFIsCODECConfigured(compression) == 0) {
        const TIFFCodec* codec = TIFFFindCODEC(compression);
        return "not supported: TIFF compressed with " +
               (codec != nullptr ? std::string(codec->name)
                                 : "scheme " + std::to_string(compression));
    }
    uint16_t format = SAMPLEFORMAT_UINT;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    if (format == SAMPLEFORMAT_IEEEFP)
        return "not supported: TIFF of floating-point samples";
    char message[1024] = {};
    if (TIFFRGBAImageOK(tiff, message) != 0)
        return {};
    // The reader says "Sorry, can not handle ..." of a kind it does not take; anything else
    // (a tag it needs is missing) is a damaged file.
    static const char kSorry[] = "Sorry, ";
    if (std::strncmp(message, kSorry, sizeof kSorry - 1) == 0)
        return std::string("not supported: TIFF (") + (message + sizeof kSorry - 1) + ")";
    return Damaged(message);
}

// The reader hands over alpha premultiplied, whatever the file holds; pictures here carry
// it straight. A colour under very little alpha comes back coarse, but what shows of it
// (colour times alpha, as resampling and flattening use it) is the file's to a level.
void ToStraightRgba(SRgbaPicture& picture) {
    for (size_t i = 0; i < picture.rgba.size(); i += 4) {
        uint8_t* p = &picture.rgba[i];
        uint32_t abgr = 0;
        std::memcpy(&abgr, p, 4);
        const unsigned a = TIFFGetA(abgr);
        const unsigned rgb[3] = {TIFFGetR(abgr), TIFFGetG(abgr), TIFFGetB(abgr)};
        for (size_t c = 0; c < 3; ++c) {
            p[c] = a == 255 ? static_cast<uint8_t>(rgb[c])
                   : a == 0 ? 0
                            : static_cast<uint8_t>(std::min(255u, (rgb[c] * 255 + a / 2) / a));
        }
        p[3] = static_cast<uint8_t>(a);
    }
}

}  // namespace

bool DecodeTiff(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why) {
    const auto fail = [&out, why](const std::string& text) {
        out = SRgbaPicture();
        if (why != nullptr)
            *why = text;
        return false;
    };
    SSource source;
    source.data = data;
    source.size = size;
    const std::unique_ptr<TIFFOpenOptions, decltype(&TIFFOpenOptionsFree)> options(
        TIFFOpenOptionsAlloc(), &TIFFOpenOptionsFree);
    if (!options)
        return fail("out of memory");
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), static_cast<tmsize_t>(kMaxAllocation));
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), KeepFirstError, &source);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), IgnoreWarning, nullptr);
    const std::unique_ptr<TIFF, decltype(&TIFFClose)> tiff(
        TIFFClientOpenExt("artwork", "r", &source, ReadSource, WriteNothing, SeekSource,
                          CloseSource, SizeOfSource, MapNothing, UnmapNothing, options.get()),
        &TIFFClose);
    if (!tiff)
        return fail(Damaged(source.error));

    uint32_t width = 0, height = 0;
    TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
    std::string refusal = picture::SizeRefusal(width, height);
    const uint64_t piece =
        TIFFIsTiled(tiff.get()) ? TIFFTileSize64(tiff.get()) : TIFFStripSize64(tiff.get());
    if (refusal.empty() && piece > kMaxAllocation) {
        refusal = "a TIFF strip or tile of " + std::to_string(piece >> 20) + " MiB, more than " +
                  std::to_string(kMaxAllocation >> 20) + " MiB decoded at once";
    }
    if (refusal.empty())
        refusal = ReaderRefusal(tiff.get());
    if (!refusal.empty())
        return fail(refusal);

    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ORIENTATION, &orientation);
    if (orientation < ORIENTATION_TOPLEFT || orientation > ORIENTATION_LEFTBOT)
        orientation = ORIENTATION_TOPLEFT;
    // The reader flips but never turns: asked for the file's own orientation (or the one
    // it flips alike, for the turned ones) it hands over the rows as stored, and Orient
    // turns them as it turns a JPEG, whose EXIF tag is this very tag.
    const int stored = orientation > ORIENTATION_BOTLEFT ? orientation - 4 : orientation;
    out = SRgbaPicture(static_cast<int>(width), static_cast<int>(height));
    if (TIFFReadRGBAImageOriented(tiff.get(), width, height,
                                  reinterpret_cast<uint32_t*>(out.rgba.data()), stored, 1) == 0)
        return fail(Damaged(source.error));
    ToStraightRgba(out);
    if (orientation != ORIENTATION_TOPLEFT)
        out = Orient(out, orientation);
    return true;
}

}  // namespace artwork
