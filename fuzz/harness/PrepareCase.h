#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzzcase {

// The first byte picks prepare's options (fit, circle, background, merge), the rest is an
// artwork file (PNG, JPEG, BMP, TIFF, WebP or anything else). What decodes is prepared as a dial and its
// upload cost counted. Raises CFuzzFailure when a decoded picture breaks its limits or the
// dial is not a 230 x 230 one with clean transparency.
void RunPrepare(const uint8_t* data, size_t size);

}  // namespace fuzzcase
