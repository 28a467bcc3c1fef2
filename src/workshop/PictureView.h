#pragma once

#include "dial/RgbaPicture.h"
#include "workshop/DialGeometry.h"
#include "workshop/DiscFinder.h"

namespace workshop {

// What a press on the picture view takes hold of.
enum class EDiscGrip {
    None,
    Move,  // inside the circle: it moves with the pointer
    Edge,  // on its edge: the radius follows the pointer
};

// The opened picture fitted into its view, with the disc drawn over it as a circle with its
// centre and four handles on its edge; and the way between the view's pixels and the
// picture's.
class CPictureView {
public:
    // The picture it shows lives as long as the view shows it.
    void SetPicture(const SRgbaPicture* picture);
    void Resize(int width, int height);

    SRgbaPicture Draw(const SDisc& disc) const;

    SPoint ToPicture(SPoint view) const;
    SPoint ToView(SPoint picture) const;
    // How many of the picture's pixels one of the view's spans.
    double PicturePerView() const { return 1.0 / m_scale; }
    EDiscGrip GripAt(const SDisc& disc, SPoint view) const;

private:
    void Refit();

    const SRgbaPicture* m_picture = nullptr;
    int m_width = 0, m_height = 0;
    double m_scale = 1;  // view pixels to a picture pixel
    double m_left = 0, m_top = 0;
    SRgbaPicture m_fitted;
};

}  // namespace workshop
