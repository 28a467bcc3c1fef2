#pragma once

#include "dial/RgbaPicture.h"

namespace artwork {

// The picture scaled to width x height by stb_image_resize's default filters, in linear
// light, colours weighted by their alpha while filtering (premultiplied), so that a
// transparent neighbour lends a pixel no colour. Empty when the library fails.
SRgbaPicture Resample(const SRgbaPicture& picture, int width, int height);

}  // namespace artwork
