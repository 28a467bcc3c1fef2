#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/GaugeFacts.h"
#include "dial/PixelView.h"

// What an upload sends and receives, summed over the very lines the upload makes, and its
// time on the wire.
namespace upload {

struct SLineCount {
    long long lines = 0;
    long long bytes = 0;  // CR LF included
};

// The pixel lines of one dial.
SLineCount CountDialLines(const SPixelView& dial);

struct SUploadCost {
    std::vector<SLineCount> dials;  // each dial's pixel lines
    long long tableBytes = 0;       // the angle-table line, 0 without one
    long long linesSent = 0;        // every line the tool writes
    long long bytesSent = 0;
    long long replies = 0;  // the device's answers: READY, and one per data line
    long long bytesReceived = 0;

    double WireSeconds() const {
        return static_cast<double>(bytesSent + bytesReceived) * gauge::kBitsPerByte / gauge::kBaud;
    }
    // With a USB serial adapter that holds every reply back for its latency timer.
    double AdapterSeconds(int latencyMs) const {
        return WireSeconds() + static_cast<double>(replies) * latencyMs / 1000.0;
    }
};

// The latency timer of an FTDI adapter as it comes: the most common USB serial adapter.
constexpr int kDefaultAdapterLatencyMs = 16;

// The whole exchange for one or two dials (IAS before TAS), then the table line if given.
SUploadCost UploadCost(const std::vector<SPixelView>& dials,
                       const std::optional<std::string>& tableLine);

// "1 min 23.4 s" or "4.2 s".
std::string WireTimeText(double seconds);

}  // namespace upload
