#include "harness/PrepareCase.h"

#include <cstring>

#include "artwork/DecodeArtwork.h"
#include "artwork/PrepareDial.h"
#include "dial/CImage.h"
#include "dial/PictureLimits.h"
#include "harness/FuzzCheck.h"
#include "upload/UploadCost.h"

namespace fuzzcase {
namespace {

// Larger pictures are decoded but not resampled, which would only take time.
constexpr long long kMaxPreparedPixels = 1024 * 1024;

artwork::SPrepareOptions OptionsFrom(uint8_t choice) {
    artwork::SPrepareOptions options;
    options.fit = (choice & 1) != 0 ? artwork::EFit::Cover : artwork::EFit::Contain;
    options.circle = (choice & 2) != 0;
    if ((choice & 4) != 0)
        options.circleDiameter = 40 + choice % 190;
    if ((choice & 8) != 0)
        options.background = std::array<uint8_t, 3>{choice, 0x40, 0xFF};
    options.merge = choice >> 4;
    return options;
}

}  // namespace

void RunPrepare(const uint8_t* data, size_t size) {
    if (size == 0)
        return;
    const artwork::SPrepareOptions options = OptionsFrom(data[0]);
    SRgbaPicture art;
    std::string why;
    if (!artwork::DecodeArtwork(data + 1, size - 1, art, &why)) {
        FuzzCheck(art.Empty() && !why.empty(), "a refused picture is not empty or says nothing");
        return;
    }
    FuzzCheck(art.width >= 1 && art.height >= 1 && art.width <= picture::kMaxSide &&
                  art.height <= picture::kMaxSide &&
                  static_cast<uint64_t>(art.width) * static_cast<uint64_t>(art.height) * 4 <=
                      picture::kMaxDecodedBytes,
              "a decoded picture lies outside the limits");
    FuzzCheck(
        art.rgba.size() == static_cast<size_t>(art.width) * static_cast<size_t>(art.height) * 4,
        "a decoded picture's pixels do not match its size");
    if (static_cast<long long>(art.width) * art.height > kMaxPreparedPixels)
        return;
    artwork::SPreparedDial prepared;
    FuzzCheck(artwork::PrepareDial(art, options, prepared, &why),
              "a decoded picture cannot be prepared");
    const SRgbaPicture& dial = prepared.dial;
    FuzzCheck(dial.width == 230 && dial.height == 230, "a dial is not 230 x 230");
    for (size_t i = 0; i < dial.rgba.size(); i += 4) {
        static const uint8_t kClear[4] = {0, 0, 0, 0};
        FuzzCheck(dial.rgba[i + 3] != 0 || std::memcmp(&dial.rgba[i], kClear, 4) == 0,
                  "a transparent pixel keeps a colour");
        FuzzCheck(!options.background || dial.rgba[i + 3] == 255,
                  "a flattened pixel is not opaque");
    }
    const upload::SUploadCost cost = upload::UploadCost({dial.View()}, std::nullopt);
    FuzzCheck(
        cost.dials.size() == 1 && cost.dials[0].lines >= 1 && cost.dials[0].lines <= 230 * 230,
        "the walk sends no line or more lines than pixels");
}

}  // namespace fuzzcase
