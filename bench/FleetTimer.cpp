#include "bench/FleetTimer.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "bench/GaugeSession.h"
#include "kestran-upload/FleetUpload.h"
#include "serial/PlatformServices.h"

namespace {

// Uploads to fresh gauges at the line's pace, all at once; the span at the gauges, or a
// failure.
bool UploadTogether(const std::string& dial, int count, double* seconds, std::string* failure) {
    std::vector<std::unique_ptr<CGaugeSession>> sessions;
    std::vector<std::string> ports;
    for (int i = 0; i < count; ++i) {
        sessions.push_back(std::make_unique<CGaugeSession>(true));
        if (!sessions.back()->IsServing()) {
            *failure = "no virtual gauge";
            return false;
        }
        ports.push_back(sessions.back()->Port());
    }
    SFleetServices services{MakePlatformServices(), nullptr, nullptr};
    SUploadRequest request;
    request.ias = dial;
    std::FILE* quiet = std::fopen("/dev/null", "w");
    if (quiet == nullptr) {
        *failure = "no /dev/null";
        return false;
    }
    std::vector<SGaugeSummary> summaries;
    {
        CFleetBoard board(quiet, false);
        summaries = UploadToAll(services, request, ports, board);
    }
    std::fclose(quiet);
    auto first = CGaugeTimes::TimePoint::max();
    auto last = CGaugeTimes::TimePoint::min();
    for (size_t i = 0; i < sessions.size(); ++i) {
        sessions[i]->Stop();
        const CGaugeTimes& times = sessions[i]->times;
        if (summaries[i].result != EUploadResult::Completed || !times.violation.empty()) {
            *failure = summaries[i].port + ": " + UploadResultWords(summaries[i].result) + " " +
                       OneLine(summaries[i].why) + times.violation;
            return false;
        }
        first = std::min(first, times.start);
        last = std::max(last, times.end);
    }
    *seconds = std::chrono::duration<double>(last - first).count();
    return true;
}

}  // namespace

SFleetFigures TimeFleet(const std::string& dial, int gauges, int singles) {
    SFleetFigures f;
    for (int i = 0; i < singles; ++i) {
        double seconds = 0;
        if (!UploadTogether(dial, 1, &seconds, &f.failure))
            return f;
        f.singleSeconds.push_back(seconds);
    }
    f.completed = UploadTogether(dial, gauges, &f.togetherSeconds, &f.failure);
    return f;
}
