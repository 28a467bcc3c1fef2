#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "artwork/PictureOps.h"
#include "dial/RgbaPicture.h"

// Turning artwork into a dial the gauge takes: 230 x 230, 8 bits a channel, with alpha.
namespace artwork {

struct SPrepareOptions {
    EFit fit = EFit::Contain;
    std::optional<SRect> crop;  // picked out of the picture before fitting
    bool circle = false;
    std::optional<double> circleDiameter;  // the inscribed circle when not given
    std::optional<std::array<uint8_t, 3>> background;
    int merge = 0;  // levels, 0 for none
};

struct SPreparedDial {
    SRgbaPicture dial;
    // The dial as fitted, before its transparent pixels were cleared and near pixels merged.
    SRgbaPicture asFitted;
    int largestMergeChange = 0;
};

// False, with the reason in `why`, when the options do not suit the picture (a crop outside
// it) or resampling fails.
bool PrepareDial(const SRgbaPicture& art, const SPrepareOptions& options, SPreparedDial& out,
                 std::string* why);

}  // namespace artwork
