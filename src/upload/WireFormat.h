#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The lines the tool sends to the gauge.
namespace wire {

inline const std::string kContinue = "CON\r\n";
inline const std::string kEnd = "END\r\n";
inline const std::string kError = "ERR\r\n";

// "LOAD=%d%d\r\n"
std::string LoadLine(int stage, int dialCount);

// A pixel line for the 4 bytes blue, green, red, alpha at `bgra`: the digits of 255 - alpha,
// blue, green, red; prefixed by "count|" when runCount > 0.
std::string PixelLine(const uint8_t* bgra, int runCount);

// Tenths of a degree as sent for one entry, rounded half up: the integer part of
// angle * 10 + 0.5. Nothing when it does not fit the line's three hexadecimal digits
// (angle below 0, 409.55 or more, or not a number).
std::optional<int> AngleTenths(double angle);

// The angle-table line for entry count n (0..50): "%02X" of n, then "%03X" per entry, CR LF.
// entryText(k) gives the text of entry k (1-based). Nothing when n is out of range or an
// entry cannot be sent; then *badEntry (if given) is the first such entry, or 0.
std::optional<std::string> AngleTableLine(int n, const std::function<std::string(int)>& entryText,
                                          int* badEntry = nullptr);

}  // namespace wire
