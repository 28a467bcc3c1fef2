#include "workshop/TickFinder.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <numeric>

#include "workshop/PolarDial.h"

namespace workshop {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Strokes narrower than this share of the radius stand out of the face around them; wider
// things (the face, rings, coloured arcs) are the background they stand out from.
constexpr double kStrokeWidthShare = 0.07;
// The faintest stroke taken, as a share of the strongest contrast, and never below this.
constexpr double kContrastShare = 0.2;
constexpr float kLeastContrast = 18.0f;
// How far beside a stroke the rest of a number is looked for.
constexpr double kWritingReachShare = 0.04;
// Longer strokes are needles, not ticks.
constexpr double kTickLengthShare = 0.4;
// A tick's ends lie on the scale's circle within this many pixels, or this share of the radius.
constexpr double kEndTolerance = 2.5;
constexpr double kEndToleranceShare = 0.025;

// The smallest (or largest) value within `half` columns either side, around the circle.
std::vector<float> SlidingExtreme(const float* row, int n, int half, bool smallest) {
    std::vector<float> out(static_cast<size_t>(n));
    std::deque<int> window;  // indices into the row extended by `half` on both sides
    const auto value = [&](int k) { return row[((k - half) % n + n) % n]; };
    const auto better = [smallest](float a, float b) { return smallest ? a <= b : a >= b; };
    for (int k = 0; k < n + 2 * half; ++k) {
        while (!window.empty() && better(value(k), value(window.back())))
            window.pop_back();
        window.push_back(k);
        if (window.front() <= k - 2 * half - 1)
            window.pop_front();
        if (k >= 2 * half)
            out[static_cast<size_t>(k - 2 * half)] = value(window.front());
    }
    return out;
}

// How much each sample stands out of the face around it along its row: brighter than the
// morphological opening (bright strokes) or darker than the closing (dark strokes).
struct SContrast {
    std::vector<float> bright, dark;
};

SContrast StrokeContrast(const SPolarDial& polar, double radius) {
    SContrast c;
    c.bright.resize(polar.brightness.size());
    c.dark.resize(polar.brightness.size());
    const double columnRadians = 2 * kPi / polar.columns;
    for (int i = 0; i < polar.rows; ++i) {
        const double r = std::max(polar.Radius(i), 1.0);
        const int half = std::clamp(
            static_cast<int>(std::ceil(kStrokeWidthShare * radius / (r * columnRadians))), 1,
            polar.columns / 16);
        const float* row =
            polar.brightness.data() + static_cast<size_t>(i) * static_cast<size_t>(polar.columns);
        const std::vector<float> eroded = SlidingExtreme(row, polar.columns, half, true);
        const std::vector<float> opened = SlidingExtreme(eroded.data(), polar.columns, half, false);
        const std::vector<float> dilated = SlidingExtreme(row, polar.columns, half, false);
        const std::vector<float> closed = SlidingExtreme(dilated.data(), polar.columns, half, true);
        for (int j = 0; j < polar.columns; ++j) {
            const size_t k = static_cast<size_t>(i) * static_cast<size_t>(polar.columns) +
                             static_cast<size_t>(j);
            c.bright[k] = row[j] - opened[static_cast<size_t>(j)];
            c.dark[k] = closed[static_cast<size_t>(j)] - row[j];
        }
    }
    return c;
}

float HighValue(const std::vector<float>& values, double share) {
    std::vector<float> copy = values;
    const size_t k =
        std::min(copy.size() - 1, static_cast<size_t>(share * static_cast<double>(copy.size())));
    std::nth_element(copy.begin(), copy.begin() + static_cast<long>(k), copy.end());
    return copy[k];
}

// Groups of touching samples above the threshold (8 neighbours, around the circle).
std::vector<int> Label(const std::vector<float>& contrast, int rows, int columns, float threshold,
                       int* count) {
    std::vector<int> parent(contrast.size());
    std::iota(parent.begin(), parent.end(), 0);
    const auto find = [&parent](int k) {
        while (parent[static_cast<size_t>(k)] != k) {
            parent[static_cast<size_t>(k)] =
                parent[static_cast<size_t>(parent[static_cast<size_t>(k)])];
            k = parent[static_cast<size_t>(k)];
        }
        return k;
    };
    const auto on = [&](int i, int j) {
        return contrast[static_cast<size_t>(i) * static_cast<size_t>(columns) +
                        static_cast<size_t>(j)] > threshold;
    };
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) {
            if (!on(i, j))
                continue;
            const int here = i * columns + j;
            const int before[4][2] = {{i, j - 1}, {i - 1, j - 1}, {i - 1, j}, {i - 1, j + 1}};
            for (const auto& b : before) {
                if (b[0] < 0)
                    continue;
                const int bj = (b[1] + columns) % columns;
                if (on(b[0], bj))
                    parent[static_cast<size_t>(find(here))] = find(b[0] * columns + bj);
            }
        }
    }
    // The last column touches the first one.
    for (int i = 0; i < rows; ++i) {
        for (int di = -1; di <= 1; ++di) {
            if (i + di < 0 || i + di >= rows || !on(i, columns - 1) || !on(i + di, 0))
                continue;
            parent[static_cast<size_t>(find(i * columns + columns - 1))] = find((i + di) * columns);
        }
    }
    std::vector<int> labels(contrast.size(), -1);
    std::map<int, int> numbers;
    for (int k = 0; k < static_cast<int>(contrast.size()); ++k) {
        if (contrast[static_cast<size_t>(k)] <= threshold)
            continue;
        const int root = find(k);
        const auto it = numbers.emplace(root, static_cast<int>(numbers.size())).first;
        labels[static_cast<size_t>(k)] = it->second;
    }
    *count = static_cast<int>(numbers.size());
    return labels;
}

