#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Message.h"

class CImage;

// The rule every dial picture must pass, wherever one is chosen: a PNG of 230 x 230 pixels
// with alpha. Reads and decodes the file at `path` into `dial` and answers nothing when it
// passes; otherwise `dial` is empty and the answer is the refusal in the window's own words,
// with the reason beside it: the file's name, what it is, and where a dial is made of it.
// The file's bytes are left in `bytes` when asked for.
std::optional<SMessage> LoadDial(const std::string& path, CImage& dial,
                                 std::vector<uint8_t>* bytes = nullptr);
