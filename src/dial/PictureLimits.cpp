#include "dial/PictureLimits.h"

namespace picture {

std::string SizeRefusal(uint64_t width, uint64_t height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width == 0 || height == 0)
        return "a picture of " + size + " pixels holds nothing";
    if (width > static_cast<uint64_t>(kMaxSide) || height > static_cast<uint64_t>(kMaxSide))
        return size + " pixels is more than " + std::to_string(kMaxSide) + " pixels a side";
    if (width * height * 4 > kMaxDecodedBytes)
        return size + " pixels would take more than " + std::to_string(kMaxDecodedBytes >> 20) +
               " MiB decoded";
    return {};
}

}  // namespace picture
