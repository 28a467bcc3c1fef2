#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dial/PixelView.h"

struct SSurface;

// Result of CImage::Load. OutOfMemory: the picture's header was read and its buffer made,
// but its pixels could not all be read; the container is empty all the same.
enum class ImageLoadResult { Ok, Fail, OutOfMemory };

// A picture held as a device-independent bitmap: rows stored bottom-up, so the pitch is
// negative and the pixel base points at the top row; 32-bit pixels are the bytes blue,
// green, red, alpha with straight alpha. Every reader addresses pixels through
// GetBits() + y * GetPitch() + x * GetBPP() / 8.
class CImage {
public:
    CImage() = default;
    ~CImage() = default;
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // Decode a PNG file into this container, releasing what it held. Pictures with any
    // transparency become 32 bits per pixel with the alpha flag, others 24. Whenever the
    // result is not Ok the container is empty: never a partly filled picture, and `why`
    // (when given) says what was wrong. Only regular files are read.
    ImageLoadResult Load(const char* path, std::string* why = nullptr);
    // The same from the bytes of a PNG file.
    ImageLoadResult LoadFromMemory(const uint8_t* data, size_t size, std::string* why = nullptr);

    // Make a zero-filled buffer of the given size (bits per pixel 24 or 32). False, and
    // empty, when the size is out of range or the memory cannot be had.
    bool Create(int width, int height, int bitsPerPixel, bool hasAlpha);

    // Release the picture; the container is empty afterwards. Releasing an empty one does
    // nothing.
    void Destroy();

    // Draw the whole picture unscaled with its top-left corner at (x, y) of `target`:
    // alpha-blended (premultiplied source) with the alpha flag set, an opaque copy
    // otherwise. False when the container is empty or there is no surface.
    bool Draw(SSurface& target, int x, int y) const;

    bool IsNull() const { return m_block.empty(); }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetBPP() const { return m_bpp; }
    int GetPitch() const { return m_pitch; }
    bool HasAlpha() const { return m_alpha; }
    // Address of the first byte of the top row, or null when empty.
    uint8_t* GetBits() { return m_base; }
    const uint8_t* GetBits() const { return m_base; }
    // Address of pixel (x, y), y = 0 being the top row.
    uint8_t* PixelAt(int x, int y) { return m_base + y * m_pitch + x * (m_bpp / 8); }
    const uint8_t* PixelAt(int x, int y) const { return m_base + y * m_pitch + x * (m_bpp / 8); }

    // The pixels of a 24- or 32-bit picture, as the walk and the writers read them.
    SPixelView View() const { return {m_base, m_width, m_height, m_pitch, m_bpp / 8, true}; }

    // Bytes per stored row: rows start on 4-byte boundaries.
    static long long RowLength(int width, int bitsPerPixel) {
        return ((static_cast<long long>(width) * bitsPerPixel + 31) / 32) * 4;
    }

private:
    std::vector<uint8_t> m_block;  // the whole buffer, bottom row first
    uint8_t* m_base = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_pitch = 0;
    int m_bpp = 0;
    bool m_alpha = false;
};
