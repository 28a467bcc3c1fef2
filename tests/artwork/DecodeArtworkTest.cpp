#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "artwork/ArtworkFiles.h"
#include "artwork/DecodeArtwork.h"
#include "dial/PngKinds.h"
#include "support/FileBytes.h"
#include "support/TestImages.h"

namespace {

// Red on the left half, blue on the right, with a white stripe along the top.
SRgbaPicture HalfAndHalf(int width = 32, int height = 16) {
    SRgbaPicture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = picture.Pixel(x, y);
            const bool left = x < width / 2;
            p[0] = y < 4 ? 255 : left ? 220 : 20;
            p[1] = y < 4 ? 255 : 30;
            p[2] = y < 4 ? 255 : left ? 20 : 220;
            p[3] = 255;
        }
    }
    return picture;
}

// HalfAndHalf as a PNG file of this kind: RGB(A) samples scaled to the depth, or a palette.
std::vector<uint8_t> HalfAndHalfPng(int colorType, int bitDepth, bool interlaced = false) {
    SPngKind kind{.width = 32,
                  .height = 16,
                  .colorType = colorType,
                  .bitDepth = bitDepth,
                  .interlaced = interlaced};
    const SRgbaPicture picture = HalfAndHalf();
    const int scale = bitDepth == 16 ? 257 : 1;
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        kind.palette = {{255, 255, 255}, {220, 30, 20}, {20, 30, 220}};
    kind.sample = [picture, scale, colorType](int x, int y) {
        std::array<uint16_t, 4> samples{};
        if (colorType == PNG_COLOR_TYPE_PALETTE) {
            samples[0] = static_cast<uint16_t>(y < 4 ? 0 : x < 16 ? 1 : 2);
            return samples;
        }
        for (size_t c = 0; c < 4; ++c)
            samples[c] = static_cast<uint16_t>(picture.Pixel(x, y)[c] * scale);
        return samples;
    };
    CTempDir dir;
    const std::string path = dir.File("kind.png");
    WritePngKind(path, kind);
    const std::string bytes = ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

using Rgb = std::array<int, 3>;

bool Near(const uint8_t* p, Rgb rgb, int tolerance) {
    for (size_t c = 0; c < 3; ++c) {
        if (std::abs(p[c] - rgb[c]) > tolerance)
            return false;
    }
    return p[3] == 255;
}

TEST(DecodeArtworkTest, EveryFormatAndKindGivesTheSamePicture) {
    const SRgbaPicture picture = HalfAndHalf();
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        int tolerance;
        bool grey;
    } cases[] = {
        {"PNG RGB 8", HalfAndHalfPng(PNG_COLOR_TYPE_RGB, 8), 0, false},
        {"PNG RGBA 16 interlaced", HalfAndHalfPng(PNG_COLOR_TYPE_RGB_ALPHA, 16, true), 0, false},
        {"PNG palette", HalfAndHalfPng(PNG_COLOR_TYPE_PALETTE, 8), 0, false},
        {"JPEG baseline", EncodeJpeg(picture, {JCS_RGB, false, 0}), 16, false},
        {"JPEG progressive", EncodeJpeg(picture, {JCS_RGB, true, 0}), 16, false},
        {"JPEG greyscale", EncodeJpeg(picture, {JCS_GRAYSCALE, false, 0}), 6, true},
        {"JPEG CMYK", EncodeJpeg(picture, {JCS_CMYK, false, 0}), 16, false},
        {"BMP 24", EncodeBmp(picture, 24), 0, false},
        {"BMP 32", EncodeBmp(picture, 32), 0, false},
    };
    for (const auto& c : cases) {
        SRgbaPicture out;
        std::string why;
        ASSERT_TRUE(artwork::DecodeArtwork(c.bytes.data(), c.bytes.size(), out, &why))
            << c.name << ": " << why;
        ASSERT_EQ(out.width, 32) << c.name;
        ASSERT_EQ(out.height, 16) << c.name;
        const Rgb red = c.grey ? Rgb{90, 90, 90} : Rgb{220, 30, 20};
        const Rgb blue = c.grey ? Rgb{90, 90, 90} : Rgb{20, 30, 220};
        EXPECT_TRUE(Near(out.Pixel(4, 12), red, c.tolerance)) << c.name;
        EXPECT_TRUE(Near(out.Pixel(27, 12), blue, c.tolerance)) << c.name;
        EXPECT_TRUE(Near(out.Pixel(16, 1), {255, 255, 255}, c.tolerance)) << c.name;
    }
}