// What a group of samples is like as a stroke.
struct SStroke {
    bool valid = false;  // a group of three rows or more
    double clockDegrees = 0;
    double inner = 0, outer = 0;  // radii of its ends
    double width = 0;             // mean width across, in pixels
    bool radial = false;
    int firstRow = 0, lastRow = 0;
    int middleColumn = 0;
};

struct SRowSum {
    double weight = 0, weighted = 0;  // sums of contrast, and of contrast times the column offset
    int samples = 0;
};

std::vector<SStroke> Strokes(const SPolarDial& polar, const std::vector<float>& contrast,
                             const std::vector<int>& labels, int count) {
    const int n = polar.columns;
    std::vector<int> reference(static_cast<size_t>(count), -1);
    std::vector<std::map<int, SRowSum>> rows(static_cast<size_t>(count));
    for (int i = 0; i < polar.rows; ++i) {
        for (int j = 0; j < n; ++j) {
            const size_t k =
                static_cast<size_t>(i) * static_cast<size_t>(n) + static_cast<size_t>(j);
            const int label = labels[k];
            if (label < 0)
                continue;
            int& ref = reference[static_cast<size_t>(label)];
            if (ref < 0)
                ref = j;
            // Columns counted from the group's first one, across the top of the circle too.
            const int offset = ((j - ref + n / 2) % n + n) % n - n / 2;
            SRowSum& row = rows[static_cast<size_t>(label)][i];
            row.weight += contrast[k];
            row.weighted += contrast[k] * offset;
            row.samples += 1;
        }
    }
    const double columnRadians = 2 * kPi / n;
    std::vector<SStroke> strokes(static_cast<size_t>(count));
    for (int label = 0; label < count; ++label) {
        const auto& byRow = rows[static_cast<size_t>(label)];
        if (byRow.size() < 3)
            continue;
        SStroke& s = strokes[static_cast<size_t>(label)];
        s.valid = true;
        s.firstRow = byRow.begin()->first;
        s.lastRow = byRow.rbegin()->first;
        s.inner = polar.Radius(byRow.begin()->first) - polar.rowStep / 2;
        s.outer = polar.Radius(byRow.rbegin()->first) + polar.rowStep / 2;
        // The centre line across each row, then a straight line through them: a radial stroke
        // keeps its direction along its length.
        double weight = 0, weighted = 0, widths = 0;
        std::vector<std::pair<double, double>> across;  // radius, offset in pixels
        for (const auto& [i, row] : byRow) {
            const double r = polar.Radius(i);
            const double column = row.weighted / row.weight;
            across.emplace_back(r, column * columnRadians * r);
            weight += row.weight;
            weighted += row.weighted;
            widths += row.samples * columnRadians * r;
        }
        s.width = widths / static_cast<double>(byRow.size());
        double mr = 0, mo = 0;
        for (const auto& [r, o] : across) {
            mr += r;
            mo += o;
        }
        mr /= static_cast<double>(across.size());
        mo /= static_cast<double>(across.size());
        double srr = 0, sro = 0;
        for (const auto& [r, o] : across) {
            srr += (r - mr) * (r - mr);
            sro += (r - mr) * (o - mo);
        }
        const double slope = srr > 0 ? sro / srr : 0;
        double spread = 0;
        for (const auto& [r, o] : across) {
            const double e = o - (mo + slope * (r - mr));
            spread += e * e;
        }
        spread = std::sqrt(spread / static_cast<double>(across.size()));
        const double length = s.outer - s.inner;
        s.radial =
            std::fabs(slope) <= 0.2 && spread <= 0.5 + 0.15 * s.width && length >= 2 * s.width;
        const double column = reference[static_cast<size_t>(label)] + weighted / weight;
        s.clockDegrees = std::fmod(column * 360.0 / n + 360.0, 360.0);
        s.middleColumn = (static_cast<int>(std::lround(column)) % n + n) % n;
    }
    return strokes;
}

