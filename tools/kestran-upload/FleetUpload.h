#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kestran-upload/CommandLineUpload.h"
#include "kestran-upload/FleetBoard.h"
#include "kestran-upload/GaugeResult.h"

// What every upload of a fleet or a station shares: the machine's services, the signal to
// stop, and the adapter latency check.
struct SFleetServices {
    SDialogServices dialog;
    std::function<int()> pendingSignal;
    std::function<std::optional<SAdapterLatency>(const std::string&)> latencyCheck;
};

// One upload of `request` to `port`, reported through `report` (a gauge of a board), with
// its own dialog, host, port and reader thread: made to run beside others on a thread of
// its own.
SGaugeSummary UploadToGauge(const SFleetServices& services, SUploadRequest request,
                            const std::string& port, IUploadReport& report);

// The same request to every port at once; one summary per port, in the order given. A port
// that cannot be opened or a gauge that fails does not stop the others.
std::vector<SGaugeSummary> UploadToAll(const SFleetServices& services,
                                       const SUploadRequest& request,
                                       const std::vector<std::string>& ports, CFleetBoard& board);
