#include "kestran-upload/ConsoleReport.h"

namespace {
constexpr int kBarWidth = 30;
}  // namespace

void CConsoleReport::Message(const SMessage& message) {
    Finish();
    std::fprintf(m_out, "kestran-upload: %s\n", message.text.c_str());
    if (!message.reason.empty())
        std::fprintf(m_out, "  %s\n", message.reason.c_str());
    std::fflush(m_out);
}

void CConsoleReport::Verbose(const std::string& lines) {
    Finish();
    std::fputs(lines.c_str(), m_out);
    std::fflush(m_out);
}

void CConsoleReport::Status(const std::string& text) {
    m_status = text;
    if (m_terminal) {
        DrawBar(true);
        return;
    }
    std::fprintf(m_out, "%s\n", text.c_str());
    std::fflush(m_out);
}

void CConsoleReport::Progress(int percent) {
    m_percent = percent;
    if (m_terminal) {
        DrawBar(false);
        return;
    }
    const int step = percent / 10 * 10;
    if (step != m_lastStep) {
        m_lastStep = step;
        std::fprintf(m_out, "%d%%\n", step);
        std::fflush(m_out);
    }
}

void CConsoleReport::DrawBar(bool force) {
    if (!m_redraw.Due(force))
        return;
    const std::string bar = ProgressBar(m_percent, kBarWidth);
    // Carriage return and erase to the end of the line: the bar redraws in place.
    std::fprintf(m_out, "\r\033[K[%s] %3d%%  %s", bar.c_str(), m_percent, m_status.c_str());
    std::fflush(m_out);
    m_barShown = true;
}

void CConsoleReport::Finish() {
    if (!m_barShown)
        return;
    DrawBar(true);
    std::fputc('\n', m_out);
    std::fflush(m_out);
    m_barShown = false;
}
