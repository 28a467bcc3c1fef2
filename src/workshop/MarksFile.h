#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "workshop/Calibration.h"

// The small file beside a saved dial that keeps its calibration, so that the dial opens
// again in the workshop with its pivot, rest, direction, maximum speed and marks:
//
//     Kestran dial marks
//     pivot 115.000 115.000
//     rest 210.000
//     turns clockwise
//     max 200
//     mark 40 60.250 180.500 tick
//     mark 60 50.100 150.200 point
//
// Numbers with the full stop; positions in the dial's pixels.
namespace workshop {

// DIAL.png -> DIAL.marks
std::string MarksPathBeside(const std::string& dialPath);
// DIAL.png -> DIAL.gac, where the table is offered to be saved with the dial.
std::string TablePathBeside(const std::string& dialPath);

std::string MarksText(const SCalibration& calibration);

// Nothing, with the line at fault in `why`, for a text that is not such a file.
std::optional<SCalibration> ParseMarks(std::string_view text, std::string* why);

// The file beside the dial read and parsed; nothing when there is none (`why` empty) or it
// does not parse (`why` says where).
std::optional<SCalibration> ReadMarksBeside(const std::string& dialPath, std::string* why);

}  // namespace workshop
