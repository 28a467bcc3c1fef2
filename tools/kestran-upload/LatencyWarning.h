#pragma once

#include <optional>
#include <string>

#include "serial/AdapterLatency.h"

// What to tell the user before an upload whose gauge answers `replies` times, through an
// adapter with this latency timer; nothing when the timer is short enough (2 ms or less).
std::optional<std::string> LatencyWarning(const std::string& port, const SAdapterLatency& latency,
                                          long long replies);
