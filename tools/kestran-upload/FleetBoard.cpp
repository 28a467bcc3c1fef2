#include "kestran-upload/FleetBoard.h"

#include <algorithm>

namespace {
constexpr int kBarWidth = 20;
}  // namespace

CFleetBoard::~CFleetBoard() {
    Finish();
}

IUploadReport& CFleetBoard::AddGauge(const std::string& port) {
    std::lock_guard<std::mutex> lock(m_mutex);
    SGauge gauge;
    gauge.port = port;
    m_gauges.push_back(gauge);
    m_reports.push_back(std::make_unique<CGaugeReport>(*this, m_gauges.size() - 1));
    return *m_reports.back();
}

void CFleetBoard::Say(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    PrintAbove(text + "\n");
}

void CFleetBoard::Message(size_t gauge, const SMessage& message) {
    std::lock_guard<std::mutex> lock(m_mutex);
    // Each line carries the port, so that messages of two gauges never mix.
    const std::string& port = m_gauges[gauge].port;
    std::string lines = port + ": " + message.text + "\n";
    if (!message.reason.empty())
        lines += port + ":   " + message.reason + "\n";
    PrintAbove(lines);
}

void CFleetBoard::Status(size_t gauge, const std::string& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_gauges[gauge].status = text;
    if (m_terminal) {
        m_gauges[gauge].shown = true;
        Redraw(true);
        return;
    }
    std::fprintf(m_out, "%s: %s\n", m_gauges[gauge].port.c_str(), text.c_str());
    std::fflush(m_out);
}

void CFleetBoard::Progress(size_t gauge, int percent) {
    std::lock_guard<std::mutex> lock(m_mutex);
    SGauge& g = m_gauges[gauge];
    g.percent = percent;
    if (m_terminal) {
        g.shown = true;
        Redraw(false);
        return;
    }
    const int step = percent / 10 * 10;
    if (step != g.lastStep) {
        g.lastStep = step;
        std::fprintf(m_out, "%s: %d%%\n", g.port.c_str(), step);
        std::fflush(m_out);
    }
}

void CFleetBoard::EraseBlock() {
    if (m_blockLines == 0)
        return;
    // Up to the block's first line, and everything from there erased.
    std::fprintf(m_out, "\033[%zuA\r\033[J", m_blockLines);
    m_blockLines = 0;
}

void CFleetBoard::PrintAbove(const std::string& lines) {
    if (m_terminal)
        EraseBlock();
    std::fputs(lines.c_str(), m_out);
    if (m_terminal)
        Redraw(true);
    std::fflush(m_out);
}

void CFleetBoard::Redraw(bool force) {
    if (!m_redraw.Due(force))
        return;
    size_t portWidth = 0;
    for (const SGauge& g : m_gauges)
        portWidth = std::max(portWidth, g.port.size());
    EraseBlock();
    for (const SGauge& g : m_gauges) {
        if (!g.shown)
            continue;
        const std::string bar = ProgressBar(g.percent, kBarWidth);
        char head[64];
        std::snprintf(head, sizeof head, " [%s] %3d%%  ", bar.c_str(), g.percent);
        std::string line = g.port + std::string(portWidth - g.port.size(), ' ') + head + g.status;
        // A line that wrapped would take two rows, and the block would no longer redraw.
        const size_t room = static_cast<size_t>(std::max(m_columns - 1, 20));
        if (line.size() > room)
            line.resize(room);
        std::fprintf(m_out, "%s\n", line.c_str());
        ++m_blockLines;
    }
    std::fflush(m_out);
}

void CFleetBoard::Finish() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_terminal)
        return;
    Redraw(true);
    // The block stays as it is; what follows is printed below it.
    m_blockLines = 0;
    for (SGauge& g : m_gauges)
        g.shown = false;
}
