#include "artwork/Resample.h"

#include <stb_image_resize.h>

namespace artwork {

SRgbaPicture Resample(const SRgbaPicture& picture, int width, int height) {
    if (picture.width == width && picture.height == height)
        return picture;
    SRgbaPicture out(width, height);
    const int ok = stbir_resize_uint8_generic(
        picture.rgba.data(), picture.width, picture.height, picture.width * 4, out.rgba.data(),
        width, height, width * 4, 4, 3, 0, STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT,
        STBIR_COLORSPACE_SRGB, nullptr);
    return ok != 0 ? out : SRgbaPicture();
}

}  // namespace artwork
