#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The one line of a gauge configuration file: the entry count, then one angle per active
// entry, separated by "|".
namespace gacfile {

// Loading reads no more than this of the first line; saving never writes a longer one.
constexpr size_t kMaxLineChars = 511;

// Splits as strtok with the delimiter "|" does: runs of "|" separate, empty fields are
// skipped, nothing is trimmed.
std::vector<std::string> SplitFields(std::string_view line);

}  // namespace gacfile
