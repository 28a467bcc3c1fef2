#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "kestran-upload/CommandLineUpload.h"
#include "kestran-upload/TerminalBar.h"

// Reports an upload on the error stream: on a terminal as one bar that redraws itself,
// otherwise as plain lines (each status text, and the progress in steps of 10 %).
class CConsoleReport : public IUploadReport {
public:
    CConsoleReport(std::FILE* out, bool terminal) : m_out(out), m_terminal(terminal) {}
    ~CConsoleReport() override { Finish(); }
    CConsoleReport(const CConsoleReport&) = delete;
    CConsoleReport& operator=(const CConsoleReport&) = delete;

    void Message(const SMessage& message) override;
    void Status(const std::string& text) override;
    void Progress(int percent) override;
    void Verbose(const std::string& lines) override;
    // Ends the bar's line, if one is drawn.
    void Finish();

private:
    void DrawBar(bool force);

    std::FILE* m_out;
    bool m_terminal;
    std::string m_status;
    int m_percent = 0;
    int m_lastStep = 0;  // last 10 % step told, without a terminal
    bool m_barShown = false;
    CRedrawThrottle m_redraw{std::chrono::milliseconds(50)};
};