TEST(DecodeArtworkTest, ALargeJpegComesOutReducedNoSmallerThanAsked) {
    const std::vector<uint8_t> jpeg = EncodeJpeg(HalfAndHalf(2000, 1000), {JCS_RGB, false, 0});
    const struct {
        int minSide;
        int width;
    } cases[] = {{0, 2000}, {600, 2000}, {460, 1000}, {250, 500}, {100, 250}};
    for (const auto& c : cases) {
        SRgbaPicture out;
        ASSERT_TRUE(artwork::DecodeArtwork(jpeg.data(), jpeg.size(), out, nullptr, c.minSide));
        EXPECT_EQ(out.width, c.width) << c.minSide;
        EXPECT_EQ(out.height, c.width / 2) << c.minSide;
        EXPECT_TRUE(Near(out.Pixel(out.width / 4, out.height * 3 / 4), {220, 30, 20}, 16));
    }
}

// Where a marked corner of the stored picture shows once the orientation is applied.
enum ECorner { TopLeft, TopRight, BottomLeft, BottomRight };

TEST(DecodeArtworkTest, ExifOrientationTurnsAJpegUpright) {
    // Stored 40 x 24: red block in the stored top-left corner, green in the top-right.
    SRgbaPicture stored(40, 24);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 40; ++x) {
            uint8_t* p = stored.Pixel(x, y);
            const bool top = y < 8;
            p[0] = top && x < 8 ? 255 : 0;
            p[1] = top && x >= 32 ? 255 : 0;
            p[3] = 255;
        }
    }
    const struct {
        int orientation;
        bool sidesSwapped;
        ECorner red;
        ECorner green;
    } cases[] = {
        {1, false, TopLeft, TopRight},       {2, false, TopRight, TopLeft},
        {3, false, BottomRight, BottomLeft}, {4, false, BottomLeft, BottomRight},
        {5, true, TopLeft, BottomLeft},      {6, true, TopRight, BottomRight},
        {7, true, BottomRight, TopRight},    {8, true, BottomLeft, TopLeft},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> jpeg = EncodeJpeg(stored, {JCS_RGB, false, c.orientation});
        SRgbaPicture out;
        ASSERT_TRUE(artwork::DecodeArtwork(jpeg.data(), jpeg.size(), out, nullptr));
        ASSERT_EQ(out.width, c.sidesSwapped ? 24 : 40) << c.orientation;
        const auto at = [&out](ECorner corner) {
            const bool right = corner == TopRight || corner == BottomRight;
            const bool bottom = corner == BottomLeft || corner == BottomRight;
            return out.Pixel(right ? out.width - 3 : 2, bottom ? out.height - 3 : 2);
        };
        EXPECT_GT(at(c.red)[0], 200) << "orientation " << c.orientation;
        EXPECT_GT(at(c.green)[1], 200) << "orientation " << c.orientation;
    }
}

void SetJpegSize(std::vector<uint8_t>& jpeg, uint16_t width, uint16_t height) {
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<uint8_t>(height);
            jpeg[i + 7] = static_cast<uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<uint8_t>(width);
            return;
        }
    }
}

TEST(DecodeArtworkTest, BadFilesAreRefusedWithWhatIsWrong) {
    const SRgbaPicture picture = HalfAndHalf();
    const std::vector<uint8_t> png = HalfAndHalfPng(PNG_COLOR_TYPE_RGB, 8);
    const std::vector<uint8_t> jpeg = EncodeJpeg(picture, {JCS_RGB, false, 0});
    const std::vector<uint8_t> bmp = EncodeBmp(picture, 24);
    auto changed = [](std::vector<uint8_t> bytes,
                      const std::function<void(std::vector<uint8_t>&)>& change) {
        change(bytes);
        return bytes;
    };
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* expected;
    } cases[] = {
        {"empty", {}, "an empty file, not a picture"},
        {"text", {'h', 'e', 'l', 'l', 'o'}, "not a picture (neither PNG nor JPEG nor BMP)"},
        {"PNG cut short", std::vector<uint8_t>(png.begin(), png.begin() + 60),
         "damaged or unreadable PNG data ("},
        {"JPEG cut short",
         std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 2)),
         "damaged or unreadable JPEG data ("},
        {"BMP cut short", std::vector<uint8_t>(bmp.begin(), bmp.begin() + 20),
         "damaged or unreadable BMP data ("},
        {"PNG too wide", changed(png, [](auto& b) { SetPngSize(b, 16385, 1); }),
         "16385 x 1 pixels is more than 16384 pixels a side"},
        {"JPEG too large decoded", changed(jpeg, [](auto& b) { SetJpegSize(b, 9000, 9000); }),
         "9000 x 9000 pixels would take more than 256 MiB decoded"},
        {"BMP too tall", changed(bmp, [](auto& b) { PutLe(b, 22, 20000, 4); }),
         "32 x 20000 pixels is more than 16384 pixels a side"},
    };
    for (const auto& c : cases) {
        SRgbaPicture out;
        std::string why;
        EXPECT_FALSE(artwork::DecodeArtwork(c.bytes.data(), c.bytes.size(), out, &why)) << c.name;
        EXPECT_EQ(why.rfind(c.expected, 0), 0u) << c.name << ": " << why;
        EXPECT_TRUE(out.Empty()) << c.name;
    }
}

}  // namespace
