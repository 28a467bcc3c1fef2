#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "kestran-upload/CommandLineUpload.h"
#include "kestran-upload/TerminalBar.h"

// Reports the uploads to several gauges on one stream, each gauge through a report of its
// own that any thread may use. On a terminal every gauge has a line that redraws itself in
// place (port, bar, percent, status), with messages printed above them; otherwise each
// message, status text and 10 % step is a plain line that begins with its port.
class CFleetBoard {
public:
    // `columns`: the terminal's width; longer lines are cut so that none wraps.
    CFleetBoard(std::FILE* out, bool terminal, int columns = 80)
        : m_out(out), m_terminal(terminal), m_columns(columns) {}
    ~CFleetBoard();
    CFleetBoard(const CFleetBoard&) = delete;
    CFleetBoard& operator=(const CFleetBoard&) = delete;

    // A new gauge's report; it lives as long as the board.
    IUploadReport& AddGauge(const std::string& port);
    // A line of the board's own, above the gauges' lines.
    void Say(const std::string& text);
    // Draws the gauges' lines a last time and leaves them; later output goes below.
    void Finish();

private:
    class CGaugeReport : public IUploadReport {
    public:
        CGaugeReport(CFleetBoard& board, size_t index) : m_board(board), m_index(index) {}
        void Message(const SMessage& message) override { m_board.Message(m_index, message); }
        void Status(const std::string& text) override { m_board.Status(m_index, text); }
        void Progress(int percent) override { m_board.Progress(m_index, percent); }
        // The table is shown once, before the gauges start.
        void Verbose(const std::string&) override {}

    private:
        CFleetBoard& m_board;
        size_t m_index;
    };
    struct SGauge {
        std::string port;
        std::string status;
        int percent = 0;
        int lastStep = 0;
        bool shown = false;  // still on the terminal's block of lines
    };

    void Message(size_t gauge, const SMessage& message);
    void Status(size_t gauge, const std::string& text);
    void Progress(size_t gauge, int percent);
    // Under the lock: prints lines above the block, then the block again.
    void PrintAbove(const std::string& lines);
    void Redraw(bool force);
    void EraseBlock();

    mutable std::mutex m_mutex;
    std::FILE* m_out;
    bool m_terminal;
    int m_columns;
    std::vector<SGauge> m_gauges;
    std::vector<std::unique_ptr<CGaugeReport>> m_reports;
    size_t m_blockLines = 0;  // lines of the block now on the terminal
    CRedrawThrottle m_redraw{std::chrono::milliseconds(100)};
};
