#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

// Reads a picture file whole, so that one read serves every decoding of it. Only regular
// files are read: a pipe or a device could block for ever or never end, and a folder holds
// no picture. False, with a reason for a person in `why`, when the file cannot be had or
// is larger than `maxBytes`.
constexpr std::uintmax_t kMaxDialFileBytes = 64u << 20;
bool ReadPictureFile(const std::string& path, std::vector<uint8_t>& bytes, std::string* why,
                     std::uintmax_t maxBytes = kMaxDialFileBytes);
