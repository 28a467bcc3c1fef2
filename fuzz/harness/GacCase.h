#pragma once

#include <cstddef>
#include <cstdint>

class CScratchDir;

namespace fuzzcase {

// Writes the bytes as a gauge configuration file, loads it with the Load button of a
// fresh dialog, saves what was loaded with the Save button, and loads the saved file
// again. A refused file must leave the table as it was; a saved file must be one line of
// the entry count and that many one-decimal angles, and must load back to the same line.
void RunGacFile(const CScratchDir& scratch, const uint8_t* data, size_t size);

}  // namespace fuzzcase
