// BMP artwork through stb_image, limited to its BMP reader.
#include <stb_image.h>

#include <memory>

#include "artwork/DecodeArtwork.h"
#include "artwork/PictureLimits.h"

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
    const std::string refusal = SizeRefusal(static_cast<uint64_t>(width), static_cast<uint64_t>(height));
    if (!refusal.empty())
        return fail(refusal);
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
