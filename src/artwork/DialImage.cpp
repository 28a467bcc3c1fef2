#include "artwork/DialImage.h"

#include "dial/CImage.h"

namespace artwork {

namespace {

// The dial image keeps its pixels as BGRA, the artwork as RGBA: one swap serves both ways.
void SwapRedAndBlue(const uint8_t* from, uint8_t* to, bool alpha) {
    to[0] = from[2];
    to[1] = from[1];
    to[2] = from[0];
    to[3] = alpha ? from[3] : 255;
}

template <class Visit>
void ForEachPixel(int width, int height, Visit visit) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            visit(x, y);
    }
}

}  // namespace

bool ToDialImage(const SRgbaPicture& picture, CImage& image) {
    if (!image.Create(picture.width, picture.height, 32, true))
        return false;
    ForEachPixel(picture.width, picture.height, [&](int x, int y) {
        SwapRedAndBlue(picture.Pixel(x, y), image.PixelAt(x, y), true);
    });
    return true;
}

SRgbaPicture FromDialImage(const CImage& image) {
    if (image.IsNull() || (image.GetBPP() != 24 && image.GetBPP() != 32))
        return {};
    SRgbaPicture picture(image.GetWidth(), image.GetHeight());
    const bool alpha = image.GetBPP() == 32;
    ForEachPixel(picture.width, picture.height, [&](int x, int y) {
        SwapRedAndBlue(image.PixelAt(x, y), picture.Pixel(x, y), alpha);
    });
    return picture;
}

}  // namespace artwork
