#include "kestran-upload/GaugeResult.h"

#include <algorithm>

#include "angles/NumberText.h"

const char* UploadResultWords(EUploadResult result) {
    switch (result) {
        case EUploadResult::Completed:
            return "completed";
        case EUploadResult::GaugeError:
            return "gauge error";
        case EUploadResult::LineLost:
            return "line lost";
        case EUploadResult::NoAnswer:
            return "no answer";
        case EUploadResult::Interrupted:
            return "interrupted";
        case EUploadResult::Refused:
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

std::string OneLine(const SMessage& why) {
    return why.reason.empty() ? why.text : why.text + ": " + why.reason;
}

std::string SummaryTable(const std::vector<SGaugeSummary>& gauges) {
    size_t portWidth = 4;
    for (const SGaugeSummary& gauge : gauges)
        portWidth = std::max(portWidth, gauge.port.size());
    std::string table =
        Padded("port", portWidth) + "  " + Padded("result", 11) + "  seconds  lines\n";
    for (const SGaugeSummary& gauge : gauges) {
        std::string row = Padded(gauge.port, portWidth) + "  " +
                          Padded(UploadResultWords(gauge.result), 11) + "  " +
                          Padded(numtext::FormatFixed(gauge.seconds, 1), 7, true) + "  " +
                          Padded(std::to_string(gauge.lines), 5, true);
        if (gauge.result != EUploadResult::Completed && !gauge.why.text.empty())
            row += "  " + OneLine(gauge.why);
        table += row + "\n";
    }
    return table;
}

int ExitStatus(EUploadResult result, int signal) {
    switch (result) {
        case EUploadResult::Completed:
            return 0;
        case EUploadResult::GaugeError:
        case EUploadResult::LineLost:
            return 1;
        case EUploadResult::Refused:
            break;
        case EUploadResult::NoAnswer:
            return 3;
        case EUploadResult::Interrupted:
            return 128 + signal;
    }
    return 2;
}

int FleetExitStatus(const std::vector<SGaugeSummary>& gauges) {
    for (const SGaugeSummary& gauge : gauges) {
        if (gauge.result != EUploadResult::Completed)
            return kNotEveryGaugeCompleted;
    }
    return 0;
}
