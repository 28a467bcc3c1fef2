#include "workshop/CalibrationView.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "angles/NumberText.h"
#include "artwork/Canvas.h"
#include "base/GaugeFacts.h"
#include "workshop/ViewPixels.h"

namespace workshop {
namespace {

const artwork::SColour kPaper{244, 244, 240};
const artwork::SColour kPivot{40, 220, 240};
const artwork::SColour kRest{30, 170, 60};
const artwork::SColour kMark{250, 200, 30};
const artwork::SColour kLooseMark{250, 120, 220};  // on no tick
const artwork::SColour kPending{240, 60, 240};
const artwork::SColour kInk{20, 20, 20};

}  // namespace

void CCalibrationView::Resize(int width, int height) {
    m_width = width;
    m_height = height;
    // The largest whole scale whose sheet fits; never below 2, where the window's least size
    // holds it.
    int scale = artwork::kMaxSheetScale;
    while (scale > 2) {
        const artwork::SSheetLayout s =
            artwork::SheetLayout(gauge::kDialSide, gauge::kDialSide, scale);
        if (s.width <= width && s.height <= height)
            break;
        --scale;
    }
    m_sheet = artwork::SheetLayout(gauge::kDialSide, gauge::kDialSide, scale);
    m_left = std::max(0, (width - m_sheet.width) / 2);
    m_top = std::max(0, (height - m_sheet.height) / 2);
}

SPoint CCalibrationView::ToDial(SPoint view) const {
    return {(view.x - m_left - m_sheet.margin) / m_sheet.scale,
            (view.y - m_top - m_sheet.margin) / m_sheet.scale};
}

SPoint CCalibrationView::ToView(SPoint dial) const {
    return {m_left + m_sheet.margin + dial.x * m_sheet.scale,
            m_top + m_sheet.margin + dial.y * m_sheet.scale};
}

SRgbaPicture CCalibrationView::Draw(const SCalibrationScene& scene) const {
    SRgbaPicture view = BlankView(m_width, m_height, kPaper);
    if (scene.dial == nullptr || scene.dial->Empty() || scene.calibration == nullptr)
        return view;
    const SCalibration& c = *scene.calibration;
    artwork::SSheetOptions options;
    options.scale = m_sheet.scale;
    options.geometry = c.geometry;
    const SRgbaPicture sheet = artwork::DrawNeedleSheet(*scene.dial, scene.needles, options);
    LayOver(view, sheet, m_left, m_top);

    artwork::CCanvas canvas(view);
    const double s = m_sheet.scale;
    const SPoint pivot = ToView(PivotOf(c.geometry));
    const double reach = gauge::kDialCentre * s;
    if (c.restSet) {
        const SPoint end = PointAt(pivot, c.geometry.zeroDegrees, reach);
        canvas.Line(pivot.x, pivot.y, end.x, end.y, 0.8 * s + 2, kInk);
        canvas.Line(pivot.x, pivot.y, end.x, end.y, 0.8 * s, kRest);
        const SPoint label = PointAt(pivot, c.geometry.zeroDegrees, reach + 6 * s);
        canvas.Text("0", label.x, label.y, 5 * s, kRest);
    }
    Cross(canvas, pivot, 5 * s, 0.6 * s, kPivot);
    const auto mark = [&](const SWorkshopMark& m, const artwork::SColour& colour, bool selected,
                          const std::string& text) {
        const SPoint at = ToView(m.at);
        Ring(canvas, at, (selected ? 3.5 : 2.5) * s, (selected ? 0.8 : 0.5) * s, colour);
        // The speed beside the ring, on the side away from the pivot.
        const double clock = ClockDegrees(pivot, at);
        const SPoint label = PointAt(at, clock, 4 * s + canvas.TextWidth(text, 4 * s) / 2);
        canvas.Text(text, label.x + 1, label.y + 1, 4 * s, kInk);
        canvas.Text(text, label.x, label.y, 4 * s, colour);
    };
    for (size_t i = 0; i < c.marks.size(); ++i) {
        const SWorkshopMark& m = c.marks[i];
        mark(m, m.snapped ? kMark : kLooseMark, scene.selected == i, numtext::FormatG(m.knots));
    }
    if (scene.pending)
        mark(*scene.pending, kPending, true, "?");
    return view;
}

}  // namespace workshop
