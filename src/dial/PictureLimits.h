#pragma once

#include <cstdint>
#include <string>

// What a picture may be: checked from a file's header, before any pixel is decoded.
namespace picture {

constexpr int kMaxSide = 16384;
constexpr uint64_t kMaxDecodedBytes = 256ull << 20;  // at 4 bytes a pixel
// A file can hold no more than its decoded pixels, plus room for what a format stores
// beside them; a BMP at the decoded limit is about that large.
constexpr uint64_t kMaxFileBytes = kMaxDecodedBytes + (16u << 20);

// Empty when a picture of this size may be decoded, otherwise why not.
std::string SizeRefusal(uint64_t width, uint64_t height);

}  // namespace picture
