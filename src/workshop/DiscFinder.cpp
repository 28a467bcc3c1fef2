#include "workshop/DiscFinder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "workshop/CircleFit.h"
#include "workshop/DialGeometry.h"

namespace workshop {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The edge search works on a reduced copy: enough for the circle, fast for a large photo.
constexpr int kSearchSide = 400;
// An edge is a change of this much between samples 2 pixels apart (colour distance).
constexpr double kEdgeStep = 28.0;
// The share of the rays that must cross the circle's edge.
constexpr double kRoundShare = 0.6;

// A picture as three colour planes, each pixel's centre at (x + 0.5, y + 0.5).
struct SPlanes {
    int width = 0;
    int height = 0;
    std::vector<std::array<float, 3>> rgb;

    const std::array<float, 3>& At(int x, int y) const {
        return rgb[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
    bool Inside(double x, double y) const {
        return x >= 0.5 && y >= 0.5 && x <= width - 0.5 && y <= height - 0.5;
    }
    // Bilinear, for a point inside the pixel centres' hull.
    std::array<float, 3> Sample(double x, double y) const {
        const double fx = x - 0.5, fy = y - 0.5;
        const int x0 = std::clamp(static_cast<int>(fx), 0, width - 1);
        const int y0 = std::clamp(static_cast<int>(fy), 0, height - 1);
        const int x1 = std::min(x0 + 1, width - 1), y1 = std::min(y0 + 1, height - 1);
        const float ax = static_cast<float>(fx - x0), ay = static_cast<float>(fy - y0);
        std::array<float, 3> out{};
        for (size_t c = 0; c < 3; ++c) {
            const float top = At(x0, y0)[c] + (At(x1, y0)[c] - At(x0, y0)[c]) * ax;
            const float bottom = At(x0, y1)[c] + (At(x1, y1)[c] - At(x0, y1)[c]) * ax;
            out[c] = top + (bottom - top) * ay;
        }
        return out;
    }
};

// The picture's own pixels, read where the reduced copy is not precise enough.
struct SPictureSampler {
    const SRgbaPicture& picture;
    int width;
    int height;

    explicit SPictureSampler(const SRgbaPicture& p)
        : picture(p), width(p.width), height(p.height) {}
    bool Inside(double x, double y) const {
        return x >= 0.5 && y >= 0.5 && x <= width - 0.5 && y <= height - 0.5;
    }
    std::array<float, 3> Sample(double x, double y) const {
        const double fx = x - 0.5, fy = y - 0.5;
        const int x0 = std::clamp(static_cast<int>(fx), 0, width - 1);
        const int y0 = std::clamp(static_cast<int>(fy), 0, height - 1);
        const int x1 = std::min(x0 + 1, width - 1), y1 = std::min(y0 + 1, height - 1);
        const float ax = static_cast<float>(fx - x0), ay = static_cast<float>(fy - y0);
        std::array<float, 3> out{};
        for (size_t c = 0; c < 3; ++c) {
            const float top = picture.Pixel(x0, y0)[c] +
                              (picture.Pixel(x1, y0)[c] - picture.Pixel(x0, y0)[c]) * ax;
            const float bottom = picture.Pixel(x0, y1)[c] +
                                 (picture.Pixel(x1, y1)[c] - picture.Pixel(x0, y1)[c]) * ax;
            out[c] = top + (bottom - top) * ay;
        }
        return out;
    }
};

double ColourDistance(const std::array<float, 3>& a, const std::array<float, 3>& b) {
    const double r = a[0] - b[0], g = a[1] - b[1], bl = a[2] - b[2];
    return std::sqrt(r * r + g * g + bl * bl);
}

// Blocks of `factor` x `factor` pixels averaged; the leftover edge pixels are dropped.
SPlanes Reduce(const SRgbaPicture& picture, int factor) {
    SPlanes out;
    out.width = std::max(1, picture.width / factor);
    out.height = std::max(1, picture.height / factor);
    out.rgb.assign(static_cast<size_t>(out.width) * static_cast<size_t>(out.height), {});
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            std::array<float, 3> sum{};
            int n = 0;
            for (int dy = 0; dy < factor && y * factor + dy < picture.height; ++dy) {
                for (int dx = 0; dx < factor && x * factor + dx < picture.width; ++dx) {
                    const uint8_t* p = picture.Pixel(x * factor + dx, y * factor + dy);
                    for (size_t c = 0; c < 3; ++c)
                        sum[c] += p[c];
                    ++n;
                }
            }
            auto& o = out.rgb[static_cast<size_t>(y) * static_cast<size_t>(out.width) +
                              static_cast<size_t>(x)];
            for (size_t c = 0; c < 3; ++c)
                o[c] = sum[c] / static_cast<float>(n);
        }
    }
    return out;
}

// With a transparent surround: the circle around the opaque pixels' bounds, each side placed
// within its pixel by how much of the outermost pixel the shape covers.
std::optional<SDisc> DiscOfOpaquePixels(const SRgbaPicture& picture) {
    const size_t pixels = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
    size_t clear = 0;
    std::vector<int> columnMax(static_cast<size_t>(picture.width), 0);
    std::vector<int> rowMax(static_cast<size_t>(picture.height), 0);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int a = picture.Pixel(x, y)[3];
            clear += a < 128 ? 1 : 0;
            columnMax[static_cast<size_t>(x)] = std::max(columnMax[static_cast<size_t>(x)], a);
            rowMax[static_cast<size_t>(y)] = std::max(rowMax[static_cast<size_t>(y)], a);
        }
    }
    if (clear * 100 < pixels)
        return std::nullopt;
    // The first and last lines with anything opaque, and where the shape's edge lies in them.
    const auto bounds =
        [](const std::vector<int>& profile) -> std::optional<std::pair<double, double>> {
        size_t first = 0;
        while (first < profile.size() && profile[first] == 0)
            ++first;
        if (first == profile.size())
            return std::nullopt;
        size_t last = profile.size() - 1;
        while (profile[last] == 0)
            --last;
        return std::pair{first + 1.0 - profile[first] / 255.0, last + profile[last] / 255.0};
    };
    const auto across = bounds(columnMax);
    const auto down = bounds(rowMax);
    if (!across || !down)
        return std::nullopt;
    SDisc disc;
    disc.cx = (across->first + across->second) / 2.0;
    disc.cy = (down->first + down->second) / 2.0;
    disc.radius = std::max(across->second - across->first, down->second - down->first) / 2.0;
    disc.source = EDiscSource::Transparency;
    return disc;
}

