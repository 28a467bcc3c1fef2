#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "dial/CImage.h"
#include "dial/PngKinds.h"
#include "support/FileBytes.h"
#include "support/TestImages.h"

namespace {

using Samples = std::array<uint16_t, 4>;
using PixelOf = std::function<SBgra(int, int)>;

// The picture is `width` x `height` and every pixel is `want` (alpha 255 without a fourth
// byte); otherwise names the first pixel that differs.
::testing::AssertionResult HasPixels(const CImage& image, int width, int height,
                                     const PixelOf& want) {
    if (image.GetWidth() != width || image.GetHeight() != height) {
        return ::testing::AssertionFailure()
               << "picture is " << image.GetWidth() << " x " << image.GetHeight();
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = image.PixelAt(x, y);
            const int a = image.GetBPP() == 32 ? p[3] : 255;
            const SBgra w = want(x, y);
            if (p[0] != w.b || p[1] != w.g || p[2] != w.r || a != w.a) {
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is B,G,R,A " << int{p[0]} << ","
                       << int{p[1]} << "," << int{p[2]} << "," << a << ", expected " << int{w.b}
                       << "," << int{w.g} << "," << int{w.r} << "," << int{w.a};
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// What an empty container answers about itself.
auto Shape(const CImage& image) {
    return std::make_tuple(image.IsNull(), image.GetBits(), image.GetWidth(), image.GetHeight(),
                           image.GetPitch(), image.GetBPP(), image.HasAlpha());
}
const auto kEmpty = std::make_tuple(true, static_cast<const uint8_t*>(nullptr), 0, 0, 0, 0, false);

SPngKind Kind(int colorType, int bitDepth, std::function<Samples(int, int)> sample, int width = 13,
              int height = 11) {
    SPngKind kind;
    kind.width = width;  // odd sizes by default, so Adam7 passes and sub-byte packing matter
    kind.height = height;
    kind.colorType = colorType;
    kind.bitDepth = bitDepth;
    kind.sample = std::move(sample);
    return kind;
}

// The 8-bit RGBA dial used for the layout facts: every pixel different from its
// neighbours, alpha varying as well.
SPngKind RgbaDial() {
    return Kind(
        PNG_COLOR_TYPE_RGB_ALPHA, 8,
        [](int x, int y) {
            return Samples{uint16_t(x), uint16_t(y), uint16_t((3 * x + 2 * y + 5) & 255),
                           uint16_t((7 * x + y) & 255)};
        },
        230, 230);
}

class ImageLoadTest : public ::testing::Test {
protected:
    std::string Write(const SPngKind& kind, const std::string& name = "picture.png") {
        const std::string path = dir.File(name);
        EXPECT_TRUE(WritePngKind(path, kind));
        return path;
    }
    std::string WriteBytes(const std::string& bytes, const std::string& name = "bytes.png") {
        const std::string path = dir.File(name);
        WriteFileBytes(path, bytes);
        return path;
    }

    CTempDir dir;
    CImage image;
};

TEST_F(ImageLoadTest, RgbaDialIsBottomUpBgraWithStraightAlpha) {
    const std::string path = Write(RgbaDial());
    ASSERT_EQ(image.Load(path.c_str()), ImageLoadResult::Ok);
    EXPECT_FALSE(image.IsNull());
    EXPECT_EQ(image.GetBPP(), 32);
    EXPECT_EQ(image.GetPitch(), -920);
    EXPECT_TRUE(image.HasAlpha());

    // The memory block starts at the bottom row: pixel base + 229 rows of pitch.
    const uint8_t* base = image.GetBits();
    const uint8_t* block = base + 229 * image.GetPitch();
    // Top-left pixel (file samples R 0, G 0, B 5, A 0: colour kept under alpha 0) at the
    // pixel base, its right neighbour (R 1, G 0, B 8, A 7) after it.
    EXPECT_EQ(std::vector<uint8_t>(base, base + 8), (std::vector<uint8_t>{5, 0, 0, 0, 8, 0, 1, 7}));
    // Bottom-right pixel (R 229, G 229, B 1150 & 255 = 126, A 1832 & 255 = 40) ends the
    // first 920 bytes of the block.
    EXPECT_EQ(std::vector<uint8_t>(block + 916, block + 920),
              (std::vector<uint8_t>{126, 229, 229, 40}));
    EXPECT_TRUE(HasPixels(image, 230, 230, [](int x, int y) {
        const Samples s = RgbaDial().sample(x, y);
        return SBgra{uint8_t(s[2]), uint8_t(s[1]), uint8_t(s[0]), uint8_t(s[3])};
    }));
}

TEST_F(ImageLoadTest, RgbDialIs24BitsWithPaddedRows) {
    const SPngKind kind = Kind(
        PNG_COLOR_TYPE_RGB, 8,
        [](int x, int y) {
            return Samples{uint16_t(x), uint16_t(y), 9};
        },
        230, 230);
    ASSERT_EQ(image.Load(Write(kind).c_str()), ImageLoadResult::Ok);
    EXPECT_EQ(image.GetBPP(), 24);
    EXPECT_EQ(image.GetPitch(), -692);
    EXPECT_FALSE(image.HasAlpha());
    const uint8_t* topLeftOfRow1 = image.GetBits() + image.GetPitch();
    EXPECT_EQ(std::vector<uint8_t>(topLeftOfRow1, topLeftOfRow1 + 6),
              (std::vector<uint8_t>{9, 1, 0, 9, 1, 1}));
    const uint8_t* bottomRight = image.PixelAt(229, 229);
    EXPECT_EQ(std::vector<uint8_t>(bottomRight, bottomRight + 3),
              (std::vector<uint8_t>{9, 229, 229}));
}

// Every other kind of PNG: what depth it ends at, and the exact 8-bit values. Each pixel
// is given as the samples stored in the file and the colour expected after loading.
using Pixel = std::pair<Samples, SBgra>;
struct SKindCase {
    std::string name;
    SPngKind kind;
    int bpp;
    std::function<Pixel(int, int)> pixel;
};

SKindCase Case(std::string name, int colorType, int bitDepth, int bpp,
               std::function<Pixel(int, int)> pixel) {
    return {std::move(name),
            Kind(colorType, bitDepth, [pixel](int x, int y) { return pixel(x, y).first; }), bpp,
            pixel};
}

using S = Samples;
using u8 = uint8_t;
using u16 = uint16_t;

SBgra Grey(int v, int a = 255) {
    return {u8(v), u8(v), u8(v), u8(a)};
}

std::vector<SKindCase> KindCases() {
    const std::vector<png_color> palette = {{255, 0, 0}, {0, 128, 0}, {1, 2, 3}, {250, 251, 252}};
    // Palette index (x + y) % 4, with its colour at the given alpha per index.
    auto indexed = [palette](std::array<int, 4> alpha) {
        return [palette, alpha](int x, int y) {
            const size_t i = size_t((x + y) % 4);
            const png_color c = palette[i];
            return Pixel{S{u16(i)}, SBgra{c.blue, c.green, c.red, u8(alpha[i])}};
        };
    };
    const int grey = PNG_COLOR_TYPE_GRAY, rgb = PNG_COLOR_TYPE_RGB;
    std::vector<SKindCase> cases = {
        Case("grey 8", grey, 8, 24,
             [](int x, int y) {
                 return Pixel{S{u16(x * 19 + y)}, Grey(x * 19 + y)};
             }),
        Case("grey 1", grey, 1, 24,
             [](int x, int y) {
                 return Pixel{S{u16((x + y) & 1)}, Grey(((x + y) & 1) * 255)};
             }),
        Case("grey 4 with tRNS", grey, 4, 32,
             [](int x, int) {
                 return Pixel{S{u16(x)}, Grey(x * 17, x == 5 ? 0 : 255)};
             }),
        Case("grey+alpha 8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, 32,
             [](int x, int y) {
                 return Pixel{S{u16(x * 10), u16(y * 20)}, Grey(x * 10, y * 20)};
             }),
        // 16-bit samples are scaled to the nearest 8-bit value: 0x10FF is 16.93 of 255, where
        // its high byte alone would say 16.
        Case("grey 16", grey, 16, 24,
             [](int x, int) {
                 return Pixel{S{u16(x == 0 ? 0x10FF : x * 257)}, Grey(x == 0 ? 17 : x)};
             }),
        Case("RGB 16", rgb, 16, 24,
             [](int x, int y) {
                 return Pixel{S{0x10FF, u16(x * 257), u16(y * 257 + 0x7F)},
                              SBgra{u8(y), u8(x), 17, 255}};
             }),
        Case("RGBA 16", PNG_COLOR_TYPE_RGB_ALPHA, 16, 32,
             [](int x, int y) {
                 return Pixel{S{u16(x * 257), u16(y * 257), 0xFFFF, 0x01FF},
                              SBgra{255, u8(y), u8(x), 2}};
             }),
        Case("palette 2", PNG_COLOR_TYPE_PALETTE, 2, 24, indexed({255, 255, 255, 255})),
        // Entries past the end of the transparency list are opaque.
        Case("palette 8 with tRNS", PNG_COLOR_TYPE_PALETTE, 8, 32, indexed({0, 99, 255, 255})),
        Case("RGB 8 with tRNS", rgb, 8, 32,
             [](int x, int y) {
                 return Pixel{S{u16(x), u16(y), 7},
                              SBgra{7, u8(y), u8(x), u8(x == 3 && y == 4 ? 0 : 255)}};
             }),
    };
    cases[2].kind.transparent = png_color_16{0, 0, 0, 0, 5};
    cases[7].kind.palette = cases[8].kind.palette = palette;
    cases[8].kind.paletteAlpha = {0, 99};
    cases[9].kind.transparent = png_color_16{0, 3, 4, 7, 0};
    const size_t plain = cases.size();
    for (size_t i = 0; i < plain; ++i) {
        cases.push_back(cases[i]);
        cases.back().kind.interlaced = true;
        cases.back().name = "interlaced " + cases[i].name;
    }
    return cases;
}

TEST_F(ImageLoadTest, EveryPngKindEndsAt8BitBgrWithAlphaExactlyWhenTransparent) {
    for (const SKindCase& c : KindCases()) {
        SCOPED_TRACE(c.name + ", colour type " + std::to_string(c.kind.colorType) + ", depth " +
                     std::to_string(c.kind.bitDepth));
        ASSERT_EQ(image.Load(Write(c.kind).c_str()), ImageLoadResult::Ok);
        EXPECT_EQ(image.GetBPP(), c.bpp);
        EXPECT_EQ(image.HasAlpha(), c.bpp == 32);
        EXPECT_EQ(image.GetPitch(), c.bpp == 32 ? -52 : -40);  // 39 bytes padded to 40
        EXPECT_TRUE(HasPixels(image, 13, 11, [&c](int x, int y) { return c.pixel(x, y).second; }));
        image.Destroy();
    }
}

// Side information never changes the stored values; a damaged chunk of it is skipped.
TEST_F(ImageLoadTest, GammaAndColourSpaceChunksDoNotChangeTheStoredValues) {
    for (const double gamma : {0.45455, 1.0, 0.2}) {
        for (const bool damaged : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "gamma " << gamma << (damaged ? ", damaged" : ""));
            SPngKind kind = Kind(PNG_COLOR_TYPE_RGB_ALPHA, 8, [](int x, int y) {
                return Samples{uint16_t(x * 19), uint16_t(y * 23), 128, uint16_t(100 + x)};
            });
            kind.gamma = gamma;
            kind.srgb = gamma < 0.5 && gamma > 0.4;
            std::string bytes = ReadFileBytes(Write(kind));
            if (damaged)
                bytes[ChunkData(bytes, "gAMA")] ^= 0xFF;
            ASSERT_EQ(image.Load(WriteBytes(bytes).c_str()), ImageLoadResult::Ok);
            EXPECT_EQ(image.GetBPP(), 32);
            EXPECT_TRUE(HasPixels(image, 13, 11, [](int x, int y) {
                return SBgra{128, uint8_t(y * 23), uint8_t(x * 19), uint8_t(100 + x)};
            }));
        }
    }
}

// Files that are not readable PNG pictures leave the container empty with Fail, also when
// it held a picture before.
TEST_F(ImageLoadTest, UnreadableFilesLeaveTheContainerEmpty) {
    const std::string good = Write(RgbaDial(), "good.png");
    const std::string bytes = ReadFileBytes(good);
    std::string badHeader = bytes;
    badHeader[ChunkData(bytes, "IHDR") + 8] = 3;  // bit depth 3 does not exist
    const std::vector<std::pair<std::string, std::string>> files = {
        {"missing", dir.File("nothing-here.png")},
        {"directory", dir.Path().string()},
        {"empty", WriteBytes("", "empty.png")},
        {"text", WriteBytes(std::string(300, 'x'), "text.png")},
        {"signature only", WriteBytes(bytes.substr(0, 8), "signature.png")},
        {"damaged header", WriteBytes(badHeader, "bad-header.png")},
    };
    for (const auto& [what, path] : files) {
        SCOPED_TRACE(what);
        ASSERT_EQ(image.Load(good.c_str()), ImageLoadResult::Ok);
        EXPECT_EQ(image.Load(path.c_str()), ImageLoadResult::Fail);
        EXPECT_EQ(Shape(image), kEmpty);
    }
    EXPECT_EQ(image.Load(nullptr), ImageLoadResult::Fail);
}

// Cutting the file anywhere, or damaging its pixel data, must never leave a picture that
// looks loaded; once the header was read the code says the pixels could not be had.
TEST_F(ImageLoadTest, TruncatedOrDamagedPixelDataIsNeverHalfLoaded) {
    const std::string bytes = ReadFileBytes(Write(RgbaDial(), "good.png"));
    const size_t idat = ChunkData(bytes, "IDAT");
    ASSERT_GT(idat, 0u);
    for (size_t length = 0; length < bytes.size(); length += 1 + length / 8) {
        const ImageLoadResult result = image.Load(WriteBytes(bytes.substr(0, length)).c_str());
        ASSERT_NE(result, ImageLoadResult::Ok) << "cut at " << length;
        ASSERT_TRUE(image.IsNull()) << "cut at " << length;
        if (length > idat + 100) {
            EXPECT_EQ(result, ImageLoadResult::OutOfMemory) << "cut at " << length;
        }
    }
    // Only the closing IEND chunk missing.
    EXPECT_NE(image.Load(WriteBytes(bytes.substr(0, bytes.size() - 12)).c_str()),
              ImageLoadResult::Ok);
    EXPECT_TRUE(image.IsNull());

    // Damaged compressed data (its checksum left as it was).
    std::string damaged = bytes;
    for (size_t i = idat + 50; i < idat + 60; ++i)
        damaged[i] ^= 0x5A;
    EXPECT_EQ(image.Load(WriteBytes(damaged).c_str()), ImageLoadResult::OutOfMemory);
    EXPECT_TRUE(image.IsNull());
}

// The header says how large the picture is before any pixel exists: absurd sizes are
// refused without trying to allocate them.
TEST_F(ImageLoadTest, HugeDimensionsAreRefused) {
    std::string bytes = ReadFileBytes(Write(RgbaDial()));
    for (const uint32_t side : {16385u, 100000u, 0x7FFFFFFFu}) {
        SCOPED_TRACE(side);
        SetPngSize(bytes, side, 230);
        EXPECT_EQ(image.Load(WriteBytes(bytes).c_str()), ImageLoadResult::Fail);
        EXPECT_TRUE(image.IsNull());
    }
}

TEST_F(ImageLoadTest, EmptyContainerAndRelease) {
    EXPECT_EQ(Shape(image), kEmpty);
    image.Destroy();  // nothing to release
    EXPECT_EQ(Shape(image), kEmpty);

    ASSERT_EQ(image.Load(Write(RgbaDial()).c_str()), ImageLoadResult::Ok);
    image.Destroy();
    EXPECT_EQ(Shape(image), kEmpty);

    EXPECT_FALSE(image.Create(0, 5, 32, true));
    EXPECT_FALSE(image.Create(5, 5, 16, false));
    EXPECT_FALSE(image.Create(0x7FFFFFFF, 0x7FFFFFFF, 32, true));
    EXPECT_EQ(Shape(image), kEmpty);
}

}  // namespace
