#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "dial/RgbaPicture.h"

// Turning artwork files into pictures: PNG of every kind libpng reads, JPEG (baseline and
// progressive, greyscale, colour and CMYK, upright by its EXIF orientation), BMP as Windows
// reads it, TIFF as libtiff's RGBA reader takes it (upright by its orientation) and still
// WebP (lossy or lossless), told apart by their first bytes, not by the name. Pictures
// beyond the limits of dial/PictureLimits.h are refused from their header.
namespace artwork {

// False, with the reason for a person in `why`: the bytes are not such a picture; a valid
// file of a kind that is not taken ("not supported: 12-bit JPEG"); a picture beyond the
// limits; or damaged data, then in the decoding library's own words where it has them. With `minSide`, a JPEG
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
bool DecodeTiff(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why);
bool DecodeWebp(const uint8_t* data, size_t size, SRgbaPicture& out, std::string* why);

}  // namespace artwork
