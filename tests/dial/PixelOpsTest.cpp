#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "dial/CImage.h"
#include "dial/PixelOps.h"
#include "support/TestImages.h"

namespace {

std::vector<uint8_t> Bytes(const uint8_t* p, int n) {
    return {p, p + n};
}

// A 32-bit surface of `width` x `height` inside a buffer with a one-pixel frame around it,
// so writes outside the surface show up in the frame.
class CFramedSurface {
public:
    CFramedSurface(int width, int height, uint8_t fill, bool bottomUp = false)
        : m_stride((width + 2) * 4),
          m_height(height),
          m_buffer(size_t(m_stride) * (height + 2), 77) {
        surface.width = width;
        surface.height = height;
        surface.pitch = bottomUp ? -m_stride : m_stride;
        surface.base = bottomUp ? Row(height) + 4 : Row(1) + 4;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint8_t* p = At(x, y);
                p[0] = p[1] = p[2] = fill;
                p[3] = 255;
            }
        }
    }
    uint8_t* At(int x, int y) { return surface.base + y * surface.pitch + x * 4; }
    // True when no byte of the frame changed.
    bool FrameUntouched() const {
        for (int row = 0; row < m_height + 2; ++row) {
            for (int col = 0; col < m_stride; ++col) {
                const bool inside = row >= 1 && row <= m_height && col >= 4 && col < m_stride - 4;
                if (!inside && m_buffer[size_t(row * m_stride + col)] != 77)
                    return false;
            }
        }
        return true;
    }

    SSurface surface;

private:
    uint8_t* Row(int row) { return m_buffer.data() + row * m_stride; }
    int m_stride;
    int m_height;
    std::vector<uint8_t> m_buffer;
};

struct SPixelAt {
    int x, y;
    std::vector<uint8_t> bgra;
};

// Expects each listed pixel of the surface, and the frame around it untouched.
void ExpectPixels(CFramedSurface& target, const std::vector<SPixelAt>& pixels) {
    for (const SPixelAt& p : pixels)
        EXPECT_EQ(Bytes(target.At(p.x, p.y), 4), p.bgra) << "pixel " << p.x << ", " << p.y;
    EXPECT_TRUE(target.FrameUntouched());
}

