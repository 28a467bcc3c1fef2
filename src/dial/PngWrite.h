#pragma once

#include "dial/PixelView.h"

// Write a picture as an 8-bit RGBA PNG file (RGB where it has no alpha) at a UTF-8 path.
// False when the file cannot be written completely.
bool WritePng(const char* path, const SPixelView& picture);
