#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace fuzzcase {

// Small PNG files of every colour type, depth and interlace the decoder meets, plus a few
// damaged ones, made on the spot: the seeds of the picture target. Named for what they are.
std::vector<std::pair<std::string, std::vector<uint8_t>>> MakePngSeeds();

}  // namespace fuzzcase
