#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "kestran-upload/FleetUpload.h"

// How a station picks the ports it loads.
struct SStationOptions {
    bool includePresent = false;         // load the ports present at the start too
    std::optional<std::string> pattern;  // only ports whose name or path matches
    std::chrono::milliseconds pollInterval{500};
};

// Counts of the uploads a station ran.
struct SStationTally {
    int completed = 0;
    int failed = 0;
};

// A loading station: looks for new ports with the port search every poll interval, uploads
// the request to each port that appears (each on a thread of its own, beside the others),
// and writes one result line per upload to `results` ("time  port  result  seconds"). A
// port counts as new when it was not there at the start (unless included) or since its last
// upload. Runs until a signal asks to stop; running uploads then end as interrupted, and the
// tally line is written.
SStationTally RunStation(const SFleetServices& services, const SUploadRequest& request,
                         const SStationOptions& options, CFleetBoard& board, std::FILE* results);

// The result line of one upload, begun at the local time `clock` ("HH:MM:SS").
std::string StationLine(const std::string& clock, const SGaugeSummary& summary);
