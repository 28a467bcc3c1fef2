#include "dial/PngWrite.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include "base/Utf8Path.h"

namespace {

void IgnoreWarning(png_structp, png_const_charp) {}
void RaiseError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

struct SPngWriter {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~SPngWriter() {
        if (png != nullptr)
            png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
        if (file != nullptr)
            std::fclose(file);
    }
};

bool Encode(SPngWriter& writer, const SPixelView& picture, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(writer.png)))
        return false;
    png_init_io(writer.png, writer.file);
    png_set_IHDR(writer.png, writer.info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 8,
                 picture.bytesPerPixel == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(writer.png, writer.info);
    if (picture.blueFirst)
        png_set_bgr(writer.png);
    png_write_image(writer.png, rows.data());
    png_write_end(writer.png, nullptr);
    return true;
}

}  // namespace

bool WritePng(const char* path, const SPixelView& picture) {
    if (picture.Empty() || (picture.bytesPerPixel != 3 && picture.bytesPerPixel != 4))
        return false;
    std::vector<png_bytep> rows(static_cast<size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(picture.At(0, y));
    }
    SPngWriter writer;
    writer.file = utf8path::Open(path, "wb");
    if (writer.file == nullptr)
        return false;
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
    if (writer.png == nullptr)
        return false;
    writer.info = png_create_info_struct(writer.png);
    if (writer.info == nullptr)
        return false;
    if (!Encode(writer, picture, rows))
        return false;
    const bool flushed = std::fflush(writer.file) == 0;
    const bool closed = std::fclose(writer.file) == 0;
    writer.file = nullptr;
    return flushed && closed;
}
