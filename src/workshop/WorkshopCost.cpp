#include "workshop/WorkshopCost.h"

#include <optional>

#include "base/GaugeFacts.h"
#include "upload/UploadCost.h"

namespace workshop {

SDialCost DialCost(const SRgbaPicture& dial) {
    const upload::SUploadCost cost = upload::UploadCost({dial.View()}, std::nullopt);
    SDialCost out;
    out.lines = cost.linesSent;
    out.wireSeconds = cost.WireSeconds();
    out.usbSeconds = out.wireSeconds + static_cast<double>(cost.replies) * kUsbLatencyMs / 1000.0;
    return out;
}

std::string DialCostText(const SDialCost& cost) {
    return std::to_string(cost.lines) + " lines: " + upload::WireTimeText(cost.wireSeconds) +
           " at " + std::to_string(gauge::kBaud) + " baud, " +
           upload::WireTimeText(cost.usbSeconds) + " through a USB adapter at " +
           std::to_string(kUsbLatencyMs) + " ms";
}

}  // namespace workshop
