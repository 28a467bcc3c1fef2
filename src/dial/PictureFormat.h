#pragma once

#include <cstddef>
#include <cstdint>

// The kinds of picture file Kestran knows, told apart by their first bytes, never by the
// file's name.
enum class EPictureFormat { Unknown, Png, Jpeg, Bmp, Tiff, Webp };

EPictureFormat PictureFormatOf(const uint8_t* data, size_t size);

// "PNG", "JPEG", "BMP", "TIFF", "WebP"; empty for Unknown.
const char* PictureFormatName(EPictureFormat format);