// Ink of the size of a glyph that is no radial stroke. A needle's shadow is longer, and
// need not point at the pivot.
bool IsWriting(const SStroke& s, double longest) {
    return !s.valid || (!s.radial && s.outer - s.inner < longest);
}

// Whether, beside a radial stroke and at its radii, there lies writing within `reach` pixels
// on most rows: the other digits of a number beside its ones. The ticks of a scale have only
// each other beside them.
bool HasWritingBeside(const SPolarDial& polar, const std::vector<int>& labels,
                      const std::vector<SStroke>& strokes, int label, double reach,
                      double longest) {
    const SStroke& stroke = strokes[static_cast<size_t>(label)];
    const int n = polar.columns;
    const double columnRadians = 2 * kPi / n;
    int rowsWithWriting = 0;
    for (int i = stroke.firstRow; i <= stroke.lastRow; ++i) {
        const int reachColumns =
            static_cast<int>(std::ceil(reach / (std::max(polar.Radius(i), 1.0) * columnRadians)));
        bool writing = false;
        for (int side = -1; side <= 1 && !writing; side += 2) {
            int j = stroke.middleColumn, beyond = 0;
            for (int step = 0; step < n / 4 && beyond <= reachColumns;
                 ++step, j = ((j + side) % n + n) % n) {
                const int other = labels[static_cast<size_t>(i) * static_cast<size_t>(n) +
                                         static_cast<size_t>(j)];
                if (other == label)
                    continue;
                ++beyond;
                if (other >= 0 && IsWriting(strokes[static_cast<size_t>(other)], longest)) {
                    writing = true;
                    break;
                }
            }
        }
        rowsWithWriting += writing ? 1 : 0;
    }
    return rowsWithWriting * 10 >= (stroke.lastRow - stroke.firstRow + 1) * 3;
}

// The radius most of `ends` lie at (within the tolerance) and how many lie there.
std::pair<double, int> CommonRadius(const std::vector<double>& ends, double tolerance) {
    double best = 0;
    int most = 0;
    for (double candidate : ends) {
        int n = 0;
        double sum = 0;
        for (double e : ends) {
            if (std::fabs(e - candidate) <= tolerance) {
                ++n;
                sum += e;
            }
        }
        if (n > most) {
            most = n;
            best = sum / n;
        }
    }
    return {best, most};
}

