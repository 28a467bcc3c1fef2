#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "dial/RgbaPicture.h"

// Turning artwork files into pictures: PNG of every kind libpng reads, JPEG (baseline and
// progressive, greyscale, colour and CMYK, upright by its EXIF orientation) and BMP, told
// apart by their first bytes, not by the name. Pictures beyond the limits of
// dial/PictureLimits.h are refused from their header.
namespace artwork {

// False, with the reason for a person in `why`, when the bytes are not such a picture or
// its data is damaged (then in the decoding library's own words). With `minSide`, a JPEG
// far larger than needed may come out reduced by the decoder's own scaled transform (to a
// half, a quarter or an eighth), its shorter side still at least `minSide`.
bool DecodeArtwork(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why,
                   int minSide = 0);

// The same for a file, read whole first.
bool LoadArtwork(const std::string& path, SRgbaPicture& out, std::string* why, int minSide = 0);

// The formats besides PNG (dial/PngDecode.h), each from its own library.
bool DecodeJpeg(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why,
                int minSide = 0);
bool DecodeBmp(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why);

}  // namespace artwork
