#pragma once

#include <optional>
#include <string>

#include "base/Message.h"
#include "serial/AdapterLatency.h"

// What to tell the user before an upload whose gauge answers `replies` times, through an
// adapter with this latency timer, and how to shorten it; nothing when the timer is short enough (2
// ms or less).
std::optional<SMessage> LatencyWarning(const std::string& port, const SAdapterLatency& latency,
                                       long long replies);
