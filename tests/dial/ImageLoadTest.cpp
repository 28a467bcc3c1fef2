#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dial/CImage.h"
#include "dial/PngKinds.h"
#include "support/TestImages.h"

namespace {

using Samples = std::array<uint16_t, 4>;

SBgra PixelOf(const CImage& image, int x, int y) {
    const uint8_t* p = image.PixelAt(x, y);
    return {p[0], p[1], p[2], image.GetBPP() == 32 ? p[3] : uint8_t{255}};
}

::testing::AssertionResult SamePixel(const SBgra& got, const SBgra& want, int x, int y) {
    if (got.b == want.b && got.g == want.g && got.r == want.r && got.a == want.a) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is B,G,R,A " << int{got.b} << "," << int{got.g}
           << "," << int{got.r} << "," << int{got.a} << ", expected " << int{want.b} << ","
           << int{want.g} << "," << int{want.r} << "," << int{want.a};
}

// The 8-bit RGBA dial used for the layout facts: every pixel different from its
// neighbours, alpha varying as well.
SPngKind RgbaDial() {
    SPngKind kind;
    kind.width = 230;
    kind.height = 230;
    kind.sample = [](int x, int y) {
        return Samples{uint16_t(x), uint16_t(y), uint16_t((3 * x + 2 * y + 5) & 255),
                       uint16_t((7 * x + y) & 255)};
    };
    return kind;
}

class ImageLoadTest : public ::testing::Test {
protected:
    std::string Write(const SPngKind& kind, const std::string& name = "picture.png") {
        const std::string path = dir.File(name);
        EXPECT_TRUE(WritePngKind(path, kind));
        return path;
    }

