// BMP artwork through stb_image, limited to its BMP reader.
#include <stb_image.h>

#include <memory>

#include "artwork/DecodeArtwork.h"
#include "dial/PictureLimits.h"

namespace artwork {

bool DecodeBmp(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why) {
    const auto fail = [why](const std::string& text) {
        if (why != nullptr)
            *why = text;
        return false;
    };
    if (size > static_cast<size_t>(INT32_MAX))
        return fail("too large a file");
    const int length = static_cast<int>(size);
    int width = 0, height = 0, channels = 0;
    if (stbi_info_from_memory(data, length, &width, &height, &channels) == 0) {
        const char* reason = stbi_failure_reason();
        return fail(std::string("damaged or unreadable BMP data (") +
                    (reason != nullptr ? reason : "unknown") + ")");
    }
    const std::string refusal = picture::SizeRefusal(static_cast<uint64_t>(width), static_cast<uint64_t>(height));
    if (!refusal.empty())
        return fail(refusal);
    // The reader takes no compressed BMP, so the file holds every row; one cut short would
    // otherwise decode with rows of nothing.
    if (size >= 30) {
        const uint64_t bits = static_cast<uint64_t>(data[28] | data[29] << 8);
        const uint64_t offset = static_cast<uint64_t>(data[10]) | static_cast<uint64_t>(data[11]) << 8 |
                                static_cast<uint64_t>(data[12]) << 16 | static_cast<uint64_t>(data[13]) << 24;
        const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
        if (offset + rowBytes * static_cast<uint64_t>(height) > size)
            return fail("damaged or unreadable BMP data (the file ends before its last row)");
    }
    const std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> pixels(
        stbi_load_from_memory(data, length, &width, &height, &channels, 4), &stbi_image_free);
    if (!pixels) {
        const char* reason = stbi_failure_reason();
        return fail(std::string("damaged or unreadable BMP data (") +
                    (reason != nullptr ? reason : "unknown") + ")");
    }
    out = SRgbaPicture(width, height);
    std::copy(pixels.get(), pixels.get() + out.rgba.size(), out.rgba.begin());
    return true;
}

}  // namespace artwork
