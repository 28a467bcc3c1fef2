#include "artwork/MonotoneTable.h"

#include <algorithm>
#include <cmath>

#include "angles/NumberText.h"

namespace artwork {
namespace {

std::string MarkText(const SMark& mark) {
    return numtext::FormatG(mark.knots) + ":" + numtext::FormatG(mark.degrees);
}

// Fritsch-Carlson tangents: averaged secants, then limited so that each piece stays
// monotone.
std::vector<double> Tangents(const std::vector<SMark>& marks) {
    const size_t n = marks.size();
    std::vector<double> secant(n - 1);
    for (size_t i = 0; i + 1 < n; ++i)
        secant[i] = (marks[i + 1].degrees - marks[i].degrees) / (marks[i + 1].knots - marks[i].knots);
    std::vector<double> m(n);
    m[0] = secant[0];
    m[n - 1] = secant[n - 2];
    for (size_t i = 1; i + 1 < n; ++i)
        m[i] = (secant[i - 1] + secant[i]) / 2.0;
    for (size_t i = 0; i + 1 < n; ++i) {
        const double a = m[i] / secant[i];
        const double b = m[i + 1] / secant[i];
        const double r = a * a + b * b;
        if (r > 9.0) {
            const double t = 3.0 / std::sqrt(r);
            m[i] = t * a * secant[i];
            m[i + 1] = t * b * secant[i];
        }
    }
    return m;
}

}  // namespace

std::vector<SMark> OrderMarks(std::vector<SMark> marks, std::string* why) {
    std::stable_sort(marks.begin(), marks.end(),
                     [](const SMark& a, const SMark& b) { return a.knots < b.knots; });
    if (marks.empty() || marks.front().knots > 0)
        marks.insert(marks.begin(), SMark{0, 0});
    for (size_t i = 0; i + 1 < marks.size(); ++i) {
        const SMark& a = marks[i];
        const SMark& b = marks[i + 1];
        std::string fault;
        if (a.knots == b.knots)
            fault = "the marks " + MarkText(a) + " and " + MarkText(b) + " give the same speed";
        else if (!(a.degrees < b.degrees))
            fault = "the marks " + MarkText(a) + " and " + MarkText(b) +
                    " do not rise: each angle must be above the one at a lower speed";
        if (!fault.empty()) {
            if (why != nullptr)
                *why = fault;
            return {};
        }
    }
    return marks;
}

double InterpolateMarks(const std::vector<SMark>& marks, double knots) {
    const std::vector<double> m = Tangents(marks);
    size_t i = 0;
    while (i + 2 < marks.size() && knots > marks[i + 1].knots)
        ++i;
    const double h = marks[i + 1].knots - marks[i].knots;
    const double t = (knots - marks[i].knots) / h;
    const double t2 = t * t;
    const double t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * marks[i].degrees + (t3 - 2 * t2 + t) * h * m[i] +
           (-2 * t3 + 3 * t2) * marks[i + 1].degrees + (t3 - t2) * h * m[i + 1];
}

std::vector<double> FillTable(const std::vector<SMark>& marks, int maxKnots) {
    std::vector<double> angles;
    for (int knots = 10; knots <= maxKnots; knots += 10)
        angles.push_back(InterpolateMarks(marks, knots));
    return angles;
}

}  // namespace artwork
