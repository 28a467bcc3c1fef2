#pragma once

#include "dial/RgbaPicture.h"

// Finding the dial's disc in a picture (a photo or a scan of a gauge, or artwork), so that
// it can be cut out and centred without the user measuring it.
namespace workshop {

enum class EDiscSource {
    Transparency,  // the bounds of the opaque pixels of a picture with a transparent surround
    Edge,          // the largest round edge that stands out all the way round
    Inscribed,     // nothing round found: the circle inscribed in the picture
    WholeDial,     // a picture of the dial's own size: a dial already, taken whole
};

// A circle in picture pixels from the top-left corner (a pixel's centre at x + 0.5).
struct SDisc {
    double cx = 0;
    double cy = 0;
    double radius = 0;
    EDiscSource source = EDiscSource::Inscribed;
};

// A pure function of the picture. With a transparent surround (at least 1 % of the pixels
// mostly transparent) the disc is the circle around the bounds of the opaque pixels. Else it
// is the largest circle whose edge stands out from its surroundings on most of its round:
// the outline of the dial's face or bezel against the background, found among the centres
// that the picture's edges point at.
SDisc FindDisc(const SRgbaPicture& picture);

}  // namespace workshop
