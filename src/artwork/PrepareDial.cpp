#include "artwork/PrepareDial.h"

#include "base/GaugeFacts.h"

namespace artwork {

bool PrepareDial(const SRgbaPicture& art, const SPrepareOptions& options, SPreparedDial& out,
                 std::string* why) {
    const auto fail = [why](const std::string& text) {
        if (why != nullptr)
            *why = text;
        return false;
    };
    const SRgbaPicture* source = &art;
    SRgbaPicture cropped;
    if (options.crop) {
        const SRect& r = *options.crop;
        if (!InsidePicture(r, art)) {
            return fail("the crop " + std::to_string(r.x) + "," + std::to_string(r.y) + "," +
                        std::to_string(r.width) + "," + std::to_string(r.height) +
                        " does not lie inside the picture (" + std::to_string(art.width) +
                        " x " + std::to_string(art.height) + ")");
        }
        cropped = Crop(art, r);
        source = &cropped;
    }
    out.asFitted = FitSquare(*source, gauge::kDialSide, options.fit);
    if (out.asFitted.Empty())
        return fail("the picture could not be resampled");
    if (options.circle)
        MaskCircle(out.asFitted, options.circleDiameter.value_or(gauge::kDialSide));
    if (options.background)
        Flatten(out.asFitted, *options.background);
    out.dial = out.asFitted;
    ClearTransparent(out.dial);
    out.largestMergeChange = MergeNearPixels(out.dial, options.merge);
    return true;
}

}  // namespace artwork
