#include "dial/DialRule.h"

#include "base/GaugeFacts.h"
#include "base/Utf8Path.h"
#include "dial/CImage.h"
#include "dial/PictureFile.h"
#include "dial/PictureFormat.h"

namespace {

const char* const kLoadError = "Image load error";
const char* const kMakeADial =
    "; the Dial Workshop or kestran-dial prepare makes a 230 x 230 dial with alpha of it.";

}  // namespace

std::optional<SMessage> LoadDial(const std::string& path, CImage& dial,
                                 std::vector<uint8_t>* bytes) {
    dial.Destroy();
    const std::string name = utf8path::FromPath(utf8path::ToPath(path).filename());
    std::vector<uint8_t> read;
    std::vector<uint8_t>& file = bytes != nullptr ? *bytes : read;
    std::string why;
    if (!ReadPictureFile(path, file, &why))
        return SMessage(kLoadError, name + ": " + why);
    const EPictureFormat format = PictureFormatOf(file.data(), file.size());
    if (format != EPictureFormat::Png && format != EPictureFormat::Unknown) {
        return SMessage(kLoadError, name + " is a " + PictureFormatName(format) + " picture" +
                                        kMakeADial);
    }
    if (dial.LoadFromMemory(file.data(), file.size(), &why) != ImageLoadResult::Ok)
        return SMessage(kLoadError, name + ": " + why);
    std::optional<SMessage> refusal;
    if (dial.GetWidth() != gauge::kDialSide || dial.GetHeight() != gauge::kDialSide) {
        refusal = SMessage("Image resolution must be 230 x 230 pixels",
                           name + " is " + std::to_string(dial.GetWidth()) + " x " +
                               std::to_string(dial.GetHeight()) + " pixels" + kMakeADial);
    } else if (dial.GetBPP() != 32) {
        refusal = SMessage("Image must has a color depth of 32bit per pixel(has an alpha channel)",
                           name + " is RGB without alpha" + kMakeADial);
    }
    if (refusal)
        dial.Destroy();
    return refusal;
}
