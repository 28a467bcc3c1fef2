#pragma once

// How an upload ended: the one answer that the window's state, the uploader's exit status
// and summary and the station's tally are all decided from.
enum class EUploadResult {
    Completed,    // the device took everything: "Update completed."
    GaugeError,   // the device answered what it should not; it was told ERR
    LineLost,     // the line to the device went away; it was told ERR where it could hear it
    NoAnswer,     // the device acknowledged nothing for too long; it was told ERR
    Refused,      // the input was refused; the upload never began, or not all was sent
    Interrupted,  // the user stopped it (Disconnect, closing, a signal); it was told ERR
};
