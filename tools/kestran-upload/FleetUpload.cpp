#include "kestran-upload/FleetUpload.h"

#include <chrono>
#include <thread>

SGaugeSummary UploadToGauge(const SFleetServices& services, SUploadRequest request,
                            const std::string& port, IUploadReport& report) {
    CCommandLineUpload upload(services.dialog, report);
    upload.SetInterruption(services.pendingSignal);
    upload.SetLatencyCheck(services.latencyCheck);
    request.port = port;
    request.verbose = false;  // the table was shown once, before
    const auto start = std::chrono::steady_clock::now();
    const EUploadResult result = upload.Run(request);
    SGaugeSummary summary;
    summary.port = port;
    summary.result = result;
    summary.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    summary.lines = upload.LinesSent();
    summary.why = upload.LastMessage();
    return summary;
}

std::vector<SGaugeSummary> UploadToAll(const SFleetServices& services,
                                       const SUploadRequest& request,
                                       const std::vector<std::string>& ports, CFleetBoard& board) {
    std::vector<SGaugeSummary> summaries(ports.size());
    std::vector<IUploadReport*> reports;
    for (const std::string& port : ports)
        reports.push_back(&board.AddGauge(port));
    std::vector<std::thread> threads;
    threads.reserve(ports.size());
    for (size_t i = 0; i < ports.size(); ++i) {
        threads.emplace_back(
            [&, i] { summaries[i] = UploadToGauge(services, request, ports[i], *reports[i]); });
    }
    for (std::thread& thread : threads)
        thread.join();
    return summaries;
}
