#pragma once

#include <chrono>
#include <string>
#include <vector>

// Figures of one whole upload of one IAS dial to a virtual gauge over a pseudo-terminal,
// through the uploader's own path: the main dialog on the headless host, the terminal port
// and its reader thread.
struct SUploadFigures {
    bool completed = false;
    std::string failure;  // what went wrong when not completed

    int lines = 0;                  // lines the gauge received, LOAD and END included
    double uploadSeconds = 0;       // first byte of LOAD out to the last byte of END in
    double wireMinimumSeconds = 0;  // every byte both ways at 11 bits / 38400 baud
    // Per reply: from the gauge's write of the reply to the read of the tool's next line.
    std::vector<double> roundTripsMs;
    double turnaroundSeconds = 0;   // their sum: the time the tool's side takes
    double lateRepliesSeconds = 0;  // how late the gauge wrote replies, summed

    // The tool's side of the round trips in four parts, summed over the upload: from the
    // reply's write until the reader thread wakes, until the dialog reads the reply, until
    // it starts writing its next line, and until the gauge has read that line.
    double toReaderSeconds = 0;
    double handOffSeconds = 0;
    double handlerSeconds = 0;
    double toGaugeSeconds = 0;

    // Notifications the dialog handled (each one a wake-up of its thread), when known.
    int notifications = 0;
};

// Uploads the PNG file `dial` with the uploader's path; `wireTime` makes the gauge keep to
// the line's pace. `lines` receives the lines the gauge got.
SUploadFigures TimeUpload(const std::string& dial, bool wireTime, std::vector<std::string>* lines);

// The floor the machine sets: the same lines sent by one thread that sleeps in poll() on
// the port and writes the next line as soon as the reply is read, with no dialog, reader
// thread or hand-off between them.
SUploadFigures TimeReplay(const std::vector<std::string>& lines, bool wireTime);

// Figures of one upload from the desktop window in a process of its own (the program
// kestran-window-upload), driven by its buttons: IAS and TAS dial and the start-up table.
struct SWindowFigures {
    SUploadFigures upload;  // at the gauge; the window's own steps are not seen
    long peakBeforeUploadKib = 0;
    long peakKib = 0;
};
SWindowFigures TimeWindowUpload(const std::string& program, const std::string& dial, bool wireTime);

// The Windows uploader (kestran-upload.exe, run by Wine in the prefix WINEPREFIX names)
// uploading the PNG file `dial` as IAS dial to the gauge, whose pseudo-terminal Wine maps
// as COM9 for the run. Times are taken at the gauge, so Wine's start does not count.
SUploadFigures TimeWindowsUploader(const std::string& exe, const std::string& dial);
