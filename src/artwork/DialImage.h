#pragma once

#include "artwork/RgbaPicture.h"

class CImage;

namespace artwork {

// The picture in the layout the upload reads: 32 bits a pixel, blue, green, red, alpha, with
// the alpha flag. False when the container cannot be made.
bool ToDialImage(const SRgbaPicture& picture, CImage& image);

// A 24- or 32-bit container's picture; opaque where it has no alpha.
SRgbaPicture FromDialImage(const CImage& image);

}  // namespace artwork