void SortOutLengths(std::vector<STick>& ticks) {
    std::vector<double> lengths;
    for (const STick& t : ticks)
        lengths.push_back(t.outer - t.inner);
    std::sort(lengths.begin(), lengths.end());
    // Each length a good share of the ticks: a tick cut short by a number is no third kind.
    const size_t fewest = std::max<size_t>(2, (lengths.size() + 9) / 10);
    double split = 0, ratio = 1.3;
    for (size_t i = fewest - 1; i + fewest < lengths.size(); ++i) {
        if (lengths[i] > 0 && lengths[i + 1] / lengths[i] >= ratio) {
            ratio = lengths[i + 1] / lengths[i];
            split = (lengths[i] + lengths[i + 1]) / 2;
        }
    }
    for (STick& t : ticks)
        t.length = t.outer - t.inner < split ? ETickLength::Short : ETickLength::Long;
}

}  // namespace

SRadialStrokes FindRadialStrokes(const SRgbaPicture& dial, SPoint pivot) {
    SRadialStrokes found;
    if (dial.Empty())
        return found;
    const double radius = std::min(dial.width, dial.height) / 2.0 +
                          Distance(pivot, {dial.width / 2.0, dial.height / 2.0});
    const SPolarDial polar = ResampleAround(dial, pivot, 0.12 * radius, radius);
    const SContrast contrast = StrokeContrast(polar, radius);
    // The scale is drawn either lighter or darker than its face; the other way round are its
    // strokes' outlines and shadows.
    const float brightTop = HighValue(contrast.bright, 0.999);
    const float darkTop = HighValue(contrast.dark, 0.999);
    const std::vector<float>& strokes = brightTop >= darkTop ? contrast.bright : contrast.dark;
    const float threshold =
        std::max(kLeastContrast, static_cast<float>(kContrastShare * std::max(brightTop, darkTop)));
    int count = 0;
    const std::vector<int> labels = Label(strokes, polar.rows, polar.columns, threshold, &count);

    const std::vector<SStroke> all = Strokes(polar, strokes, labels, count);
    std::vector<SStroke> candidates;
    for (int label = 0; label < count; ++label) {
        const SStroke& s = all[static_cast<size_t>(label)];
        if (!s.valid || !s.radial)
            continue;
        if (s.outer - s.inner >= kTickLengthShare * radius) {
            if (s.inner <= 0.35 * radius)
                found.needles.push_back(s.clockDegrees);
            continue;
        }
        if (!HasWritingBeside(polar, labels, all, label,
                              std::max(2.5 * s.width, kWritingReachShare * radius),
                              kTickLengthShare * radius))
            candidates.push_back(s);
    }
    // The ticks of a scale end on one circle, outside or inside; a digit's stroke does not.
    std::vector<double> outer, inner;
    for (const SStroke& s : candidates) {
        outer.push_back(s.outer);
        inner.push_back(s.inner);
    }
    const double tolerance = std::max(kEndTolerance, kEndToleranceShare * radius);
    const auto [outerRadius, outerCount] = CommonRadius(outer, tolerance);
    const auto [innerRadius, innerCount] = CommonRadius(inner, tolerance);
    const bool byOuter = outerCount >= innerCount;
    // Fewer make no scale.
    if (std::max(outerCount, innerCount) < 3)
        return found;
    for (const SStroke& s : candidates) {
        const double end = byOuter ? s.outer : s.inner;
        if (std::fabs(end - (byOuter ? outerRadius : innerRadius)) <= tolerance)
            found.ticks.push_back({s.clockDegrees, s.inner, s.outer, ETickLength::Long});
    }
    SortOutLengths(found.ticks);
    std::sort(found.ticks.begin(), found.ticks.end(),
              [](const STick& a, const STick& b) { return a.clockDegrees < b.clockDegrees; });
    return found;
}

std::optional<STick> NearestTick(const std::vector<STick>& ticks, double clockDegrees,
                                 double within) {
    std::optional<STick> nearest;
    double gap = within;
    for (const STick& t : ticks) {
        const double d = std::fabs(DirectionDifference(clockDegrees, t.clockDegrees));
        if (d <= gap) {
            gap = d;
            nearest = t;
        }
    }
    return nearest;
}

}  // namespace workshop
