#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "artwork/PrepareDial.h"

namespace {

using artwork::EFit;
using artwork::SPrepareOptions;

SRgbaPicture Picture(int w, int h, const std::function<std::array<uint8_t, 4>(int, int)>& pixel) {
    SRgbaPicture picture(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::array<uint8_t, 4> p = pixel(x, y);
            std::copy(p.begin(), p.end(), picture.Pixel(x, y));
        }
    }
    return picture;
}

// A white disc on a transparent surround whose hidden colour is black, as drawing programs
// often leave it.
SRgbaPicture WhiteDisc(int side) {
    return Picture(side, side, [side](int x, int y) -> std::array<uint8_t, 4> {
        const double r = std::hypot(x + 0.5 - side / 2.0, y + 0.5 - side / 2.0);
        return r < side * 0.4 ? std::array<uint8_t, 4>{255, 255, 255, 255}
                              : std::array<uint8_t, 4>{0, 0, 0, 0};
    });
}

SRgbaPicture Opaque(int w, int h) {
    return Picture(w, h, [](int x, int y) {
        return std::array<uint8_t, 4>{static_cast<uint8_t>(x / 2), static_cast<uint8_t>(y / 2), 90, 255};
    });
}

SPrepareOptions With(const std::function<void(SPrepareOptions&)>& set) {
    SPrepareOptions options;
    set(options);
    return options;
}

struct SCounts {
    int transparent = 0;  // alpha 0, all channels 0
    int hiddenColour = 0;  // alpha 0 with a colour left in it
    int edge = 0;         // alpha between 0 and 255
    int darkFringe = 0;   // visible but darker than white
};

SCounts Count(const SRgbaPicture& dial) {
    SCounts counts;
    for (size_t i = 0; i < dial.rgba.size(); i += 4) {
        const uint8_t* p = &dial.rgba[i];
        if (p[3] == 0) {
            ++(p[0] == 0 && p[1] == 0 && p[2] == 0 ? counts.transparent : counts.hiddenColour);
        } else {
            counts.edge += p[3] < 255 ? 1 : 0;
            counts.darkFringe += std::min({p[0], p[1], p[2]}) < 250 ? 1 : 0;
        }
    }
    return counts;
}

TEST(PrepareDialTest, WhiteDiscScaledDownKeepsWhiteEdgesOnCleanTransparency) {
    artwork::SPreparedDial out;
    ASSERT_TRUE(artwork::PrepareDial(WhiteDisc(1000), {}, out, nullptr));
    ASSERT_EQ(out.dial.width, 230);
    ASSERT_EQ(out.dial.height, 230);
    const SCounts counts = Count(out.dial);
    EXPECT_GT(counts.edge, 100);  // the edge is smooth
    EXPECT_EQ(counts.darkFringe, 0);
    EXPECT_EQ(counts.hiddenColour, 0);
    EXPECT_GT(counts.transparent, 230 * 230 / 3);
}

TEST(PrepareDialTest, FitCropCircleAndBackgroundPlaceThePixelsThatMatter) {
    const struct {
        const char* name;
        SRgbaPicture art;
        SPrepareOptions options;
        std::function<void(const SRgbaPicture&)> check;
    } cases[] = {
        {"contain leaves bands top and bottom", Opaque(1000, 500), {},
         [](const SRgbaPicture& d) {
             for (int x : {0, 115, 229}) {
                 EXPECT_EQ(d.Pixel(x, 0)[3], 0);
                 EXPECT_EQ(d.Pixel(x, 56)[3], 0);
                 EXPECT_EQ(d.Pixel(x, 60)[3], 255);
                 EXPECT_EQ(d.Pixel(x, 170)[3], 255);
                 EXPECT_EQ(d.Pixel(x, 229)[3], 0);
             }
         }},
        {"cover fills the square", Opaque(1000, 500), With([](auto& o) { o.fit = EFit::Cover; }),
         [](const SRgbaPicture& d) {
             EXPECT_EQ(Count(d).transparent, 0);
             EXPECT_EQ(Count(d).edge, 0);
         }},
        {"crop picks the square out first", Opaque(300, 300), With([](auto& o) { o.crop = artwork::SRect{35, 35, 230, 230}; }),
         [](const SRgbaPicture& d) {
             EXPECT_EQ(d.Pixel(0, 0)[0], 35 / 2);  // the crop's corners, unscaled
             EXPECT_EQ(d.Pixel(229, 229)[1], 264 / 2);
         }},
        {"a crop may reach the right and bottom edges", Opaque(300, 300),
         With([](auto& o) { o.crop = artwork::SRect{70, 70, 230, 230}; }),
         [](const SRgbaPicture& d) {
             EXPECT_EQ(d.Pixel(0, 0)[0], 70 / 2);
             EXPECT_EQ(d.Pixel(229, 229)[1], 299 / 2);
         }},
        {"circle clears the corners and keeps the centre", Opaque(230, 230), With([](auto& o) { o.circle = true; }),
         [](const SRgbaPicture& d) {
             for (auto [x, y] : {std::pair{0, 0}, {229, 0}, {0, 229}, {229, 229}, {30, 30}})
                 EXPECT_EQ(d.Pixel(x, y)[3], 0) << x << "," << y;
             EXPECT_EQ(d.Pixel(115, 115)[3], 255);
             EXPECT_EQ(d.Pixel(115, 115)[0], 115 / 2);
             EXPECT_EQ(d.Pixel(0, 115)[3], 255);
             EXPECT_GT(Count(d).edge, 200);
         }},
        {"a smaller circle", Opaque(230, 230), With([](auto& o) { o.circle = true; o.circleDiameter = 100.0; }),
         [](const SRgbaPicture& d) {
             EXPECT_EQ(d.Pixel(10, 115)[3], 0);
             EXPECT_EQ(d.Pixel(70, 115)[3], 255);
         }},
        {"background flattens the circle's surround", Opaque(230, 230),
         With([](auto& o) { o.circle = true; o.background = std::array<uint8_t, 3>{10, 20, 30}; }),
         [](const SRgbaPicture& d) {
             EXPECT_EQ(d.Pixel(0, 0)[3], 255);
             EXPECT_EQ(d.Pixel(0, 0)[2], 30);
             EXPECT_EQ(d.Pixel(115, 115)[2], 90);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        artwork::SPreparedDial out;
        std::string why;
        ASSERT_TRUE(artwork::PrepareDial(c.art, c.options, out, &why)) << why;
        c.check(out.dial);
    }
}

TEST(PrepareDialTest, ACropOutsideThePictureIsRefused) {
    artwork::SPreparedDial out;
    std::string why;
    SPrepareOptions options;
    options.crop = artwork::SRect{100, 0, 250, 250};
    EXPECT_FALSE(artwork::PrepareDial(Opaque(300, 300), options, out, &why));
    EXPECT_EQ(why, "the crop 100,0,250,250 does not lie inside the picture (300 x 300)");
}

TEST(PrepareDialTest, MergeFoldsNearPixelsIntoTheRunOfThePixelLastKept) {
    // In raster order: 100, 103, 104, 110, 108 in every channel; within 4 of the last kept.
    const uint8_t values[] = {100, 103, 104, 110, 108};
    SRgbaPicture picture(5, 1);
    for (int x = 0; x < 5; ++x)
        std::fill(picture.Pixel(x, 0), picture.Pixel(x, 0) + 4, values[x]);
    EXPECT_EQ(artwork::MergeNearPixels(picture, 4), 4);
    const uint8_t expected[] = {100, 100, 100, 110, 110};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(picture.Pixel(x, 0)[2], expected[x]) << x;
}

}  // namespace
