#pragma once

#include <cstddef>
#include <cstdint>

class CScratchDir;

namespace fuzzcase {

// Writes the bytes to a file, loads it as a dial picture, and works on what loaded as the
// dialog does: reads every pixel, writes it back as PNG and reloads it (small pictures),
// premultiplies it and draws it clipped at the edges of a surface. Raises CFuzzFailure
// when a rule of the picture container breaks.
void RunPicture(const CScratchDir& scratch, const uint8_t* data, size_t size);

}  // namespace fuzzcase
