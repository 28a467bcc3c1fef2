#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "upload/DialWalk.h"

// The gauge's line: what the tool sends and what the device answers.
namespace wire {

// The stages of an upload, as the LOAD line numbers them.
constexpr int kIasStage = 1;
constexpr int kTasStage = 2;
constexpr int kTableStage = 3;

// The device's answers, each alone in one read: READY to a LOAD line, U for each pixel
// line taken, f for the angle-table line.
inline const std::string kReady = "READY";
constexpr char kPixelTaken = 'U';
constexpr char kTableTaken = 'f';

inline const std::string kContinue = "CON\r\n";
inline const std::string kEnd = "END\r\n";
inline const std::string kError = "ERR\r\n";

// "LOAD=%d%d\r\n"
std::string LoadLine(int stage, int dialCount);

// A pixel line: the digits of 255 - alpha, blue, green, red; prefixed by "count|" when the
// line carries a run.
std::string PixelLine(const upload::SPixelLine& line);

// Tenths of a degree as sent for one entry, rounded half up: the integer part of
// angle * 10 + 0.5. Nothing when it does not fit the line's three hexadecimal digits
// (angle below 0, above the largest the line carries, or not a number).
std::optional<int> AngleTenths(double angle);

// The angle-table line for entry count n (0..50): "%02X" of n, then "%03X" per entry, CR LF.
// entryText(k) gives the text of entry k (1-based). Nothing when n is out of range or an
// entry cannot be sent; then *badEntry (if given) is the first such entry, or 0.
std::optional<std::string> AngleTableLine(int n, const std::function<std::string(int)>& entryText,
                                          int* badEntry = nullptr);

}  // namespace wire
