#include "kestran-gauge/GaugeLog.h"

#include "kestran-gauge/ReceivedFiles.h"
#include "upload/WireFormat.h"

namespace {

// Pixel lines are at most 14 characters, the angle-table line at least 32.
constexpr size_t kLongestPixelLine = 16;

bool IsDataLine(std::string_view line) {
    return !line.empty() && line.find_first_not_of("0123456789ABCDEF|") == std::string_view::npos;
}

// A reply as it can be read in a log: control bytes spelled out.
std::string Shown(std::string_view bytes) {
    std::string text;
    for (char c : bytes) {
        if (c == '\r') {
            text += "<CR>";
        } else if (c == '\n') {
            text += "<LF>";
        } else if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", static_cast<unsigned char>(c));
            text += hex;
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace

void CGaugeLog::Say(const std::string& text) {
    std::fprintf(m_out, "kestran-gauge: %s\n", text.c_str());
    std::fflush(m_out);
}

void CGaugeLog::OnLine(std::string_view line, TimePoint, TimePoint) {
    // Pixel lines come by the thousand: only their count is told, at the stage's end.
    if (line.size() <= kLongestPixelLine && IsDataLine(line)) {
        ++m_pixelLines;
        return;
    }
    TellPixelLines();
    if (IsDataLine(line)) {
        Say("<- angle table line of " + std::to_string(line.size()) + " characters");
    } else {
        Say("<- " + Shown(line));
    }
}

void CGaugeLog::OnReply(std::string_view reply, TimePoint, TimePoint) {
    if (reply != std::string_view(&wire::kPixelTaken, 1))
        Say("-> " + Shown(reply));
}

void CGaugeLog::OnViolation(const std::string& text) {
    Say("protocol breach, " + text);
}

void CGaugeLog::OnUploadEnded(const CVirtualGauge& gauge) {
    const SWrittenFiles files = WriteReceivedFiles(gauge, m_outDir);
    std::string names;
    for (const std::string& name : files.names)
        names += " " + name;
    Say("upload " + std::to_string(gauge.UploadsEnded()) + " ended; the gauge holds" +
        (names.empty() ? std::string(" nothing") : names) + " (in " + m_outDir.string() + ")");
    if (!files.error.empty())
        Say(files.error);
}

void CGaugeLog::OnHangUp() {
    TellPixelLines();
    Say("hanging up in the middle of a dial, as asked");
}

void CGaugeLog::OnPortOpened() {
    Say("the port was opened");
}

void CGaugeLog::OnPortClosed() {
    TellPixelLines();
    Say("the port was closed");
}

void CGaugeLog::TellPixelLines() {
    if (m_pixelLines > 0)
        Say("  " + std::to_string(m_pixelLines) + " pixel lines");
    m_pixelLines = 0;
}
