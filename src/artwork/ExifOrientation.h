#pragma once

#include <cstddef>
#include <cstdint>

#include "dial/RgbaPicture.h"

namespace artwork {

// The orientation tag (1 to 8) from the body of a JPEG APP1 segment that holds EXIF data
// ("Exif\0\0" and a TIFF header); 1, upright, when the segment holds none or a damaged one.
int ExifOrientation(const uint8_t* segment, size_t size);

// The picture turned and mirrored so that it shows upright for the given orientation.
SRgbaPicture Orient(const SRgbaPicture& picture, int orientation);

}  // namespace artwork
