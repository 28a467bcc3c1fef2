#include "kestran-upload/GaugeResult.h"

#include <algorithm>

#include "angles/NumberText.h"

EGaugeResult GaugeResultOf(EUploadResult result, EUploadOutcome outcome) {
    switch (result) {
        case EUploadResult::Completed:
            return EGaugeResult::Completed;
        case EUploadResult::ErrorEnd:
            return outcome == EUploadOutcome::LineLost ? EGaugeResult::LineLost
                                                       : EGaugeResult::GaugeError;
        case EUploadResult::NoAnswer:
            return EGaugeResult::NoAnswer;
        case EUploadResult::Interrupted:
            return EGaugeResult::Interrupted;
        case EUploadResult::Refused:
            break;
    }
    return EGaugeResult::Refused;
}

const char* GaugeResultWords(EGaugeResult result) {
    switch (result) {
        case EGaugeResult::Completed:
            return "completed";
        case EGaugeResult::GaugeError:
            return "gauge error";
        case EGaugeResult::LineLost:
            return "line lost";
        case EGaugeResult::NoAnswer:
            return "no answer";
        case EGaugeResult::Interrupted:
            return "interrupted";
        case EGaugeResult::Refused:
            break;
    }
    return "refused";
}

namespace {

std::string Padded(std::string text, size_t width, bool right = false) {
    if (text.size() >= width)
        return text;
    const std::string fill(width - text.size(), ' ');
    return right ? fill + text : text + fill;
}

}  // namespace

std::string SummaryTable(const std::vector<SGaugeSummary>& gauges) {
    size_t portWidth = 4;
    for (const SGaugeSummary& gauge : gauges)
        portWidth = std::max(portWidth, gauge.port.size());
    std::string table =
        Padded("port", portWidth) + "  " + Padded("result", 11) + "  seconds  lines\n";
    for (const SGaugeSummary& gauge : gauges) {
        std::string row = Padded(gauge.port, portWidth) + "  " +
                          Padded(GaugeResultWords(gauge.result), 11) + "  " +
                          Padded(numtext::FormatFixed(gauge.seconds, 1), 7, true) + "  " +
                          Padded(std::to_string(gauge.lines), 5, true);
        if (gauge.result != EGaugeResult::Completed && !gauge.why.empty())
            row += "  " + gauge.why;
        table += row + "\n";
    }
    return table;
}

int FleetExitStatus(const std::vector<SGaugeSummary>& gauges) {
    for (const SGaugeSummary& gauge : gauges) {
        if (gauge.result != EGaugeResult::Completed)
            return kNotEveryGaugeCompleted;
    }
    return 0;
}
