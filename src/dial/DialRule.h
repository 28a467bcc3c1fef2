#pragma once

#include <optional>
#include <string>

#include "base/Message.h"

class CImage;

// The rule every dial picture must pass, wherever one is chosen: decoded, 230 x 230 pixels,
// 32 bits with alpha. Nothing when `dial`, read from `path`, passes; otherwise the refusal
// in the window's own words, with what is wrong with this file as its reason. `loadError`
// says why a picture that is not there could not be had.
std::optional<SMessage> DialRefusal(const std::string& path, const CImage& dial,
                                    const std::string& loadError);
