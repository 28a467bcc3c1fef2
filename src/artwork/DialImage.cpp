#include "artwork/DialImage.h"

#include "dial/CImage.h"

namespace artwork {

bool ToDialImage(const SRgbaPicture& picture, CImage& image) {
    if (!image.Create(picture.width, picture.height, 32, true))
        return false;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* from = picture.Pixel(x, y);
            uint8_t* to = image.PixelAt(x, y);
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
            to[3] = from[3];
        }
    }
    return true;
}

SRgbaPicture FromDialImage(const CImage& image) {
    if (image.IsNull() || (image.GetBPP() != 24 && image.GetBPP() != 32))
        return {};
    SRgbaPicture picture(image.GetWidth(), image.GetHeight());
    const bool alpha = image.GetBPP() == 32;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* from = image.PixelAt(x, y);
            uint8_t* to = picture.Pixel(x, y);
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
            to[3] = alpha ? from[3] : 255;
        }
    }
    return picture;
}

}  // namespace artwork
