#pragma once

#include <optional>
#include <vector>

#include "artwork/NeedleSheet.h"
#include "dial/RgbaPicture.h"
#include "workshop/Calibration.h"

namespace workshop {

// What the calibration view shows: the dial and the table's needles as the calibration
// sheet draws them, and over them the pivot, the needle's rest and the marks.
struct SCalibrationScene {
    const SRgbaPicture* dial = nullptr;
    const SCalibration* calibration = nullptr;
    std::vector<double> needles;           // 10 knots first
    std::optional<size_t> selected;        // a mark
    std::optional<SWorkshopMark> pending;  // clicked, its speed not typed yet
};

// The dial drawn as large as the view holds at a whole scale (at least 2), centred in it;
// and the way between the view's pixels and the dial's.
class CCalibrationView {
public:
    void Resize(int width, int height);
    SRgbaPicture Draw(const SCalibrationScene& scene) const;

    SPoint ToDial(SPoint view) const;
    SPoint ToView(SPoint dial) const;
    // View pixels to a dial pixel.
    int Scale() const { return m_sheet.scale; }
    // How near a mark or the pivot a press takes hold of it, in view pixels.
    double Reach() const { return 2.5 * m_sheet.scale + 3; }

private:
    int m_width = 0, m_height = 0;
    artwork::SSheetLayout m_sheet;
    int m_left = 0, m_top = 0;  // the sheet's top-left corner in the view
};

}  // namespace workshop
