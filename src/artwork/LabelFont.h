#pragma once

#include <cstdint>

// The font the sheets' labels are drawn in (DejaVu Sans, whose licence travels with the
// program), held inside the program so that every copy draws the same labels.
namespace artwork {

const uint8_t* LabelFontData();

}  // namespace artwork
