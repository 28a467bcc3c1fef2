#include "artwork/NeedleSheet.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "angles/NumberText.h"
#include "angles/Plausibility.h"
#include "artwork/Canvas.h"
#include "artwork/Resample.h"

namespace artwork {
namespace {

constexpr double kPi = 3.14159265358979323846;
const SColour kPaper{244, 244, 240};
const SColour kNeedle{200, 20, 20};
const SColour kFailing{20, 90, 240};
const SColour kFullNeedle{255, 150, 20};
const SColour kOutline{25, 25, 25};
const SColour kInk{40, 40, 40};

struct SPoint {
    double x;
    double y;
};

// The direction a needle points at `angle`, on a screen whose y grows downwards.
SPoint Direction(const SNeedleGeometry& g, double angle) {
    const double degrees = g.zeroDegrees + (g.clockwise ? angle : -angle);
    const double radians = degrees * kPi / 180.0;
    return {std::sin(radians), -std::cos(radians)};
}

// The labels' height at a scale.
double LabelPixels(int scale) {
    return std::max(10, 4 * scale);
}

std::string Caption(const SSheetOptions& options, size_t entries, size_t failing) {
    const SNeedleGeometry& g = options.geometry;
    const std::string zero =
        g.zeroDegrees == 0 ? std::string("straight up")
                           : numtext::FormatG(g.zeroDegrees) + "\xC2\xB0 clockwise from straight up";
    std::string text = "pivot " + numtext::FormatG(g.pivotX) + "," + numtext::FormatG(g.pivotY) +
                       "   0\xC2\xB0 points " + zero + "   angles grow " +
                       (g.clockwise ? "clockwise" : "counter-clockwise") + "   " +
                       std::to_string(entries) + " entries to " + std::to_string(10 * entries) +
                       " knots";
    if (failing > 0)
        text += "   " + std::to_string(failing) + " in blue fail the check";
    return text;
}

}  // namespace

std::optional<double> AngleAtSpeed(const std::vector<double>& angles, double knots) {
    const double top = 10.0 * static_cast<double>(angles.size());
    if (!(knots >= 0) || knots > top)
        return std::nullopt;
    const size_t below = static_cast<size_t>(knots / 10.0);
    if (below >= angles.size())
        return angles.back();
    const double from = below == 0 ? 0.0 : angles[below - 1];
    const double share = (knots - 10.0 * static_cast<double>(below)) / 10.0;
    return from + (angles[below] - from) * share;
}

SSheetLayout SheetLayout(int dialWidth, int dialHeight, int scale) {
    SSheetLayout layout;
    layout.scale = std::clamp(scale, 1, kMaxSheetScale);
    const double label = LabelPixels(layout.scale);
    layout.margin = static_cast<int>(std::lround(3.6 * label)) + 4;
    const int caption = static_cast<int>(std::lround(2.2 * label));
    layout.width = dialWidth * layout.scale + 2 * layout.margin;
    layout.height = dialHeight * layout.scale + 2 * layout.margin + caption;
    return layout;
}

SRgbaPicture DrawNeedleSheet(const SRgbaPicture& dial, const std::vector<double>& angles,
                             const SSheetOptions& options) {
    const SSheetLayout layout = SheetLayout(dial.width, dial.height, options.scale);
    const int scale = layout.scale;
    const double label = LabelPixels(scale);
    const int margin = layout.margin;
    const int caption = layout.height - dial.height * scale - 2 * margin;
    SRgbaPicture sheet(layout.width, layout.height);
    for (size_t i = 0; i < sheet.rgba.size(); i += 4) {
        std::copy(kPaper.begin(), kPaper.end(), sheet.rgba.begin() + static_cast<long>(i));
        sheet.rgba[i + 3] = 255;
    }
    CCanvas canvas(sheet);
    canvas.Over(Resample(dial, dial.width * scale, dial.height * scale), margin, margin);

    const SNeedleGeometry& g = options.geometry;
    const SPoint pivot{margin + g.pivotX * scale, margin + g.pivotY * scale};
    const double reach = std::max(dial.width, dial.height) / 2.0 * scale;
    const std::vector<int> failingList = plausibility::FailingEntries(angles);
    for (size_t i = 0; i < angles.size(); ++i) {
        const int knots = 10 * static_cast<int>(i + 1);
        const bool emphasised = knots % 50 == 0;
        const bool failing =
            std::find(failingList.begin(), failingList.end(), static_cast<int>(i + 1)) !=
            failingList.end();
        const SColour& colour = failing ? kFailing : kNeedle;
        const SPoint d = Direction(g, angles[i]);
        canvas.Line(pivot.x, pivot.y, pivot.x + d.x * reach, pivot.y + d.y * reach,
                    emphasised ? 2.0 : 1.0, colour);
        const double size = emphasised ? label * 1.35 : label;
        const std::string text = std::to_string(knots);
        // Far enough out that the label's box clears the line's end in every direction.
        const double out = reach + 0.6 * size + canvas.TextWidth(text, size) / 2.0;
        canvas.Text(text, pivot.x + d.x * out, pivot.y + d.y * out, size, colour);
    }
    if (options.atKnots) {
        if (const std::optional<double> angle = AngleAtSpeed(angles, *options.atKnots)) {
            const SPoint d = Direction(g, *angle);
            const double tail = 0.15 * reach;
            // Outlined, so that it shows on a light dial and on a dark one.
            for (const auto& [width, colour] : {std::pair{2.5 * scale, kOutline},
                                                std::pair{1.5 * scale, kFullNeedle}}) {
                canvas.Line(pivot.x - d.x * tail, pivot.y - d.y * tail,
                            pivot.x + d.x * reach * 0.9, pivot.y + d.y * reach * 0.9, width,
                            colour);
            }
        }
    }
    canvas.Disc(pivot.x, pivot.y, 2.0 * scale, kOutline);
    canvas.Disc(pivot.x, pivot.y, 1.2 * scale, kFullNeedle);
    canvas.Text(Caption(options, angles.size(), failingList.size()), sheet.width / 2.0,
                sheet.height - caption / 2.0, label, kInk);
    return sheet;
}

}  // namespace artwork
