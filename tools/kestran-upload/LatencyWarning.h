#pragma once

#include <optional>
#include <string>

#include "dial/CImage.h"
#include "serial/AdapterLatency.h"

// The lines of one dial that each wait for an acknowledgement: the LOAD line and the pixel
// lines that the run-length coding makes of the picture.
int DialLines(const CImage& dial);

// What to tell the user before an upload of `lines` acknowledged lines through an adapter
// with this latency timer; nothing when the timer is short enough (2 ms or less).
std::optional<std::string> LatencyWarning(const std::string& port, const SAdapterLatency& latency,
                                          int lines);