// Centres that many edges point at: each edge pixel votes along its gradient, both ways,
// for every distance a disc's radius may have. A round outline and the dial's concentric
// rings all vote for its centre.
std::vector<SPoint> CentreCandidates(const SPlanes& p) {
    const int w = p.width, h = p.height;
    std::vector<float> votes(static_cast<size_t>(w) * static_cast<size_t>(h), 0.0f);
    std::vector<float> magnitudes;
    struct SEdge {
        int x, y;
        float dx, dy, magnitude;
    };
    std::vector<SEdge> edges;
    for (int y = 1; y + 1 < h; ++y) {
        for (int x = 1; x + 1 < w; ++x) {
            double best = 0, bx = 0, by = 0;
            for (size_t c = 0; c < 3; ++c) {
                const auto v = [&](int dx, int dy) {
                    return static_cast<double>(p.At(x + dx, y + dy)[c]);
                };
                const double gx =
                    v(1, -1) + 2 * v(1, 0) + v(1, 1) - v(-1, -1) - 2 * v(-1, 0) - v(-1, 1);
                const double gy =
                    v(-1, 1) + 2 * v(0, 1) + v(1, 1) - v(-1, -1) - 2 * v(0, -1) - v(1, -1);
                const double m = gx * gx + gy * gy;
                if (m > best) {
                    best = m;
                    bx = gx;
                    by = gy;
                }
            }
            const double m = std::sqrt(best);
            // A Sobel step of one level reads 4.
            if (m >= 4 * kEdgeStep)
                edges.push_back({x, y, static_cast<float>(bx / m), static_cast<float>(by / m),
                                 static_cast<float>(m)});
        }
    }
    const double shortSide = std::min(w, h);
    const int reachMin = std::max(3, static_cast<int>(0.05 * shortSide));
    const int reachMax = static_cast<int>(0.55 * shortSide);
    for (const SEdge& e : edges) {
        for (int side = -1; side <= 1; side += 2) {
            for (int t = reachMin; t <= reachMax; ++t) {
                const int x = static_cast<int>(std::lround(e.x + side * t * e.dx));
                const int y = static_cast<int>(std::lround(e.y + side * t * e.dy));
                if (x < 0 || y < 0 || x >= w || y >= h)
                    break;
                votes[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] +=
                    1.0f;
            }
        }
    }
    // Smoothed over 5 x 5, so that a centre's votes scattered by a pixel count together.
    std::vector<float> smooth(votes.size(), 0.0f);
    for (int y = 2; y + 2 < h; ++y) {
        for (int x = 2; x + 2 < w; ++x) {
            float sum = 0;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    sum += votes[static_cast<size_t>(y + dy) * static_cast<size_t>(w) +
                                 static_cast<size_t>(x + dx)];
            smooth[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = sum;
        }
    }
    // The strongest peaks, each the highest within a twentieth of the picture around it.
    const int apart = std::max(3, static_cast<int>(0.05 * shortSide));
    std::vector<SPoint> peaks;
    std::vector<float> taken = smooth;
    for (int k = 0; k < 6; ++k) {
        const auto top = std::max_element(taken.begin(), taken.end());
        if (*top <= 0)
            break;
        if (!peaks.empty() &&
            *top < 0.15f * smooth[static_cast<size_t>(static_cast<long>(peaks.front().y) * w +
                                                      static_cast<long>(peaks.front().x))])
            break;
        const long i = top - taken.begin();
        const int px = static_cast<int>(i % w), py = static_cast<int>(i / w);
        peaks.push_back({static_cast<double>(px), static_cast<double>(py)});
        for (int y = std::max(0, py - apart); y <= std::min(h - 1, py + apart); ++y)
            for (int x = std::max(0, px - apart); x <= std::min(w - 1, px + apart); ++x)
                taken[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = 0;
    }
    // Pixel indices to pixel centres.
    for (SPoint& peak : peaks) {
        peak.x += 0.5;
        peak.y += 0.5;
    }
    return peaks;
}

// Where each of `rays` rays from the centre crosses an edge: for each ray, the radii of the
// peaks of colour change along it.
struct SRayEdges {
    std::vector<std::vector<double>> radii;  // per ray
    std::vector<double> reach;               // per ray, how far it stays inside the picture
};

template <class Source>
SRayEdges EdgesAlongRays(const Source& p, SPoint centre, int rays, double from, double to,
                         double step) {
    SRayEdges out;
    out.radii.resize(static_cast<size_t>(rays));
    out.reach.resize(static_cast<size_t>(rays));
    for (int k = 0; k < rays; ++k) {
        const double a = 2 * kPi * k / rays;
        const double dx = std::sin(a), dy = -std::cos(a);
        std::vector<std::array<float, 3>> colours;
        double r = from - 1.0;
        for (; r <= to + 1.0; r += step) {
            const double x = centre.x + r * dx, y = centre.y + r * dy;
            if (!p.Inside(x, y))
                break;
            colours.push_back(p.Sample(x, y));
        }
        out.reach[static_cast<size_t>(k)] = r - 1.0;
        const int span = static_cast<int>(std::lround(1.0 / step));
        std::vector<double> change(colours.size(), 0.0);
        for (size_t i = static_cast<size_t>(span); i + static_cast<size_t>(span) < colours.size();
             ++i)
            change[i] = ColourDistance(colours[i + static_cast<size_t>(span)],
                                       colours[i - static_cast<size_t>(span)]);
        for (size_t i = 1; i + 1 < change.size(); ++i) {
            if (change[i] >= kEdgeStep && change[i] >= change[i - 1] && change[i] > change[i + 1]) {
                // The peak placed between the samples by the parabola through three of them.
                const double denominator = change[i - 1] - 2 * change[i] + change[i + 1];
                const double offset =
                    denominator < 0 ? 0.5 * (change[i - 1] - change[i + 1]) / denominator : 0.0;
                out.radii[static_cast<size_t>(k)].push_back(
                    from - 1.0 + (static_cast<double>(i) + offset) * step);
            }
        }
    }
    return out;
}

struct SRoundEdge {
    double radius = 0;
    double share = 0;  // of the rays that reach it, those that cross an edge there
};

// The largest radius at which most rays cross an edge, within a pixel and a half.
std::optional<SRoundEdge> OutermostRoundEdge(const SRayEdges& edges, double from, double to) {
    const int bins = static_cast<int>(to) + 2;
    std::vector<int> crossing(static_cast<size_t>(bins), 0), reaching(static_cast<size_t>(bins), 0);
    for (size_t k = 0; k < edges.radii.size(); ++k) {
        std::vector<char> marked(static_cast<size_t>(bins), 0);
        for (double r : edges.radii[k]) {
            for (int b = static_cast<int>(std::floor(r - 1.5));
                 b <= static_cast<int>(std::floor(r + 1.5)); ++b)
                if (b >= 0 && b < bins)
                    marked[static_cast<size_t>(b)] = 1;
        }
        for (int b = 0; b < bins; ++b) {
            crossing[static_cast<size_t>(b)] += marked[static_cast<size_t>(b)];
            reaching[static_cast<size_t>(b)] += edges.reach[k] >= b + 1 ? 1 : 0;
        }
    }
    const int rays = static_cast<int>(edges.radii.size());
    for (int b = std::min(bins - 1, static_cast<int>(to)); b >= static_cast<int>(from); --b) {
        const int reach = reaching[static_cast<size_t>(b)];
        if (reach * 2 < rays)
            continue;
        const double share = static_cast<double>(crossing[static_cast<size_t>(b)]) / reach;
        if (share >= kRoundShare) {
            // The middle of the run of radii the edge covers.
            int top = b;
            while (top > 0 &&
                   crossing[static_cast<size_t>(top - 1)] >= crossing[static_cast<size_t>(b)])
                --top;
            return SRoundEdge{(b + top) / 2.0 + 0.5, share};
        }
    }
    return std::nullopt;
}

// The points where the rays cross the edge nearest `radius`, within `tolerance`.
std::vector<SPoint> PointsNear(const SRayEdges& edges, SPoint centre, double radius,
                               double tolerance) {
    std::vector<SPoint> points;
    const int rays = static_cast<int>(edges.radii.size());
    for (int k = 0; k < rays; ++k) {
        double best = -1, gap = tolerance;
        for (double r : edges.radii[static_cast<size_t>(k)]) {
            if (std::fabs(r - radius) <= gap) {
                gap = std::fabs(r - radius);
                best = r;
            }
        }
        if (best > 0) {
            const double a = 2 * kPi * k / rays;
            points.push_back({centre.x + best * std::sin(a), centre.y - best * std::cos(a)});
        }
    }
    return points;
}

// The round edge around a candidate centre, its centre and radius fitted to the crossings.
std::optional<SDisc> RoundEdgeAround(const SPlanes& p, SPoint centre) {
    const double shortSide = std::min(p.width, p.height);
    const double from = std::max(3.0, 0.05 * shortSide);
    const double to = 0.55 * std::max(p.width, p.height);
    std::optional<SDisc> disc;
    for (int pass = 0; pass < 3; ++pass) {
        const SRayEdges edges = EdgesAlongRays(p, centre, 240, from, to, 0.5);
        const std::optional<SRoundEdge> round = OutermostRoundEdge(edges, from, to);
        if (!round)
            return disc;
        const std::optional<SCircle> fitted = FitCircle(
            PointsNear(edges, centre, round->radius, std::max(2.0, 0.03 * round->radius)));
        if (!fitted)
            return disc;
        centre = {fitted->cx, fitted->cy};
        disc = SDisc{fitted->cx, fitted->cy, fitted->radius, EDiscSource::Edge};
    }
    return disc;
}

// The edge found on the reduced copy, placed again on the picture's own pixels.
SDisc Sharpen(const SRgbaPicture& picture, const SDisc& rough) {
    const SPictureSampler full(picture);
    const double tolerance = std::max(3.0, 0.02 * rough.radius);
    const SPoint centre{rough.cx, rough.cy};
    const SRayEdges edges =
        EdgesAlongRays(full, centre, 720, rough.radius - tolerance, rough.radius + tolerance, 0.25);
    const std::optional<SCircle> fitted =
        FitCircle(PointsNear(edges, centre, rough.radius, tolerance));
    if (!fitted || std::fabs(fitted->radius - rough.radius) > tolerance)
        return rough;
    return SDisc{fitted->cx, fitted->cy, fitted->radius, EDiscSource::Edge};
}

}  // namespace

SDisc FindDisc(const SRgbaPicture& picture) {
    SDisc inscribed{picture.width / 2.0, picture.height / 2.0,
                    std::min(picture.width, picture.height) / 2.0, EDiscSource::Inscribed};
    if (picture.Empty())
        return inscribed;
    if (const std::optional<SDisc> opaque = DiscOfOpaquePixels(picture))
        return *opaque;
    const int factor =
        std::max(1, (std::max(picture.width, picture.height) + kSearchSide - 1) / kSearchSide);
    const SPlanes reduced = Reduce(picture, factor);
    std::optional<SDisc> best;
    for (const SPoint& candidate : CentreCandidates(reduced)) {
        const std::optional<SDisc> disc = RoundEdgeAround(reduced, candidate);
        if (disc && (!best || disc->radius > best->radius))
            best = disc;
    }
    if (!best)
        return inscribed;
    // Reduced pixel (i) covers the picture's pixels i * factor to (i + 1) * factor.
    SDisc found{best->cx * factor, best->cy * factor, best->radius * factor, EDiscSource::Edge};
    return factor > 1 ? Sharpen(picture, found) : found;
}

}  // namespace workshop