    CTempDir dir;
    CImage image;
};

TEST_F(ImageLoadTest, RgbaDialIsBottomUpBgraWithStraightAlpha) {
    const std::string path = Write(RgbaDial());
    ASSERT_EQ(image.Load(path.c_str()), ImageLoadResult::Ok);
    EXPECT_FALSE(image.IsNull());
    EXPECT_EQ(image.GetWidth(), 230);
    EXPECT_EQ(image.GetHeight(), 230);
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

    for (int y = 0; y < 230; ++y) {
        for (int x = 0; x < 230; ++x) {
            const Samples s = RgbaDial().sample(x, y);
            const SBgra want{uint8_t(s[2]), uint8_t(s[1]), uint8_t(s[0]), uint8_t(s[3])};
            ASSERT_TRUE(SamePixel(PixelOf(image, x, y), want, x, y));
        }
    }
}

TEST_F(ImageLoadTest, RgbDialIs24BitsWithPaddedRows) {
    SPngKind kind;
    kind.width = 230;
    kind.height = 230;
    kind.colorType = PNG_COLOR_TYPE_RGB;
    kind.sample = [](int x, int y) { return Samples{uint16_t(x), uint16_t(y), 9, 0}; };
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

// Every other kind of PNG: what depth it ends at, and the exact 8-bit values.
struct SKindCase {
    std::string name;
    SPngKind kind;
    int bpp;
    std::function<SBgra(int, int)> expected;
};

SPngKind Kind(int colorType, int bitDepth, std::function<Samples(int, int)> sample) {
    SPngKind kind;
    kind.width = 13;  // odd sizes, so Adam7 passes and sub-byte packing both matter
    kind.height = 11;
    kind.colorType = colorType;
    kind.bitDepth = bitDepth;
    kind.sample = std::move(sample);
    return kind;
}

SBgra Grey(int v, int a = 255) {
    return {uint8_t(v), uint8_t(v), uint8_t(v), uint8_t(a)};
}

std::vector<SKindCase> KindCases() {
    std::vector<SKindCase> cases;
    const std::vector<png_color> palette = {{255, 0, 0}, {0, 128, 0}, {1, 2, 3}, {250, 251, 252}};
    auto index4 = [](int x, int y) { return Samples{uint16_t((x + y) % 4), 0, 0, 0}; };
    auto paletteColour = [palette](int x, int y, int alpha) {
        const png_color c = palette[size_t((x + y) % 4)];
        return SBgra{c.blue, c.green, c.red, uint8_t(alpha)};
    };

    cases.push_back({"grey 8",
                     Kind(PNG_COLOR_TYPE_GRAY, 8,
                          [](int x, int y) {
                              return Samples{uint16_t(x * 19 + y), 0, 0, 0};
                          }),
                     24, [](int x, int y) { return Grey(x * 19 + y); }});
    cases.push_back({"grey 1",
                     Kind(PNG_COLOR_TYPE_GRAY, 1,
                          [](int x, int y) {
                              return Samples{uint16_t((x + y) & 1), 0, 0, 0};
                          }),
                     24, [](int x, int y) { return Grey(((x + y) & 1) * 255); }});
    {
        SKindCase c{"grey 4 with tRNS",
                    Kind(PNG_COLOR_TYPE_GRAY, 4,
                         [](int x, int) {
                             return Samples{uint16_t(x), 0, 0, 0};
                         }),
                    32, [](int x, int) { return Grey(x * 17, x == 5 ? 0 : 255); }};
        c.kind.transparent = png_color_16{0, 0, 0, 0, 5};
        cases.push_back(c);
    }
    cases.push_back({"grey+alpha 8",
                     Kind(PNG_COLOR_TYPE_GRAY_ALPHA, 8,
                          [](int x, int y) {
                              return Samples{uint16_t(x * 10), uint16_t(y * 20), 0, 0};
                          }),
                     32, [](int x, int y) { return Grey(x * 10, y * 20); }});
    // 16-bit samples are scaled to the nearest 8-bit value: 0x10FF is 16.93 of 255, where
    // its high byte alone would say 16.
    cases.push_back({"grey 16",
                     Kind(PNG_COLOR_TYPE_GRAY, 16,
                          [](int x, int) {
                              return Samples{uint16_t(x == 0 ? 0x10FF : x * 257), 0, 0, 0};
                          }),
                     24, [](int x, int) { return Grey(x == 0 ? 17 : x); }});
    cases.push_back(
        {"RGB 16",
         Kind(PNG_COLOR_TYPE_RGB, 16,
              [](int x, int y) {
                  return Samples{0x10FF, uint16_t(x * 257), uint16_t(y * 257 + 0x7F), 0};
              }),
         24, [](int x, int y) {
             return SBgra{uint8_t(y), uint8_t(x), 17, 255};
         }});
    cases.push_back({"RGBA 16",
                     Kind(PNG_COLOR_TYPE_RGB_ALPHA, 16,
                          [](int x, int y) {
                              return Samples{uint16_t(x * 257), uint16_t(y * 257), 0xFFFF, 0x01FF};
                          }),
                     32, [](int x, int y) {
                         return SBgra{255, uint8_t(y), uint8_t(x), 2};
                     }});
    {
        SKindCase c{"palette 2", Kind(PNG_COLOR_TYPE_PALETTE, 2, index4), 24,
                    [paletteColour](int x, int y) { return paletteColour(x, y, 255); }};
        c.kind.palette = palette;
        cases.push_back(c);
    }
    {
        // Entries past the end of the transparency list are opaque.
        SKindCase c{"palette 8 with tRNS", Kind(PNG_COLOR_TYPE_PALETTE, 8, index4), 32,
                    [paletteColour](int x, int y) {
                        const int i = (x + y) % 4;
                        return paletteColour(x, y, i == 0 ? 0 : i == 1 ? 99 : 255);
                    }};
        c.kind.palette = palette;
        c.kind.paletteAlpha = {0, 99};
        cases.push_back(c);
    }
    {
        SKindCase c{
            "RGB 8 with tRNS",
            Kind(PNG_COLOR_TYPE_RGB, 8,
                 [](int x, int y) {
                     return Samples{uint16_t(x), uint16_t(y), 7, 0};
                 }),
            32, [](int x, int y) {
                return SBgra{7, uint8_t(y), uint8_t(x), uint8_t(x == 3 && y == 4 ? 0 : 255)};
            }};
        c.kind.transparent = png_color_16{0, 3, 4, 7, 0};
        cases.push_back(c);
    }
    const size_t plain = cases.size();
    for (size_t i = 0; i < plain; ++i) {
        SKindCase c = cases[i];
        c.kind.interlaced = true;
        c.name = "interlaced " + c.name;
        cases.push_back(c);
    }
    return cases;
}

TEST_F(ImageLoadTest, EveryPngKindEndsAt8BitBgrWithAlphaExactlyWhenTransparent) {
    for (const SKindCase& c : KindCases()) {
        SCOPED_TRACE(c.name + ", colour type " + std::to_string(c.kind.colorType) + ", depth " +
                     std::to_string(c.kind.bitDepth));
        ASSERT_EQ(image.Load(Write(c.kind).c_str()), ImageLoadResult::Ok);
        EXPECT_EQ(image.GetWidth(), 13);
        EXPECT_EQ(image.GetHeight(), 11);
        EXPECT_EQ(image.GetBPP(), c.bpp);
        EXPECT_EQ(image.HasAlpha(), c.bpp == 32);
        EXPECT_EQ(image.GetPitch(), -static_cast<int>(CImage::RowLength(13, c.bpp)));
        for (int y = 0; y < 11; ++y) {
            for (int x = 0; x < 13; ++x) {
                ASSERT_TRUE(SamePixel(PixelOf(image, x, y), c.expected(x, y), x, y));
            }
        }
        image.Destroy();
    }
}

TEST_F(ImageLoadTest, GammaAndColourSpaceChunksDoNotChangeTheStoredValues) {
    for (const double gamma : {0.45455, 1.0, 0.2}) {
        SPngKind kind = Kind(PNG_COLOR_TYPE_RGB_ALPHA, 8, [](int x, int y) {
            return Samples{uint16_t(x * 19), uint16_t(y * 23), 128, uint16_t(100 + x)};
        });
        kind.gamma = gamma;
        kind.srgb = gamma < 0.5 && gamma > 0.4;
        ASSERT_EQ(image.Load(Write(kind).c_str()), ImageLoadResult::Ok);
        for (int y = 0; y < 11; ++y) {
            for (int x = 0; x < 13; ++x) {
                const SBgra want{128, uint8_t(y * 23), uint8_t(x * 19), uint8_t(100 + x)};
                ASSERT_TRUE(SamePixel(PixelOf(image, x, y), want, x, y)) << "gamma " << gamma;
            }
        }
    }
}

// Files that are not readable PNG pictures leave the container empty with Fail, also when
// it held a picture before.
TEST_F(ImageLoadTest, UnreadableFilesLeaveTheContainerEmpty) {
    const std::string good = Write(RgbaDial(), "good.png");
    const std::vector<uint8_t> bytes = ReadBytes(good);

    std::vector<std::pair<std::string, std::string>> files;  // description, path
    files.emplace_back("missing", dir.File("nothing-here.png"));
    files.emplace_back("directory", dir.Path().string());
    WriteBytes(dir.File("empty.png"), {});
    files.emplace_back("empty", dir.File("empty.png"));
    WriteBytes(dir.File("text.png"), std::vector<uint8_t>(300, 'x'));
    files.emplace_back("text", dir.File("text.png"));
    WriteBytes(dir.File("signature.png"), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8));
    files.emplace_back("signature only", dir.File("signature.png"));
    std::vector<uint8_t> badHeader = bytes;
    badHeader[ChunkData(bytes, "IHDR") + 8] = 3;  // bit depth 3 does not exist
    WriteBytes(dir.File("bad-header.png"), badHeader);
    files.emplace_back("damaged header", dir.File("bad-header.png"));

    for (const auto& [what, path] : files) {
        SCOPED_TRACE(what);
        ASSERT_EQ(image.Load(good.c_str()), ImageLoadResult::Ok);
        EXPECT_EQ(image.Load(path.c_str()), ImageLoadResult::Fail);
        EXPECT_TRUE(image.IsNull());
        EXPECT_EQ(image.GetBits(), nullptr);
        EXPECT_EQ(image.GetWidth(), 0);
        EXPECT_EQ(image.GetBPP(), 0);
    }
    EXPECT_EQ(image.Load(nullptr), ImageLoadResult::Fail);
}

// Cutting the file anywhere, or damaging its pixel data, must never leave a picture that
// looks loaded; once the header was read the code says the pixels could not be had.
TEST_F(ImageLoadTest, TruncatedOrDamagedPixelDataIsNeverHalfLoaded) {
    const std::vector<uint8_t> bytes = ReadBytes(Write(RgbaDial(), "good.png"));
    const size_t idat = ChunkData(bytes, "IDAT");
    ASSERT_GT(idat, 0u);
    const std::string path = dir.File("cut.png");
    for (size_t length = 0; length < bytes.size(); length += 1 + length / 8) {
        WriteBytes(path,
                   std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(length)));
        const ImageLoadResult result = image.Load(path.c_str());
        ASSERT_NE(result, ImageLoadResult::Ok) << "cut at " << length;
        ASSERT_TRUE(image.IsNull()) << "cut at " << length;
        if (length > idat + 100) {
            EXPECT_EQ(result, ImageLoadResult::OutOfMemory) << "cut at " << length;
        }
    }
    // Only the closing IEND chunk missing.
    WriteBytes(path, std::vector<uint8_t>(bytes.begin(), bytes.end() - 12));
    EXPECT_NE(image.Load(path.c_str()), ImageLoadResult::Ok);
    EXPECT_TRUE(image.IsNull());

