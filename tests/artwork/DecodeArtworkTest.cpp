#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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
        {"BMP 24", EncodeBmp(picture, {}), 0, false},
        {"TIFF", EncodeTiff(picture, {}), 0, false},
        {"WebP lossy", EncodeWebp(picture, false), 16, false},
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

// Four colours that 5- and 6-bit channels hold exactly.
const std::vector<std::array<uint8_t, 3>> kSwatches = {
    {255, 255, 255}, {206, 16, 49}, {16, 49, 206}, {49, 206, 8}};

// A picture in the swatches, a string a row from the top: a digit a swatch, '.' transparent.
SRgbaPicture Drawn(const std::vector<std::string>& rows) {
    SRgbaPicture picture(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
            if (c == '.')
                continue;
            std::copy_n(kSwatches[static_cast<size_t>(c - '0')].begin(), 3, picture.Pixel(x, y));
            picture.Pixel(x, y)[3] = 255;
        }
    }
    return picture;
}

// Runs of three and every pixel another colour, 13 wide so that rows need padding.
const std::vector<std::string> kFour = {"0001112223330", "0123012301230", "1112223330001",
                                        "1230123012301", "2223330001112", "2301230123012"};
// Every kind of skip a run-length encoder makes.
const std::vector<std::string> kHoled = {"......", "12.2..", "......", "012210"};
// kHoled by hand, its bottom row first, each skip as writers make it.
// clang-format off
const std::vector<uint8_t> kRle8 = {
    0, 6, 0, 1, 2, 2, 1, 0, 0, 0,        // "012210" as it is; the end of the row
    0, 2, 0, 1,                          // "......" skipped: a delta of 0, 1
    1, 1, 1, 2, 0, 2, 1, 0, 1, 2, 0, 0,  // "12.2..": runs around a delta of 1, 0; the row ends
    0, 1};                               // "......": the end of the picture
const std::vector<uint8_t> kRle4 = {
    0, 6, 0x01, 0x22, 0x10, 0, 0, 0,     // padded to a 16-bit word
    0, 2, 0, 1,
    2, 0x12, 0, 2, 1, 0, 1, 0x20, 0, 0,  // a run of two alternating colours
    0, 1};
// clang-format on

// The four-colour picture at four levels of alpha, transparent ones included.
SRgbaPicture Translucent() {
    SRgbaPicture picture = Drawn(kFour);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            uint8_t* p = picture.Pixel(x, y);
            p[3] = std::array<uint8_t, 4>{255, 192, 128, 0}[static_cast<size_t>(x + y) % 4];
            if (p[3] == 0)
                std::fill_n(p, 3, 0);
        }
    }
    return picture;
}

