#pragma once

#include <functional>
#include <map>

// Where the workshop's controls go in its window, for every host alike: three columns (the
// picture and the dial as sent, the dial drawn large, the calibration), each control as
// large as its text needs in the window's font, the views as large as their pixels need
// at the screen's scale, and the views and the marks' list taking the room that is left.
// Sizes and places are in the host's own units (device-independent pixels for Qt, pixels
// for Win32).
namespace workshoplayout {

struct SSize {
    int width = 0;
    int height = 0;
};

struct SRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct SMeasures {
    // A control's natural size, its caption or items in the window's font with the room
    // its frame, box or arrow takes, as the host's toolkit measures it. Not asked for views
    // or paragraphs, whose size the layout decides.
    std::function<SSize(int id)> natural;
    int lineHeight = 16;      // the font's line spacing
    double pixelScale = 1.0;  // host units to a pixel at 96 DPI
};

struct SLayout {
    std::map<int, SRect> controls;  // by id, every control of res::WorkshopControls()
    SSize minimum;                  // the smallest client area that holds them all
};

// The layout for a client area, never below the minimum: a smaller area is laid out at the
// minimum and clipped by the window.
SLayout LayOut(const SMeasures& measures, SSize client);

// The views' least sizes in pixels at 96 DPI: the calibration view holds the dial drawn
// twice as large with its labels.
SSize PictureViewLeast();
SSize DialViewSize();
SSize CalibrationViewLeast();

}  // namespace workshoplayout
