#pragma once

#include <chrono>
#include <string>

// One upload from the desktop window, driven by its own controls as a person would: the
// Select buttons with their file dialogs, the port list, Connect, the Max Speed check box
// and Update.
struct SWindowRun {
    std::string port;        // the device path to choose in the port list
    std::string ias, tas;    // PNG files of the dials; empty: not chosen
    bool table = false;      // tick Max Speed: the table the window starts with goes too
    int closeAtPercent = 0;  // close the window once the progress bar reaches this, answering
                             // Yes to the question; 0 never
    std::chrono::seconds timeout{600};
};

struct SWindowResult {
    bool completed = false;        // the upload ended completed
    bool closedMidway = false;     // the window was closed as asked, before the upload's end
    bool closeAsked = false;       // and the window asked first; the driver answered Yes
    bool portGivenBack = false;    // after the window ended: port closed, reader thread ended
    std::string status;            // the status line at the end
    std::string failure;           // a message box, a time-out: why it did not go as asked
    double uploadSeconds = 0;      // from the click on Update to the end seen
    long peakBeforeUploadKib = 0;  // peak resident memory before Update was clicked
    long peakKib = 0;              // and at the end
};

// Needs a running QApplication; shows the window, runs it until it ends.
SWindowResult RunWindowUpload(const SWindowRun& run);
