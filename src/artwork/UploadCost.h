#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/GaugeFacts.h"
#include "upload/RunLengthWalk.h"

class CImage;

// What an upload will send and receive, counted with the upload's own walk and line
// formats, and its time on the wire at 38400 baud with 8 data bits, parity and a stop bit.
namespace artwork {

struct SUploadCost {
    std::vector<runlength::SDialLines> dials;  // each dial's pixel lines
    long long tableBytes = 0;                  // the angle-table line, 0 without one
    long long linesSent = 0;                   // every line the tool writes
    long long bytesSent = 0;
    long long bytesReceived = 0;  // the gauge's READY and acknowledgements

    double WireSeconds() const {
        return static_cast<double>(bytesSent + bytesReceived) * gauge::kBitsPerByte / gauge::kBaud;
    }
};

// The whole exchange for one or two dials (IAS before TAS), then the table line if given.
SUploadCost UploadCost(const std::vector<const CImage*>& dials,
                       const std::optional<std::string>& tableLine);

// "1 m 23.4 s" or "4.2 s".
std::string WireTimeText(double seconds);

}  // namespace artwork