    // Damaged compressed data (its checksum left as it was).
    std::vector<uint8_t> damaged = bytes;
    for (size_t i = idat + 50; i < idat + 60; ++i)
        damaged[i] ^= 0x5A;
    WriteBytes(path, damaged);
    EXPECT_EQ(image.Load(path.c_str()), ImageLoadResult::OutOfMemory);
    EXPECT_TRUE(image.IsNull());
}

// A damaged chunk that only carries side information is skipped; the picture is read.
TEST_F(ImageLoadTest, DamagedAncillaryChunkIsSkipped) {
    SPngKind kind = RgbaDial();
    kind.gamma = 0.45455;
    std::vector<uint8_t> bytes = ReadBytes(Write(kind));
    bytes[ChunkData(bytes, "gAMA")] ^= 0xFF;
    const std::string path = dir.File("bad-gamma.png");
    WriteBytes(path, bytes);
    ASSERT_EQ(image.Load(path.c_str()), ImageLoadResult::Ok);
    EXPECT_EQ(image.GetBPP(), 32);
    EXPECT_EQ(image.PixelAt(1, 0)[0], 8);
}

// The header says how large the picture is before any pixel exists: absurd sizes are
// refused without trying to allocate them.
TEST_F(ImageLoadTest, HugeDimensionsAreRefused) {
    std::vector<uint8_t> bytes = ReadBytes(Write(RgbaDial()));
    const size_t ihdr = ChunkData(bytes, "IHDR");
    for (const uint32_t side : {8193u, 100000u, 0x7FFFFFFFu}) {
        SCOPED_TRACE(side);
        for (int i = 0; i < 4; ++i)
            bytes[ihdr + static_cast<size_t>(i)] = uint8_t(side >> (24 - 8 * i));
        // Recompute the header's CRC so only the size is wrong.
        uint32_t crc = 0xFFFFFFFFu;
        for (size_t i = ihdr - 4; i < ihdr + 13; ++i) {
            crc ^= bytes[i];
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        crc ^= 0xFFFFFFFFu;
        for (int i = 0; i < 4; ++i)
            bytes[ihdr + 13 + static_cast<size_t>(i)] = uint8_t(crc >> (24 - 8 * i));
        const std::string path = dir.File("huge.png");
        WriteBytes(path, bytes);
        EXPECT_EQ(image.Load(path.c_str()), ImageLoadResult::Fail);
        EXPECT_TRUE(image.IsNull());
    }
}

TEST_F(ImageLoadTest, EmptyContainerAndRelease) {
    EXPECT_TRUE(image.IsNull());
    EXPECT_EQ(image.GetBits(), nullptr);
    EXPECT_EQ(image.GetPitch(), 0);
    EXPECT_FALSE(image.HasAlpha());
    image.Destroy();  // nothing to release
    EXPECT_TRUE(image.IsNull());

    ASSERT_EQ(image.Load(Write(RgbaDial()).c_str()), ImageLoadResult::Ok);
    image.Destroy();
    EXPECT_TRUE(image.IsNull());
    EXPECT_EQ(image.GetBits(), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.GetHeight(), 0);
    EXPECT_EQ(image.GetPitch(), 0);
    EXPECT_EQ(image.GetBPP(), 0);
    EXPECT_FALSE(image.HasAlpha());

    EXPECT_FALSE(image.Create(0, 5, 32, true));
    EXPECT_FALSE(image.Create(5, 5, 16, false));
    EXPECT_FALSE(image.Create(0x7FFFFFFF, 0x7FFFFFFF, 32, true));
    EXPECT_TRUE(image.IsNull());
}

}  // namespace
