// Marks given as points of the dial (--mark KNOTS@X,Y): each read as an angle in the sheet's
// geometry, on the nearest tick as the dial workshop places a click.
#include "angles/NumberText.h"
#include "artwork/DecodeArtwork.h"
#include "base/GaugeFacts.h"
#include "kestran-dial/DialCommands.h"
#include "workshop/Calibration.h"

namespace dialcommands {

std::optional<std::vector<artwork::SMark>> PointMarkAngles(const STableCommand& c,
                                                           std::vector<std::string>& said,
                                                           std::string* why) {
    const std::optional<std::string> dialPath =
        !c.dial.empty() ? std::optional<std::string>(c.dial) : c.previewDial;
    SRgbaPicture dial;
    if (c.snap && !dialPath) {
        const SPointMark& m = c.pointMarks.front();
        *why = "--mark " + numtext::FormatG(m.knots) + "@" + numtext::FormatG(m.x) + "," +
               numtext::FormatG(m.y) +
               " is a point of the dial: give the dial whose ticks it snaps to (--dial DIAL.png), "
               "or --no-snap";
        return std::nullopt;
    }
    if (dialPath && !artwork::LoadArtwork(*dialPath, dial, why)) {
        *why = *dialPath + ": " + *why;
        return std::nullopt;
    }
    artwork::SNeedleGeometry geometry = c.sheet.options.geometry;
    geometry.pivotX = c.sheet.pivotX.value_or(dial.Empty() ? gauge::kDialCentre : dial.width / 2.0);
    geometry.pivotY =
        c.sheet.pivotY.value_or(dial.Empty() ? gauge::kDialCentre : dial.height / 2.0);
    const workshop::SPoint pivot = workshop::PivotOf(geometry);
    const std::vector<workshop::STick> ticks =
        c.snap ? workshop::FindTicks(dial, pivot) : std::vector<workshop::STick>{};
    std::vector<artwork::SMark> marks;
    for (const SPointMark& m : c.pointMarks) {
        const workshop::SPoint given{m.x, m.y};
        const workshop::SWorkshopMark placed = c.snap ? workshop::SnapMark(ticks, pivot, given)
                                                      : workshop::SWorkshopMark{m.knots, given};
        const double degrees = workshop::TableDegrees(geometry, placed.at);
        marks.push_back({m.knots, degrees});
        std::string line = "mark " + numtext::FormatG(m.knots) + "@" + numtext::FormatG(m.x) + "," +
                           numtext::FormatG(m.y) + ": " + numtext::FormatFixed(degrees, 2) +
                           " degrees";
        if (c.snap)
            line += placed.snapped ? ", on a tick" : ", on no tick (none within 3 degrees)";
        said.push_back(line);
    }
    return marks;
}

}  // namespace dialcommands
