#include "artwork/DecodeArtwork.h"

#include <cstring>
#include <vector>

#include "dial/PictureLimits.h"
#include "dial/PictureFile.h"
#include "dial/PngDecode.h"

namespace artwork {
namespace {

bool StartsWith(const uint8_t* data, size_t size, const char* bytes, size_t length, size_t at = 0) {
    return size >= at + length && std::memcmp(data + at, bytes, length) == 0;
}

}  // namespace

bool DecodeArtwork(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why,
                   int minSide) {
    out = SRgbaPicture();
    if (data == nullptr)
        size = 0;
    if (StartsWith(data, size, "\x89PNG\r\n\x1A\n", 8))
        return DecodePng(data, size, out, nullptr, why) == EPngDecode::Ok;
    if (StartsWith(data, size, "\xFF\xD8\xFF", 3))
        return DecodeJpeg(data, size, out, why, minSide);
    if (StartsWith(data, size, "BM", 2))
        return DecodeBmp(data, size, out, why);
    // Little- and big-endian TIFF, and BigTIFF.
    if (StartsWith(data, size, "II*\0", 4) || StartsWith(data, size, "MM\0*", 4) ||
        StartsWith(data, size, "II+\0", 4) || StartsWith(data, size, "MM\0+", 4))
        return DecodeTiff(data, size, out, why);
    if (StartsWith(data, size, "RIFF", 4) && StartsWith(data, size, "WEBP", 4, 8))
        return DecodeWebp(data, size, out, why);
    if (why != nullptr)
        *why = size == 0 ? "an empty file, not a picture"
                         : "not a picture (not PNG, JPEG, BMP, TIFF or WebP)";
    return false;
}

bool LoadArtwork(const std::string& path, SRgbaPicture& out, std::string* why, int minSide) {
    std::vector<uint8_t> bytes;
    if (!ReadPictureFile(path, bytes, why, picture::kMaxFileBytes))
        return false;
    return DecodeArtwork(bytes.data(), bytes.size(), out, why, minSide);
}

}  // namespace artwork
