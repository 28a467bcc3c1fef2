#include "workshop/CircleFit.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace workshop {
namespace {

// Solves the 3 x 3 system m * x = v; nothing when it is singular.
std::optional<std::array<double, 3>> Solve(std::array<std::array<double, 3>, 3> m,
                                           std::array<double, 3> v) {
    for (size_t col = 0; col < 3; ++col) {
        size_t pivot = col;
        for (size_t row = col + 1; row < 3; ++row)
            if (std::fabs(m[row][col]) > std::fabs(m[pivot][col]))
                pivot = row;
        if (std::fabs(m[pivot][col]) < 1e-12)
            return std::nullopt;
        std::swap(m[col], m[pivot]);
        std::swap(v[col], v[pivot]);
        for (size_t row = 0; row < 3; ++row) {
            if (row == col)
                continue;
            const double f = m[row][col] / m[col][col];
            for (size_t k = col; k < 3; ++k)
                m[row][k] -= f * m[col][k];
            v[row] -= f * v[col];
        }
    }
    return std::array<double, 3>{v[0] / m[0][0], v[1] / m[1][1], v[2] / m[2][2]};
}

// The algebraic fit (x² + y² + Dx + Ey + F = 0), a good start for the geometric one.
std::optional<SCircle> AlgebraicFit(const std::vector<SPoint>& points) {
    double mx = 0, my = 0;
    for (const SPoint& p : points) {
        mx += p.x;
        my += p.y;
    }
    mx /= static_cast<double>(points.size());
    my /= static_cast<double>(points.size());
    std::array<std::array<double, 3>, 3> m{};
    std::array<double, 3> v{};
    for (const SPoint& p : points) {
        const double x = p.x - mx, y = p.y - my, z = x * x + y * y;
        const std::array<double, 3> row{x, y, 1.0};
        for (size_t i = 0; i < 3; ++i) {
            for (size_t j = 0; j < 3; ++j)
                m[i][j] += row[i] * row[j];
            v[i] -= row[i] * z;
        }
    }
    const auto s = Solve(m, v);
    if (!s)
        return std::nullopt;
    const double cx = -(*s)[0] / 2, cy = -(*s)[1] / 2;
    const double r2 = cx * cx + cy * cy - (*s)[2];
    if (!(r2 > 0))
        return std::nullopt;
    return SCircle{cx + mx, cy + my, std::sqrt(r2)};
}

// Gauss-Newton steps on the distances from the circle.
SCircle GeometricFit(const std::vector<SPoint>& points, SCircle c) {
    for (int step = 0; step < 10; ++step) {
        std::array<std::array<double, 3>, 3> m{};
        std::array<double, 3> v{};
        for (const SPoint& p : points) {
            const double d = std::hypot(p.x - c.cx, p.y - c.cy);
            if (d < 1e-9)
                continue;
            const std::array<double, 3> j{-(p.x - c.cx) / d, -(p.y - c.cy) / d, -1.0};
            const double residual = d - c.radius;
            for (size_t a = 0; a < 3; ++a) {
                for (size_t b = 0; b < 3; ++b)
                    m[a][b] += j[a] * j[b];
                v[a] -= j[a] * residual;
            }
        }
        const auto delta = Solve(m, v);
        if (!delta)
            break;
        c.cx += (*delta)[0];
        c.cy += (*delta)[1];
        c.radius += (*delta)[2];
        if (std::fabs((*delta)[0]) + std::fabs((*delta)[1]) + std::fabs((*delta)[2]) < 1e-6)
            break;
    }
    return c;
}

}  // namespace

std::optional<SCircle> FitCircle(const std::vector<SPoint>& points) {
    constexpr size_t kFewest = 8;
    if (points.size() < kFewest)
        return std::nullopt;
    std::optional<SCircle> first = AlgebraicFit(points);
    if (!first)
        return std::nullopt;
    std::vector<double> residuals;
    for (const SPoint& p : points)
        residuals.push_back(
            std::fabs(std::hypot(p.x - first->cx, p.y - first->cy) - first->radius));
    std::vector<double> sorted = residuals;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(sorted.size() / 2),
                     sorted.end());
    const double limit = std::max(3.0 * sorted[sorted.size() / 2], 0.5);
    std::vector<SPoint> kept;
    for (size_t i = 0; i < points.size(); ++i)
        if (residuals[i] <= limit)
            kept.push_back(points[i]);
    if (kept.size() < kFewest)
        return std::nullopt;
    const std::optional<SCircle> second = AlgebraicFit(kept);
    if (!second)
        return std::nullopt;
    const SCircle fitted = GeometricFit(kept, *second);
    if (!(fitted.radius > 0) || !std::isfinite(fitted.cx) || !std::isfinite(fitted.cy))
        return std::nullopt;
    return fitted;
}

}  // namespace workshop
