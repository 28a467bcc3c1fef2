#include "workshop/DialPicture.h"

#include "artwork/DecodeArtwork.h"
#include "base/GaugeFacts.h"

namespace workshop {

bool LoadPicture(const std::string& path, SRgbaPicture& picture, std::string* why) {
    return artwork::LoadArtwork(path, picture, why, kPictureMinSide);
}

SDisc DialDisc(const SRgbaPicture& picture) {
    if (picture.width == gauge::kDialSide && picture.height == gauge::kDialSide)
        return {gauge::kDialCentre, gauge::kDialCentre, gauge::kDialCentre, EDiscSource::WholeDial};
    return FindDisc(picture);
}

std::string DiscSourceText(EDiscSource source) {
    switch (source) {
        case EDiscSource::Transparency:
            return "the bounds of the opaque pixels";
        case EDiscSource::Edge:
            return "the largest round edge";
        case EDiscSource::Inscribed:
            return "nothing round found: the circle inscribed in the picture";
        case EDiscSource::WholeDial:
            return "a dial already: taken whole";
    }
    return {};
}

}  // namespace workshop
