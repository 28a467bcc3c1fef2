// The decoder's output for the project's own pictures and for the fuzz seeds, against
// checksums taken from the Linux build: a build for another system, or with another libpng
// or zlib, must turn every picture into the very same bytes. A changed row is printed as it
// would stand in the table.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "dial/CImage.h"
#include "harness/PngSeeds.h"
#include "support/FileBytes.h"
#include "support/TestImages.h"

namespace {

struct SDecoded {
    std::string name;
    ImageLoadResult result;
    int width, height, bpp;
    uint32_t fileCrc;   // a difference here lies in the file, not in the decoder
    uint32_t pixelCrc;  // the pixel bytes of each row, top row first, without row padding
};

constexpr auto kOk = ImageLoadResult::Ok;
constexpr auto kFail = ImageLoadResult::Fail;
constexpr auto kNoMemory = ImageLoadResult::OutOfMemory;

const std::vector<SDecoded> kCommittedPictures = {
    {"examples/dials/ias.png", kOk, 230, 230, 32, 0xDA18AE60, 0xB7E4DDC5},
    {"examples/dials/tas.png", kOk, 230, 230, 32, 0xFFB80E63, 0x8068E1D2},
    {"src/res/kestran.png", kOk, 256, 256, 32, 0xEB06CBD8, 0x480DD53E},
};
const std::vector<SDecoded> kFuzzSeeds = {
    {"dial-rgba8.png", kOk, 230, 230, 32, 0x20F51730, 0xE2490AD7},
    {"rgb8.png", kOk, 4, 3, 24, 0xD78C0FF2, 0xDE7CD665},
    {"gray1.png", kOk, 5, 5, 24, 0x96BB5FD1, 0xC2A0DC1A},
    {"gray2-trns.png", kOk, 3, 3, 32, 0xA5CF4E6B, 0x464917FB},
    {"gray16.png", kOk, 3, 2, 24, 0x89252527, 0x08418244},
    {"gray-alpha8.png", kOk, 6, 2, 32, 0xA01C238A, 0xFF23BB3C},
    {"palette4-trns.png", kOk, 4, 4, 32, 0x4E2AEEB0, 0xF21D74AB},
    {"palette8.png", kOk, 2, 2, 24, 0x12D3A59D, 0x7E914629},
    {"rgb16-trns.png", kOk, 3, 3, 32, 0x33B31B0B, 0x6E179295},
    {"rgba16-interlaced.png", kOk, 9, 7, 32, 0x0ECB3B45, 0x6F62E4F4},
    {"rgb8-interlaced.png", kOk, 5, 4, 24, 0x42411720, 0xA19B84DA},
    {"rgb8-cut.png", kNoMemory, 0, 0, 0, 0x7C984F97, 0x00000000},
    {"rgb8-bad-crc.png", kFail, 0, 0, 0, 0x502AB616, 0x00000000},
    {"promises-8192.png", kNoMemory, 0, 0, 0, 0x549899EB, 0x00000000},
    {"signature-only.png", kFail, 0, 0, 0, 0x7A0709A4, 0x00000000},
};

uint32_t Crc(const void* data, size_t size, uint32_t crc = 0) {
    return static_cast<uint32_t>(
        crc32(crc, static_cast<const Bytef*>(data), static_cast<uInt>(size)));
}

SDecoded Decode(const std::string& name, const std::string& path) {
    const std::string bytes = ReadFileBytes(path);
    CImage image;
    SDecoded d{};
    d.name = name;
    d.result = image.Load(path.c_str());
    d.width = image.GetWidth();
    d.height = image.GetHeight();
    d.bpp = image.GetBPP();
    d.fileCrc = Crc(bytes.data(), bytes.size());
    for (int y = 0; y < d.height; ++y)
        d.pixelCrc = Crc(image.PixelAt(0, y), static_cast<size_t>(d.width) * d.bpp / 8, d.pixelCrc);
    return d;
}

// One row of the tables above, as written there.
std::string Row(const SDecoded& d) {
    const char* result = d.result == kOk ? "kOk" : d.result == kFail ? "kFail" : "kNoMemory";
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "%s, %d, %d, %d, 0x%08X, 0x%08X", result, d.width,
                  d.height, d.bpp, static_cast<unsigned>(d.fileCrc),
                  static_cast<unsigned>(d.pixelCrc));
    return "{\"" + d.name + "\", " + numbers + "},";
}

// Row by row, so that a failure names the pictures that differ; a table of another length
// is printed whole.
void ExpectTable(const std::vector<SDecoded>& decoded, const std::vector<SDecoded>& table) {
    if (decoded.size() != table.size()) {
        std::string rows;
        for (const SDecoded& d : decoded)
            rows += "\n    " + Row(d);
        ADD_FAILURE() << decoded.size() << " pictures, the table has " << table.size() << ":"
                      << rows;
        return;
    }
    for (size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(Row(decoded[i]), Row(table[i]));
}

}  // namespace

TEST(DecodedPicturesTest, CommittedPicturesDecodeAsOnLinux) {
    std::vector<SDecoded> decoded;
    for (const SDecoded& want : kCommittedPictures)
        decoded.push_back(Decode(want.name, std::string(KESTRAN_SOURCE_DIR "/") + want.name));
    ExpectTable(decoded, kCommittedPictures);
}

// The seeds are written by this build's own libpng: a file checksum that differs shows the
// encoder at fault, a pixel checksum alone the decoder.
TEST(DecodedPicturesTest, FuzzSeedsEncodeAndDecodeAsOnLinux) {
    CTempDir dir;
    std::vector<SDecoded> decoded;
    for (const auto& [name, bytes] : fuzzcase::MakePngSeeds()) {
        const std::string path = dir.File(name);
        WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
        decoded.push_back(Decode(name, path));
    }
    ExpectTable(decoded, kFuzzSeeds);
}
