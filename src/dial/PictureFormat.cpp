#include "dial/PictureFormat.h"

#include <cstring>

namespace {

bool StartsWith(const uint8_t* data, size_t size, const char* bytes, size_t length, size_t at = 0) {
    return data != nullptr && size >= at + length && std::memcmp(data + at, bytes, length) == 0;
}

}  // namespace

EPictureFormat PictureFormatOf(const uint8_t* data, size_t size) {
    if (StartsWith(data, size, "\x89PNG\r\n\x1A\n", 8))
        return EPictureFormat::Png;
    if (StartsWith(data, size, "\xFF\xD8\xFF", 3))
        return EPictureFormat::Jpeg;
    if (StartsWith(data, size, "BM", 2))
        return EPictureFormat::Bmp;
    // Little- and big-endian TIFF, and BigTIFF.
    if (StartsWith(data, size, "II*\0", 4) || StartsWith(data, size, "MM\0*", 4) ||
        StartsWith(data, size, "II+\0", 4) || StartsWith(data, size, "MM\0+", 4))
        return EPictureFormat::Tiff;
    if (StartsWith(data, size, "RIFF", 4) && StartsWith(data, size, "WEBP", 4, 8))
        return EPictureFormat::Webp;
    return EPictureFormat::Unknown;
}

const char* PictureFormatName(EPictureFormat format) {
    switch (format) {
        case EPictureFormat::Png:
            return "PNG";
        case EPictureFormat::Jpeg:
            return "JPEG";
        case EPictureFormat::Bmp:
            return "BMP";
        case EPictureFormat::Tiff:
            return "TIFF";
        case EPictureFormat::Webp:
            return "WebP";
        case EPictureFormat::Unknown:
            break;
    }
    return "";
}