TEST(PixelOpsTest, PremultiplyScalesColoursByAlphaAndKeepsAlpha) {
    CImage image;
    const std::vector<SBgra> pixels = {{200, 100, 255, 128}, {200, 100, 255, 0},
                                       {200, 100, 255, 255}, {255, 1, 254, 1},
                                       {3, 2, 1, 254},       {255, 255, 255, 127}};
    FillImage(image, 3, 2, 32, [&](int x, int y) { return pixels[size_t(y * 3 + x)]; });
    pixelops::Premultiply(image);
    EXPECT_EQ(Bytes(image.PixelAt(0, 0), 4), (std::vector<uint8_t>{100, 50, 128, 128}));
    EXPECT_EQ(Bytes(image.PixelAt(1, 0), 4), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(Bytes(image.PixelAt(2, 0), 4), (std::vector<uint8_t>{200, 100, 255, 255}));
    // Truncating: 255 * 1 / 255 = 1, 254 * 1 / 255 = 0, 3 * 254 / 255 = 2.
    EXPECT_EQ(Bytes(image.PixelAt(0, 1), 4), (std::vector<uint8_t>{1, 0, 0, 1}));
    EXPECT_EQ(Bytes(image.PixelAt(1, 1), 4), (std::vector<uint8_t>{2, 1, 0, 254}));
    EXPECT_EQ(Bytes(image.PixelAt(2, 1), 4), (std::vector<uint8_t>{127, 127, 127, 127}));

    // A picture without a fourth byte has nothing to premultiply by.
    CImage rgb;
    FillImage(rgb, 2, 1, 24, [](int, int) { return SBgra{9, 8, 7, 0}; });
    pixelops::Premultiply(rgb);
    EXPECT_EQ(Bytes(rgb.PixelAt(1, 0), 3), (std::vector<uint8_t>{9, 8, 7}));
}

TEST(PixelOpsTest, AlphaDrawIsSourceOverWithAPremultipliedSource) {
    CImage image;
    const std::vector<SBgra> pixels = {{100, 50, 128, 128}, {0, 0, 0, 0}, {10, 20, 30, 255}};
    FillImage(image, 3, 1, 32, [&](int x, int) { return pixels[size_t(x)]; });
    ASSERT_TRUE(image.HasAlpha());
    CFramedSurface target(5, 3, 240);
    ASSERT_TRUE(image.Draw(target.surface, 1, 1));
    // 240 * 127 / 255 = 119 in each channel.
    ExpectPixels(target, {{1, 1, {219, 169, 247, 255}}, {2, 1, {240, 240, 240, 255}},
                          {3, 1, {10, 20, 30, 255}}, {0, 1, {240, 240, 240, 255}},
                          {1, 0, {240, 240, 240, 255}}});
}

TEST(PixelOpsTest, DrawWithoutAlphaFlagCopiesOpaque) {
    CImage noFlag;
    ASSERT_TRUE(noFlag.Create(2, 1, 32, false));
    // A fourth byte of 0 must not make the pixel transparent.
    const uint8_t first[4] = {1, 2, 3, 0};
    std::copy(first, first + 4, noFlag.PixelAt(0, 0));
    CImage rgb;
    FillImage(rgb, 2, 1, 24, [](int x, int) { return SBgra{uint8_t(40 + x), 50, 60, 0}; });

    CFramedSurface target(2, 2, 240);
    ASSERT_TRUE(noFlag.Draw(target.surface, 0, 0));
    ASSERT_TRUE(rgb.Draw(target.surface, 0, 1));
    ExpectPixels(target, {{0, 0, {1, 2, 3, 255}}, {1, 0, {0, 0, 0, 255}}, {0, 1, {40, 50, 60, 255}},
                          {1, 1, {41, 50, 60, 255}}});
}

// Each picture pixel (x, y) is opaque and distinct, so the right part must land in the
// right place and nothing outside the surface may change.
TEST(PixelOpsTest, DrawIsClippedAtEverySurfaceEdge) {
    CImage image;
    FillImage(image, 3, 3, 32, [](int x, int y) {
        return SBgra{uint8_t(10 * x + y), uint8_t(y), uint8_t(x), 255};
    });
    for (const bool bottomUp : {false, true}) {
        for (const auto& [x, y] : std::vector<std::pair<int, int>>{
                 {-1, -2}, {3, 2}, {-2, 3}, {2, -1}, {-3, 0}, {4, 4}, {0, 100}, {-100, 0}}) {
            SCOPED_TRACE(::testing::Message()
                         << "at (" << x << ", " << y << ")" << (bottomUp ? " bottom-up" : ""));
            CFramedSurface target(4, 4, 240, bottomUp);
            EXPECT_TRUE(image.Draw(target.surface, x, y));
            for (int ty = 0; ty < 4; ++ty) {
                for (int tx = 0; tx < 4; ++tx) {
                    const int sx = tx - x, sy = ty - y;
                    const bool covered = sx >= 0 && sx < 3 && sy >= 0 && sy < 3;
                    const std::vector<uint8_t> want =
                        covered ? std::vector<uint8_t>{uint8_t(10 * sx + sy), uint8_t(sy),
                                                       uint8_t(sx), 255}
                                : std::vector<uint8_t>{240, 240, 240, 255};
                    ASSERT_EQ(Bytes(target.At(tx, ty), 4), want)
                        << "target (" << tx << ", " << ty << ")";
                }
            }
            EXPECT_TRUE(target.FrameUntouched());
        }
    }
}

TEST(PixelOpsTest, NothingIsDrawnFromAnEmptyContainerOrOntoNoSurface) {
    CImage empty;
    CFramedSurface target(2, 2, 240);
    EXPECT_FALSE(empty.Draw(target.surface, 0, 0));
    EXPECT_EQ(Bytes(target.At(0, 0), 4), (std::vector<uint8_t>{240, 240, 240, 255}));
    pixelops::Premultiply(empty);  // must not touch anything

    CImage image;
    FillImage(image, 1, 1, 32, [](int, int) { return SBgra{1, 2, 3, 255}; });
    SSurface none;
    EXPECT_FALSE(image.Draw(none, 0, 0));
}

}  // namespace
