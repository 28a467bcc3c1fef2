#include "artwork/DecodeArtwork.h"

#include <vector>

#include "dial/PictureLimits.h"
#include "dial/PictureFile.h"
#include "dial/PictureFormat.h"
#include "dial/PngDecode.h"

namespace artwork {

bool DecodeArtwork(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why,
                   int minSide) {
    out = SRgbaPicture();
    switch (PictureFormatOf(data, size)) {
        case EPictureFormat::Png:
            return DecodePng(data, size, out, nullptr, why) == EPngDecode::Ok;
        case EPictureFormat::Jpeg:
            return DecodeJpeg(data, size, out, why, minSide);
        case EPictureFormat::Bmp:
            return DecodeBmp(data, size, out, why);
        case EPictureFormat::Tiff:
            return DecodeTiff(data, size, out, why);
        case EPictureFormat::Webp:
            return DecodeWebp(data, size, out, why);
        case EPictureFormat::Unknown:
            break;
    }
    if (why != nullptr)
        *why = data == nullptr || size == 0 ? "an empty file, not a picture"
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
