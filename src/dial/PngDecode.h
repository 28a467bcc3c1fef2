#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "dial/RgbaPicture.h"

// How a PNG decoding ended: PixelsFailed once the header was read and the picture's
// buffer made, Refused before that.
enum class EPngDecode { Ok, Refused, PixelsFailed };

// Every PNG libpng reads, as 8-bit RGBA with the stored sample values as they are (no gamma
// or colour-profile conversion), within the limits of dial/PictureLimits.h. `hasAlpha`
// (when given) tells whether the file has any transparency. On a failure `out` is empty
// and `why` (when given) says what was wrong, in words for a person.
EPngDecode DecodePng(const uint8_t* data, size_t size, SRgbaPicture& out, bool* hasAlpha,
                     std::string* why);
