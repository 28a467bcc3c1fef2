#include "artwork/UploadCost.h"

#include <cmath>
#include <cstdio>

#include "upload/WireFormat.h"

namespace artwork {

namespace {
constexpr long long kReadyBytes = 5;  // "READY"
}

SUploadCost UploadCost(const std::vector<const CImage*>& dials,
                       const std::optional<std::string>& tableLine) {
    SUploadCost cost;
    const int dialCount = static_cast<int>(dials.size());
    const int stages = dialCount + (tableLine ? 1 : 0);
    auto send = [&cost](long long lines, long long bytes) {
        cost.linesSent += lines;
        cost.bytesSent += bytes;
    };
    for (int i = 0; i < stages; ++i) {
        // The stage's number only shows in the LOAD line's digits; its length stays.
        const int stage = i < dialCount ? i + 1 : 3;
        send(1, static_cast<long long>(wire::LoadLine(stage, dialCount).size()));
        cost.bytesReceived += kReadyBytes;
        if (i < dialCount) {
            const runlength::SDialLines lines = runlength::CountDialLines(*dials[static_cast<size_t>(i)]);
            cost.dials.push_back(lines);
            send(lines.lines, lines.bytes);
            cost.bytesReceived += lines.lines;  // one "U" each
        } else {
            cost.tableBytes = static_cast<long long>(tableLine->size());
            send(1, cost.tableBytes);
            cost.bytesReceived += 1;  // "f"
        }
        const std::string& next = i + 1 < stages ? wire::kContinue : wire::kEnd;
        send(1, static_cast<long long>(next.size()));
    }
    return cost;
}

std::string WireTimeText(double seconds) {
    char text[64];
    const double tenths = std::round(seconds * 10.0) / 10.0;
    if (tenths < 60.0) {
        std::snprintf(text, sizeof text, "%.1f s", tenths);
    } else {
        const long long minutes = static_cast<long long>(tenths / 60.0);
        std::snprintf(text, sizeof text, "%lld min %.1f s", minutes, tenths - 60.0 * minutes);
    }
    return text;
}

}  // namespace artwork
