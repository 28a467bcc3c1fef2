#pragma once

#include <deque>
#include <string>

#include "dialog/CTillerbyDlg.h"
#include "gauge/VirtualGauge.h"
#include "support/FakeSerialPort.h"

// Puts a virtual gauge on the far end of a fake line: every write of the dialog goes to
// the gauge, and each reply of the gauge comes back as a read of its own, handled by the
// dialog as the window would handle the reader thread's notification.
class CGaugeLink {
public:
    struct SResult {
        int replies = 0;       // messages delivered to the dialog
        int uploadsEnded = 0;  // END lines the gauge took as the end of an upload
        bool hungUp = false;   // the gauge asked for a hang-up, and the line was hung up
    };

    CGaugeLink(SFakeLine& line, CTillerbyDlg& dialog, CVirtualGauge& gauge)
        : m_line(line), m_dialog(dialog), m_gauge(gauge) {}

    // Runs the exchange until the gauge has nothing more to say.
    SResult RunUntilQuiet() {
        SResult result;
        std::deque<std::string> replies;
        for (;;) {
            for (const std::string& chunk : m_line.TakeWrites()) {
                SGaugeOutput out = m_gauge.Feed(chunk);
                if (out.uploadEnded) {
                    ++result.uploadsEnded;
                }
                replies.insert(replies.end(), out.replies.begin(), out.replies.end());
                if (out.hangUp) {
                    result.hungUp = true;
                    m_line.HangUp();
                    return result;
                }
            }
            if (replies.empty()) {
                return result;
            }
            m_line.Send(replies.front());
            replies.pop_front();
            m_dialog.OnSerialData(1, 0);
            ++result.replies;
        }
    }

private:
    SFakeLine& m_line;
    CTillerbyDlg& m_dialog;
    CVirtualGauge& m_gauge;
};
