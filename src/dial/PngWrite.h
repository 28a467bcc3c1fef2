#pragma once

class CImage;

// Write a 24- or 32-bit picture as an 8-bit RGB or RGBA PNG file at a UTF-8 path. False
// when the file cannot be written completely.
bool WritePng(const char* path, const CImage& image);
