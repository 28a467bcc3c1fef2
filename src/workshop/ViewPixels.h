#pragma once

#include <cstdint>

#include "artwork/Canvas.h"
#include "dial/RgbaPicture.h"
#include "workshop/DialGeometry.h"

// What the workshop's three views share: an opaque view picture, a picture laid into it over
// a checkerboard where it is transparent, and the marks drawn over pictures.
namespace workshop {

// A view's pixels filled with one colour.
SRgbaPicture BlankView(int width, int height, const artwork::SColour& colour);

// `picture` laid over a checkerboard (its transparency shows as such) with its top-left
// corner at (left, top) of the view.
void LayOver(SRgbaPicture& view, const SRgbaPicture& picture, int left, int top);

// A picture reduced or enlarged to `width` x `height`: whole blocks averaged first when it
// is much larger, so that a large photo takes no long to show.
SRgbaPicture Fitted(const SRgbaPicture& picture, int width, int height);

// A circle's outline, `width` pixels wide, outlined in dark so that it shows on any picture.
void Ring(artwork::CCanvas& canvas, SPoint centre, double radius, double width,
          const artwork::SColour& colour);

// A cross of two strokes `reach` pixels from the centre, outlined likewise.
void Cross(artwork::CCanvas& canvas, SPoint centre, double reach, double width,
           const artwork::SColour& colour);

}  // namespace workshop