// Every pixel within `tolerance` in every channel; under no alpha, the colour is no one's.
::testing::AssertionResult MatchesPicture(const SRgbaPicture& got, const SRgbaPicture& want,
                                          int tolerance) {
    if (got.width != want.width || got.height != want.height)
        return ::testing::AssertionFailure() << got.width << " x " << got.height;
    for (int y = 0; y < want.height; ++y) {
        for (int x = 0; x < want.width; ++x) {
            const uint8_t* g = got.Pixel(x, y);
            const uint8_t* w = want.Pixel(x, y);
            for (size_t c = w[3] == 0 ? 3 : 0; c < 4; ++c) {
                if (std::abs(g[c] - w[c]) > tolerance) {
                    return ::testing::AssertionFailure()
                           << "(" << x << ", " << y << ") channel " << c << " is " << int{g[c]};
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(DecodeArtworkTest, BmpTiffAndWebpGiveBackThePictureTheyWereMadeFrom) {
    const SRgbaPicture two = Drawn({"0101100111000", "1010011000111"}), four = Drawn(kFour),
                       holed = Drawn(kHoled), translucent = Translucent();
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const SRgbaPicture& picture;
        int tolerance;
    } cases[] = {
        {"BMP OS/2 1.x 1 bit",
         EncodeBmp(two, {.header = 12, .bits = 1, .palette = {kSwatches[0], kSwatches[1]}}), two,
         0},
        {"BMP OS/2 2.x 4 bits", EncodeBmp(four, {.header = 64, .bits = 4, .palette = kSwatches}),
         four, 0},
        {"BMP 8 bits top-down", EncodeBmp(four, {.bits = 8, .topDown = true, .palette = kSwatches}),
         four, 0},
        {"BMP RLE8 with skips",
         EncodeBmp(holed, {.bits = 8, .compression = 1, .palette = kSwatches, .runs = kRle8}),
         holed, 0},
        {"BMP RLE4 with skips",
         EncodeBmp(holed, {.bits = 4, .compression = 2, .palette = kSwatches, .runs = kRle4}),
         holed, 0},
        {"BMP 16 bits 5-5-5", EncodeBmp(four, {.bits = 16}), four, 0},
        {"BMP 16 bits 5-6-5 masks after the header",
         EncodeBmp(four, {.bits = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F, 0}}),
         four, 0},
        {"BMP V4 16 bits 1-5-5-5 with alpha",
         EncodeBmp(holed, {.header = 108,
                           .bits = 16,
                           .compression = 3,
                           .masks = {0x7C00, 0x03E0, 0x001F, 0x8000}}),
         holed, 0},
        {"BMP 24 bits with a palette of 256",
         EncodeBmp(four, {.palette = std::vector(256, kSwatches[1])}), four, 0},
        {"BMP V5 24 bits top-down", EncodeBmp(four, {.header = 124, .topDown = true}), four, 0},
        {"BMP 24 bits, the last row's padding left out",
         [&four] {
             std::vector<uint8_t> bytes = EncodeBmp(four, {});
             bytes.pop_back();
             return bytes;
         }(),
         four, 0},
        {"BMP 32 bits, junk in the unused byte",
         EncodeBmp(four, {.bits = 32, .junkFourthByte = true}), four, 0},
        {"BMP 32 bits 10-10-10 masks after the header",
         EncodeBmp(four, {.bits = 32, .compression = 3, .masks = {0x3FF00000, 0xFFC00, 0x3FF, 0}}),
         four, 0},
        {"BMP V5 32 bits, alpha masks",
         EncodeBmp(translucent, {.header = 124,
                                 .bits = 32,
                                 .compression = 3,
                                 .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}),
         translucent, 0},
        {"BMP 32 bits, alpha masks in reverse after the header",
         EncodeBmp(translucent,
                   {.bits = 32, .compression = 6, .masks = {0xFF, 0xFF00, 0xFF0000, 0xFF000000}}),
         translucent, 0},
        {"TIFF RGB LZW", EncodeTiff(four, {}), four, 0},
        // Premultiplied inside the reader, so a level off at half alpha.
        {"TIFF RGBA 16 bits deflate",
         EncodeTiff(translucent,
                    {.compression = COMPRESSION_ADOBE_DEFLATE, .bits = 16, .alpha = true}),
         translucent, 1},
        {"WebP lossless with alpha", EncodeWebp(translucent, true), translucent, 0},
    };
    for (const auto& c : cases) {
        SRgbaPicture out;
        std::string why;
        ASSERT_TRUE(artwork::DecodeArtwork(c.bytes.data(), c.bytes.size(), out, &why))
            << c.name << ": " << why;
        EXPECT_TRUE(MatchesPicture(out, c.picture, c.tolerance)) << c.name;
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

TEST(DecodeArtworkTest, TheOrientationTagTurnsJpegAndTiffUpright) {
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
        const uint16_t tag = static_cast<uint16_t>(c.orientation);
        for (const std::vector<uint8_t>& file :
             {EncodeJpeg(stored, {JCS_RGB, false, c.orientation}),
              EncodeJpeg(stored, {JCS_RGB, false, c.orientation, true}),
              EncodeTiff(stored, {.orientation = tag})}) {
            SRgbaPicture out;
            ASSERT_TRUE(artwork::DecodeArtwork(file.data(), file.size(), out, nullptr));
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
}

// Changes the baseline frame header: its marker, sample precision and size.
void SetJpegFrame(std::vector<uint8_t>& jpeg, uint8_t marker, uint8_t precision, uint16_t width,
                  uint16_t height) {
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 1] = marker;
            jpeg[i + 4] = precision;
            jpeg[i + 5] = static_cast<uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<uint8_t>(height);
            jpeg[i + 7] = static_cast<uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<uint8_t>(width);
            return;
        }
    }
}

// The start of an animation, 32 x 16: the extended header with its animation flag, and
// the animation's own chunk.
std::vector<uint8_t> AnimatedWebpHeader() {
    // clang-format off
    std::vector<uint8_t> bytes = {
        'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P',
        'V', 'P', '8', 'X', 10, 0, 0, 0, 0x02, 0, 0, 0, 31, 0, 0, 15, 0, 0,  // flags, size - 1
        'A', 'N', 'I', 'M', 6, 0, 0, 0, 0, 0, 0, 0, 0, 0};                   // background, loops
    // clang-format on
    PutLe(bytes, 4, static_cast<uint32_t>(bytes.size() - 8), 4);
    return bytes;
}

TEST(DecodeArtworkTest, BadFilesAreRefusedWithWhatIsWrong) {
    const SRgbaPicture picture = HalfAndHalf();
    const std::vector<uint8_t> png = HalfAndHalfPng(PNG_COLOR_TYPE_RGB, 8);
    const std::vector<uint8_t> jpeg = EncodeJpeg(picture, {JCS_RGB, false, 0});
    const std::vector<uint8_t> bmp = EncodeBmp(picture, {});
    // 13 pixels of 24 bits: 39 bytes a row and one of padding.
    const std::vector<uint8_t> padded = EncodeBmp(Drawn(kFour), {});
    const std::vector<uint8_t> rle = EncodeBmp(
        Drawn(kHoled), {.bits = 8, .compression = 1, .palette = kSwatches, .runs = kRle8});
    const std::vector<uint8_t> tiff = EncodeTiff(picture, {});
    const std::vector<uint8_t> webp = EncodeWebp(picture, true);
    const auto cut = [](const std::vector<uint8_t>& bytes, size_t less) {
        return std::vector<uint8_t>(bytes.begin(), bytes.end() - static_cast<long>(less));
    };
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
        {"text", {'h', 'e', 'l', 'l', 'o'}, "not a picture (not PNG, JPEG, BMP, TIFF or WebP)"},
        {"PNG cut short", std::vector<uint8_t>(png.begin(), png.begin() + 60),
         "damaged or unreadable PNG data ("},
        {"JPEG cut short",
         std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 2)),
         "damaged or unreadable JPEG data ("},
        {"BMP cut in its header", std::vector<uint8_t>(bmp.begin(), bmp.begin() + 20),
         "damaged BMP data (the file ends inside its header)"},
        {"BMP cut in its rows", cut(bmp, 10),
         "damaged BMP data (the file ends before its last row)"},
        {"BMP of padded rows cut in its last row", cut(padded, 2),
         "damaged BMP data (the file ends before its last row)"},
        {"BMP RLE cut short", cut(rle, 9), "damaged BMP data (the file ends before its last row)"},
        {"BMP pixels inside its header", changed(bmp, [](auto& b) { PutLe(b, 10, 30, 4); }),
         "damaged BMP data (its pixels said to begin inside its header)"},
        {"BMP 64 bits", changed(bmp, [](auto& b) { PutLe(b, 28, 64, 2); }),
         "not supported: 64-bit BMP"},
        {"TIFF cut short", cut(tiff, tiff.size() - 12), "damaged or unreadable TIFF data ("},
        {"TIFF of floating-point samples", EncodeTiff(picture, {.floatingPoint = true}),
         "not supported: TIFF of floating-point samples"},
        {"WebP cut short", cut(webp, 40),
         "damaged WebP data (the file ends before its picture does)"},
        {"WebP animated", AnimatedWebpHeader(), "not supported: animated WebP"},
        {"JPEG 12 bits", changed(jpeg, [](auto& b) { SetJpegFrame(b, 0xC1, 12, 32, 16); }),
         "not supported: 12-bit JPEG"},
        {"JPEG lossless", changed(jpeg, [](auto& b) { SetJpegFrame(b, 0xC3, 8, 32, 16); }),
         "not supported: lossless JPEG"},
        {"PNG too wide", changed(png, [](auto& b) { SetPngSize(b, 16385, 1); }),
         "16385 x 1 pixels is more than 16384 pixels a side"},
        {"JPEG too large decoded",
         changed(jpeg, [](auto& b) { SetJpegFrame(b, 0xC0, 8, 9000, 9000); }),
         "9000 x 9000 pixels would take more than 256 MiB decoded"},
        {"BMP too tall", changed(bmp, [](auto& b) { PutLe(b, 22, 20000, 4); }),
         "32 x 20000 pixels is more than 16384 pixels a side"},
        {"BMP top-down too tall",
         changed(bmp, [](auto& b) { PutLe(b, 22, static_cast<uint32_t>(-20000), 4); }),
         "32 x 20000 pixels is more than 16384 pixels a side"},
        {"TIFF too wide", EncodeTiff(SRgbaPicture(16385, 1), {}),
         "16385 x 1 pixels is more than 16384 pixels a side"},
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
