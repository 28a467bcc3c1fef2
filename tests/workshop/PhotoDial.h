#pragma once

// A photo of a dial for the workshop's tests: a 1600 x 1200 picture of a dial on a desk, its
// needle resting at 0 knots, with the scale it was drawn with.
#include <string>

#include "dial/PngWrite.h"
#include "workshop/DrawnDial.h"

struct SPhotoDial {
    drawn::SScale scale{215, 200};
    drawn::SDialArt art;
    SRgbaPicture picture;

    SPhotoDial() {
        art.width = 1600;
        art.height = 1200;
        art.background = drawn::EBackground::Photo;
        art.cx = 930;
        art.cy = 560;
        art.radius = 430;
        art.needleClock = scale.Clock(0);
        art = drawn::ScaleDial(scale, art);
        picture = drawn::DrawDial(art);
    }

    // Where a point of the drawn dial lies on the 230 x 230 dial made from its disc, for a
    // direction and a share of the dial's radius.
    workshop::SPoint OnDial(double clockDegrees, double share) const {
        return workshop::PointAt({115, 115}, clockDegrees, share * 115);
    }
};
