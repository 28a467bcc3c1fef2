#pragma once

// Reading a PNG file's bytes from memory with libpng's classic API: the source the reader
// takes its bytes from, the error handler that keeps libpng's words and jumps back, and the
// reader's structures, released on every way out.
#include <png.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace pngsource {

// The bytes being decoded, and libpng's complaint when it gives up.
struct SSource {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t at = 0;
    std::string error;
};

inline void RaiseError(png_structp png, png_const_charp message) {
    auto* source = static_cast<SSource*>(png_get_error_ptr(png));
    if (source != nullptr && message != nullptr)
        source->error = message;
    png_longjmp(png, 1);
}

inline void IgnoreWarning(png_structp, png_const_charp) {}

inline void ReadFromSource(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<SSource*>(png_get_io_ptr(png));
    if (length > source->size - source->at)
        png_error(png, "the file ends too early");
    std::memcpy(out, source->data + source->at, length);
    source->at += length;
}

struct SReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    // A reader for `source`, its bytes read from source->at on; false without memory.
    bool Create(SSource& source) {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, RaiseError, IgnoreWarning);
        if (png != nullptr)
            info = png_create_info_struct(png);
        return info != nullptr;
    }
    ~SReader() {
        if (png != nullptr)
            png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    }
};

}  // namespace pngsource
