#pragma once

#include "dial/RgbaPicture.h"
#include "workshop/DiscFinder.h"

namespace workshop {

// Larger discs are cut at this side; preparing the dial takes them down to its side anyway.
constexpr int kMaxDiscSquare = 2048;

// The square around the disc, as many pixels across as the disc (at most kMaxDiscSquare),
// centred on the disc's centre to a fraction of a pixel, so that the dial's centre is the
// disc's; what lies beyond the picture is transparent.
SRgbaPicture DiscSquare(const SRgbaPicture& picture, const SDisc& disc);

}  // namespace workshop
