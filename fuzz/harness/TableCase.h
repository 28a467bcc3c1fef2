#pragma once

#include <cstddef>
#include <cstdint>

class CHeadlessHost;

namespace fuzzcase {

// Input: a first line "n decimals trim min max step wrap delta..." and then one entry text
// per line. Builds the angle-table line of n entries from the texts (it must be well formed
// and say what the texts say, or be refused for an entry that does not fit), and steps a
// numeric spin control with those settings from each text (its text must read back as the
// value it shows, inside the range it keeps).
// `host` holds the spin control's buddy; it may be reused from one input to the next.
void RunTable(CHeadlessHost& host, const uint8_t* data, size_t size);

}  // namespace fuzzcase
