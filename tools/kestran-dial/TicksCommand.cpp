// kestran-dial ticks: the ticks the dial workshop snaps to, listed in the geometry given.
#include <algorithm>
#include <cmath>

#include "angles/NumberText.h"
#include "artwork/DecodeArtwork.h"
#include "kestran-dial/DialCommands.h"
#include "workshop/TickFinder.h"

namespace dialcommands {

EDialExit Ticks(const STicksCommand& c, SDialReport& report) {
    SRgbaPicture dial;
    std::string why;
    if (!artwork::LoadArtwork(c.dial, dial, &why)) {
        report.err += "kestran-dial: " + c.dial + ": " + why + "\n";
        return EDialExit::Refused;
    }
    artwork::SNeedleGeometry geometry = c.sheet.options.geometry;
    geometry.pivotX = c.sheet.pivotX.value_or(dial.width / 2.0);
    geometry.pivotY = c.sheet.pivotY.value_or(dial.height / 2.0);
    const workshop::SPoint pivot = workshop::PivotOf(geometry);
    std::vector<std::pair<double, workshop::ETickLength>> ticks;
    for (const workshop::STick& t : workshop::FindTicks(dial, pivot)) {
        const double degrees =
            workshop::TableDegrees(geometry, workshop::PointAt(pivot, t.clockDegrees, 1));
        // In tenths, a hair below the zero is the zero itself.
        const double tenths = std::round(degrees * 10) / 10;
        ticks.emplace_back(tenths >= 360 ? tenths - 360 : tenths, t.length);
    }
    std::sort(ticks.begin(), ticks.end());
    for (const auto& [degrees, length] : ticks) {
        report.out += numtext::FormatFixed(degrees, 1) +
                      (length == workshop::ETickLength::Long ? " long\n" : " short\n");
    }
    if (ticks.empty())
        report.err += "kestran-dial: " + c.dial + ": no ticks found\n";
    return EDialExit::Done;
}

}  // namespace dialcommands
