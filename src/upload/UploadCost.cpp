#include "upload/UploadCost.h"

#include <cmath>

#include "angles/NumberText.h"
#include "upload/DialWalk.h"
#include "upload/WireFormat.h"

namespace upload {

SLineCount CountDialLines(const SPixelView& dial) {
    SLineCount count;
    for (const SPixelLine& line : DialLines(dial)) {
        ++count.lines;
        count.bytes += static_cast<long long>(wire::PixelLine(line).size());
    }
    return count;
}

SUploadCost UploadCost(const std::vector<SPixelView>& dials,
                       const std::optional<std::string>& tableLine) {
    SUploadCost cost;
    const int dialCount = static_cast<int>(dials.size());
    const int stages = dialCount + (tableLine ? 1 : 0);
    auto send = [&cost](long long lines, long long bytes) {
        cost.linesSent += lines;
        cost.bytesSent += bytes;
    };
    auto receive = [&cost](long long replies, long long bytes) {
        cost.replies += replies;
        cost.bytesReceived += bytes;
    };
    for (int i = 0; i < stages; ++i) {
        const int stage = i < dialCount ? wire::kIasStage + i : wire::kTableStage;
        send(1, static_cast<long long>(wire::LoadLine(stage, dialCount).size()));
        receive(1, static_cast<long long>(wire::kReady.size()));
        if (i < dialCount) {
            const SLineCount lines = CountDialLines(dials[static_cast<size_t>(i)]);
            cost.dials.push_back(lines);
            send(lines.lines, lines.bytes);
            receive(lines.lines, lines.lines);  // wire::kPixelTaken for each
        } else {
            cost.tableBytes = static_cast<long long>(tableLine->size());
            send(1, cost.tableBytes);
            receive(1, 1);  // wire::kTableTaken
        }
        const std::string& next = i + 1 < stages ? wire::kContinue : wire::kEnd;
        send(1, static_cast<long long>(next.size()));
    }
    return cost;
}

std::string WireTimeText(double seconds) {
    const double tenths = std::round(seconds * 10.0) / 10.0;
    if (tenths < 60.0)
        return numtext::FormatFixed(tenths, 1) + " s";
    const long long minutes = static_cast<long long>(tenths / 60.0);
    return std::to_string(minutes) + " min " + numtext::FormatFixed(tenths - 60.0 * minutes, 1) +
           " s";
}

}  // namespace upload
