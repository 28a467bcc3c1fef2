#pragma once

#include <array>
#include <cstdint>

#include "dial/RgbaPicture.h"

// The steps that make a dial out of a picture, each on its own.
namespace artwork {

struct SRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Whether the rectangle lies wholly inside the picture and holds a pixel.
bool InsidePicture(const SRect& rect, const SRgbaPicture& picture);
// The pixels inside `rect`, which must lie inside the picture.
SRgbaPicture Crop(const SRgbaPicture& picture, const SRect& rect);

enum class EFit {
    Contain,  // the whole picture inside the square, transparent margins
    Cover,    // the square filled, the overflow cropped evenly from both sides
};
// The picture fitted into a square of `side` pixels. Empty when resampling fails.
SRgbaPicture FitSquare(const SRgbaPicture& picture, int side, EFit fit);

// Pixels outside the centred circle of `diameter` become transparent, with a one-pixel
// anti-aliased edge.
void MaskCircle(SRgbaPicture& picture, double diameter);

// Every pixel laid over an opaque colour.
void Flatten(SRgbaPicture& picture, const std::array<uint8_t, 3>& rgb);

// Fully transparent pixels become (0, 0, 0, 0), whatever colour they carried.
void ClearTransparent(SRgbaPicture& picture);

// In raster order, a pixel whose four channels all lie within `levels` of the last pixel
// kept takes that pixel's value, so that it joins its run. The largest change made to any
// channel.
int MergeNearPixels(SRgbaPicture& picture, int levels);

}  // namespace artwork
