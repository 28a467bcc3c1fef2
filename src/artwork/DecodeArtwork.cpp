#include "artwork/DecodeArtwork.h"

#include <cstring>
#include <vector>

#include "dial/PictureLimits.h"
#include "dial/PictureFile.h"
#include "dial/PngDecode.h"

namespace artwork {

bool DecodeArtwork(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why,
                   int minSide) {
    static const uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out = SRgbaPicture();
    if (data != nullptr && size >= sizeof kPng && std::memcmp(data, kPng, sizeof kPng) == 0)
        return DecodePng(data, size, out, nullptr, why) == EPngDecode::Ok;
    if (data != nullptr && size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return DecodeJpeg(data, size, out, why, minSide);
    if (data != nullptr && size >= 2 && data[0] == 'B' && data[1] == 'M')
        return DecodeBmp(data, size, out, why);
    if (why != nullptr)
        *why = size == 0 ? "an empty file, not a picture"
                         : "not a picture (neither PNG nor JPEG nor BMP)";
    return false;
}

bool LoadArtwork(const std::string& path, SRgbaPicture& out, std::string* why, int minSide) {
    std::vector<uint8_t> bytes;
    if (!ReadPictureFile(path, bytes, why, picture::kMaxFileBytes))
        return false;
    return DecodeArtwork(bytes.data(), bytes.size(), out, why, minSide);
}

}  // namespace artwork
