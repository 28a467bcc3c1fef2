#pragma once

// How the last upload ended, for callers that must act on it (the command-line uploader,
// benches, tests) without reading the status line's wording.
enum class EUploadOutcome {
    None,       // no Update yet
    Running,    // from Update until one of the ends below
    Completed,  // the device took everything: "Update completed."
    ErrorEnd,   // ERR was sent: an unexpected reply, a Disconnect or a Yes to the close question
    LineLost,   // an error end because the reader found the line gone
};
