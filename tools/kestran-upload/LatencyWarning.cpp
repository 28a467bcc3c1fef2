#include "kestran-upload/LatencyWarning.h"

#include "angles/NumberText.h"

namespace {
constexpr int kMaxHarmlessMs = 2;
}  // namespace

std::optional<SMessage> LatencyWarning(const std::string& port, const SAdapterLatency& latency,
                                       long long replies) {
    if (latency.milliseconds <= kMaxHarmlessMs)
        return std::nullopt;
    const double seconds = static_cast<double>(replies) * latency.milliseconds / 1000.0;
    return SMessage("the adapter of " + port + " holds every reply back for " +
                        std::to_string(latency.milliseconds) + " ms (its latency timer): the " +
                        std::to_string(replies) + " lines of this upload take about " +
                        numtext::FormatFixed(seconds, 0) + " seconds longer.",
                    "Set the timer to 1 ms: " + latency.howToSet);
}
