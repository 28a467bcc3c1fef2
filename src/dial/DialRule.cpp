#include "dial/DialRule.h"

#include "base/GaugeFacts.h"
#include "dial/CImage.h"

std::optional<SMessage> DialRefusal(const std::string& path, const CImage& dial,
                                    const std::string& loadError) {
    if (dial.IsNull())
        return SMessage("Image load error", path + ": " + loadError);
    if (dial.GetWidth() != gauge::kDialSide || dial.GetHeight() != gauge::kDialSide) {
        return SMessage("Image resolution must be 230 x 230 pixels",
                        path + " is " + std::to_string(dial.GetWidth()) + " x " +
                            std::to_string(dial.GetHeight()) + " pixels");
    }
    if (dial.GetBPP() != 32) {
        return SMessage("Image must has a color depth of 32bit per pixel(has an alpha channel)",
                        path + " has no alpha channel");
    }
    return std::nullopt;
}
