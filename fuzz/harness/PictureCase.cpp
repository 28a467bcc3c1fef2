#include "harness/PictureCase.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dial/CImage.h"
#include "dial/PictureLimits.h"
#include "dial/PixelOps.h"
#include "dial/PngWrite.h"
#include "harness/FuzzCheck.h"
#include "harness/ScratchDir.h"

namespace fuzzcase {
namespace {

// Pictures up to this many pixels are also written back and reloaded.
constexpr long long kRoundTripPixels = 256 * 256;

void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FuzzCheck(file != nullptr, "cannot write the scratch file");
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    const bool closed = std::fclose(file) == 0;
    FuzzCheck(written && closed, "cannot write the scratch file");
}

void CheckShape(const CImage& image) {
    FuzzCheck(!image.IsNull() && image.GetBits() != nullptr, "a loaded picture is empty");
    FuzzCheck(image.GetWidth() >= 1 && image.GetWidth() <= picture::kMaxSide &&
                  image.GetHeight() >= 1 && image.GetHeight() <= picture::kMaxSide,
              "a loaded picture has a size outside 1..8192");
    FuzzCheck(image.GetBPP() == 24 || image.GetBPP() == 32, "bits per pixel not 24 or 32");
    FuzzCheck(image.HasAlpha() == (image.GetBPP() == 32), "alpha flag does not match the depth");
    FuzzCheck(image.GetPitch() == -CImage::RowLength(image.GetWidth(), image.GetBPP()),
              "pitch is not minus the row length");
}

// Every byte of every row is read, so a row outside the buffer shows.
unsigned Checksum(const CImage& image) {
    unsigned sum = 0;
    const int rowBytes = image.GetWidth() * image.GetBPP() / 8;
    for (int y = 0; y < image.GetHeight(); ++y) {
        const uint8_t* row = image.PixelAt(0, y);
        for (int i = 0; i < rowBytes; ++i)
            sum = sum * 31 + row[i];
    }
    return sum;
}

void CheckRoundTrip(const CScratchDir& scratch, const CImage& image) {
    const std::string path = scratch.File("again.png");
    FuzzCheck(WritePng(path.c_str(), image.View()), "a loaded picture cannot be written back");
    CImage again;
    FuzzCheck(again.Load(path.c_str()) == ImageLoadResult::Ok, "a written picture does not load");
    FuzzCheck(again.GetWidth() == image.GetWidth() && again.GetHeight() == image.GetHeight() &&
                  again.GetBPP() == image.GetBPP(),
              "a written picture reloads with another shape");
    const size_t rowBytes = static_cast<size_t>(image.GetWidth()) * image.GetBPP() / 8;
    for (int y = 0; y < image.GetHeight(); ++y) {
        FuzzCheck(std::memcmp(again.PixelAt(0, y), image.PixelAt(0, y), rowBytes) == 0, [y] {
            return "a written picture reloads with other pixels in row " + std::to_string(y);
        });
    }
}

void CheckPremultiplied(const CImage& image) {
    if (image.GetBPP() != 32)
        return;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            const uint8_t* p = image.PixelAt(x, y);
            FuzzCheck(p[0] <= p[3] && p[1] <= p[3] && p[2] <= p[3],
                      "a premultiplied colour exceeds its alpha");
        }
    }
}

// Draws at (x, y) onto a patterned surface held in a buffer of exactly its size; nothing
// outside the picture's clipped rectangle may change.
void CheckDrawAt(const CImage& image, int x, int y) {
    constexpr int kWidth = 61, kHeight = 47;
    std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>(i * 7 + 3);
    const std::vector<uint8_t> before = pixels;
    SSurface surface{pixels.data(), kWidth, kHeight, kWidth * 4};
    FuzzCheck(pixelops::Draw(image, surface, x, y), "drawing a loaded picture failed");
    for (int row = 0; row < kHeight; ++row) {
        for (int col = 0; col < kWidth; ++col) {
            const bool covered =
                col >= x && col < x + image.GetWidth() && row >= y && row < y + image.GetHeight();
            const size_t at = (static_cast<size_t>(row) * kWidth + static_cast<size_t>(col)) * 4;
            if (!covered) {
                FuzzCheck(std::memcmp(&pixels[at], &before[at], 4) == 0,
                          "drawing changed a pixel outside the picture");
            } else if (!image.HasAlpha()) {
                FuzzCheck(pixels[at + 3] == 255, "an opaque copy left alpha below 255");
            }
        }
    }
}

}  // namespace

void RunPicture(const CScratchDir& scratch, const uint8_t* data, size_t size) {
    const std::string path = scratch.File("picture.png");
    WriteBytes(path, data, size);

    CImage image;
    const ImageLoadResult result = image.Load(path.c_str());
    if (result != ImageLoadResult::Ok) {
        FuzzCheck(image.IsNull(), "a refused picture left pixels behind");
        return;
    }
    CheckShape(image);
    const unsigned sum = Checksum(image);

    const long long pixels = static_cast<long long>(image.GetWidth()) * image.GetHeight();
    if (pixels <= kRoundTripPixels)
        CheckRoundTrip(scratch, image);
    FuzzCheck(Checksum(image) == sum, "writing a picture changed its pixels");

    pixelops::Premultiply(image);
    CheckPremultiplied(image);

    const int w = image.GetWidth(), h = image.GetHeight();
    for (const auto& [x, y] : {std::pair{0, 0},
                               {1 - w, 1 - h},
                               {60, 46},
                               {-w / 2, 23},
                               {30, -h / 2},
                               {-w, 0},
                               {0, 47},
                               {61, 0}}) {
        CheckDrawAt(image, x, y);
    }
}

}  // namespace fuzzcase
