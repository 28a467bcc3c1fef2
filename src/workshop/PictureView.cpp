#include "workshop/PictureView.h"

#include <algorithm>
#include <cmath>

#include "artwork/Canvas.h"
#include "workshop/ViewPixels.h"

namespace workshop {
namespace {

const artwork::SColour kBackground{90, 90, 94};
const artwork::SColour kCircle{40, 220, 240};

// How near the edge a press takes hold of it, in view pixels.
double EdgeReach(int width, int height) {
    return 4 + 0.015 * std::min(width, height);
}

}  // namespace

void CPictureView::SetPicture(const SRgbaPicture* picture) {
    m_picture = picture;
    Refit();
}

void CPictureView::Resize(int width, int height) {
    if (width == m_width && height == m_height)
        return;
    m_width = width;
    m_height = height;
    Refit();
}

void CPictureView::Refit() {
    m_fitted = {};
    if (m_picture == nullptr || m_picture->Empty() || m_width <= 0 || m_height <= 0)
        return;
    m_scale = std::min(static_cast<double>(m_width) / m_picture->width,
                       static_cast<double>(m_height) / m_picture->height);
    const int w = std::max(1, static_cast<int>(std::lround(m_picture->width * m_scale)));
    const int h = std::max(1, static_cast<int>(std::lround(m_picture->height * m_scale)));
    m_left = (m_width - w) / 2;
    m_top = (m_height - h) / 2;
    m_fitted = Fitted(*m_picture, w, h);
}

SPoint CPictureView::ToPicture(SPoint view) const {
    return {(view.x - m_left) / m_scale, (view.y - m_top) / m_scale};
}

SPoint CPictureView::ToView(SPoint picture) const {
    return {m_left + picture.x * m_scale, m_top + picture.y * m_scale};
}

SRgbaPicture CPictureView::Draw(const SDisc& disc) const {
    SRgbaPicture view = BlankView(m_width, m_height, kBackground);
    if (m_fitted.Empty())
        return view;
    LayOver(view, m_fitted, static_cast<int>(m_left), static_cast<int>(m_top));
    artwork::CCanvas canvas(view);
    const SPoint centre = ToView({disc.cx, disc.cy});
    const double radius = disc.radius * m_scale;
    const double line = std::max(1.5, 0.004 * std::min(m_width, m_height));
    Ring(canvas, centre, radius, line, kCircle);
    Cross(canvas, centre, 3 * EdgeReach(m_width, m_height) / 2, line, kCircle);
    for (int k = 0; k < 4; ++k) {
        const SPoint handle = PointAt(centre, 90.0 * k, radius);
        canvas.Disc(handle.x, handle.y, EdgeReach(m_width, m_height) / 2 + 1, {20, 20, 20});
        canvas.Disc(handle.x, handle.y, EdgeReach(m_width, m_height) / 2, kCircle);
    }
    return view;
}

EDiscGrip CPictureView::GripAt(const SDisc& disc, SPoint view) const {
    if (m_fitted.Empty())
        return EDiscGrip::None;
    const double fromCentre = Distance(view, ToView({disc.cx, disc.cy}));
    const double radius = disc.radius * m_scale;
    if (std::fabs(fromCentre - radius) <= EdgeReach(m_width, m_height))
        return EDiscGrip::Edge;
    return fromCentre < radius ? EDiscGrip::Move : EDiscGrip::None;
}

}  // namespace workshop
