#include "kestran-upload/Station.h"

#include <atomic>
#include <ctime>
#include <exception>
#include <list>
#include <memory>
#include <set>
#include <thread>

#include "angles/NumberText.h"
#include "kestran-upload/PortPattern.h"
#include "serial/PortNames.h"
#include "serial/SerInfo.h"

namespace {

using Clock = std::chrono::steady_clock;
// How often a station waiting for ports looks whether it is asked to stop.
constexpr std::chrono::milliseconds kStopCheck{50};

std::string LocalClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

// A port as a person names it: COM3 rather than a device-interface path.
std::string ShownName(const SSerInfo& port) {
    const std::string name = portnames::PortNameOf(port);
    return portnames::IsComName(name) ? name : port.devicePath;
}

struct SFoundPort {
    std::string path;
    std::string name;
};

class CPortWatch {
public:
    CPortWatch(const SFleetServices& services, const SStationOptions& options, CFleetBoard& board)
        : m_services(services), m_options(options), m_board(board) {}

    // The ports the search finds now that the pattern lets through.
    std::vector<SFoundPort> Ports() {
        SerInfoList list;
        try {
            if (m_services.dialog.findSerialPorts)
                m_services.dialog.findSerialPorts(list);
            m_warned = false;
        } catch (const std::exception& e) {
            // Said once per spell of failures, not every half second.
            if (!m_warned)
                m_board.Say(std::string("kestran-upload: the port list is incomplete: ") +
                            e.what());
            m_warned = true;
        }
        std::vector<SFoundPort> ports;
        for (const SSerInfo& port : list) {
            const std::string name = ShownName(port);
            if (!m_options.pattern || MatchesPortPattern(*m_options.pattern, name) ||
                MatchesPortPattern(*m_options.pattern, port.devicePath)) {
                ports.push_back({port.devicePath, name});
            }
        }
        return ports;
    }

private:
    const SFleetServices& m_services;
    const SStationOptions& m_options;
    CFleetBoard& m_board;
    bool m_warned = false;
};

struct SRunningUpload {
    std::string path;
    std::string clock;
    std::thread thread;
    std::atomic<bool> done{false};
    SGaugeSummary summary;
};

}  // namespace

std::string StationLine(const std::string& clock, const SGaugeSummary& summary) {
    std::string line = clock + "  " + summary.port + "  " + UploadResultWords(summary.result) +
                       "  " + numtext::FormatFixed(summary.seconds, 1) + " s";
    if (summary.result != EUploadResult::Completed && !summary.why.text.empty())
        line += "  " + OneLine(summary.why);
    return line;
}

SStationTally RunStation(const SFleetServices& services, const SUploadRequest& request,
                         const SStationOptions& options, CFleetBoard& board, std::FILE* results) {
    CPortWatch watch(services, options, board);
    std::set<std::string> known;
    if (!options.includePresent) {
        for (const SFoundPort& port : watch.Ports())
            known.insert(port.path);
    }
    board.Say("kestran-upload: waiting for gauges" +
              (known.empty()
                   ? std::string()
                   : " (" + std::to_string(known.size()) +
                         (known.size() == 1 ? " port" : " ports") + " present left alone)") +
              "; Ctrl-C ends the station");

    SStationTally tally;
    std::list<std::unique_ptr<SRunningUpload>> running;
    auto reap = [&](bool all) {
        for (auto it = running.begin(); it != running.end();) {
            SRunningUpload& upload = **it;
            if (!all && !upload.done.load()) {
                ++it;
                continue;
            }
            upload.thread.join();
            ++(upload.summary.result == EUploadResult::Completed ? tally.completed : tally.failed);
            std::fprintf(results, "%s\n", StationLine(upload.clock, upload.summary).c_str());
            std::fflush(results);
            it = running.erase(it);
        }
    };
    auto stopping = [&] { return services.pendingSignal && services.pendingSignal() != 0; };

    while (!stopping()) {
        const std::vector<SFoundPort> ports = watch.Ports();
        std::set<std::string> present;
        for (const SFoundPort& port : ports) {
            present.insert(port.path);
            if (!known.insert(port.path).second)
                continue;
            auto upload = std::make_unique<SRunningUpload>();
            upload->path = port.path;
            upload->clock = LocalClock();
            IUploadReport& report = board.AddGauge(port.name);
            SRunningUpload* u = upload.get();
            upload->thread = std::thread([&services, &request, &report, u, port] {
                u->summary = UploadToGauge(services, request, port.path, report);
                u->summary.port = port.name;
                u->done = true;
            });
            running.push_back(std::move(upload));
        }
        reap(false);
        // A port that went away is new when it comes back; one being loaded stays known.
        for (auto it = known.begin(); it != known.end();) {
            bool busy = false;
            for (const auto& upload : running)
                busy = busy || upload->path == *it;
            it = (present.count(*it) != 0 || busy) ? std::next(it) : known.erase(it);
        }
        const Clock::time_point next = Clock::now() + options.pollInterval;
        while (Clock::now() < next && !stopping())
            std::this_thread::sleep_for(kStopCheck);
    }
    reap(true);
    std::fprintf(results, "Station ended: %d completed, %d failed\n", tally.completed,
                 tally.failed);
    std::fflush(results);
    return tally;
}
