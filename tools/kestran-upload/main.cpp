// kestran-upload: uploads dials and an angle table to a gauge from the command line, through
// the main dialog's own handlers.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/Console.h"
#include "kestran-upload/CommandLineUpload.h"
#include "kestran-upload/ConsoleReport.h"
#include "kestran-upload/FleetUpload.h"
#include "kestran-upload/InterruptWatch.h"
#include "kestran-upload/Station.h"
#include "kestran-upload/UploadOptions.h"
#include "serial/AdapterLatency.h"
#include "serial/PlatformServices.h"

namespace {

// What goes to standard output must arrive whole; a full disk or a closed pipe is a failure.
bool WriteOut(const std::string& text) {
    errno = 0;
    const bool written = std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
    if (!written) {
        std::fprintf(stderr, "kestran-upload: cannot write the output: %s\n",
                     errno != 0 ? std::strerror(errno) : "write error");
    }
    return written;
}

// Several gauges at once, or a station: the input is checked once before any port is
// opened, then every gauge has its own dialog on a thread of its own.
int RunMany(const SUploadOptions& options, const SFleetServices& services) {
    {
        CConsoleReport check(stderr, false);
        CCommandLineUpload checker(services.dialog, check);
        if (!checker.CheckInput(options.request))
            return ExitStatus(EUploadResult::Refused, 0);
    }
    if (options.station) {
        SStationOptions station;
        station.includePresent = options.includePresent;
        station.pattern = options.pattern;
        // A station's gauges come and go: plain lines, no block that would grow forever.
        CFleetBoard board(stderr, false);
        const SStationTally tally = RunStation(services, options.request, station, board, stdout);
        return tally.failed == 0 ? 0 : kNotEveryGaugeCompleted;
    }
    std::vector<SGaugeSummary> summaries;
    {
        CFleetBoard board(stderr, console::IsTerminal(stderr), console::Columns(stderr));
        summaries = UploadToAll(services, options.request, options.ports, board);
    }
    if (!WriteOut(SummaryTable(summaries)))
        return kNotEveryGaugeCompleted;
    return FleetExitStatus(summaries);
}

}  // namespace

int main(int argc, char** argv) {
    console::Prepare();
    const std::vector<std::string> args = console::Arguments(argc, argv);
    std::string error;
    const std::optional<SUploadOptions> options = ParseUploadOptions(args, &error);
    if (!options) {
        std::fprintf(stderr, "kestran-upload: %s\n%s", error.c_str(), UploadUsage().c_str());
        return ExitStatus(EUploadResult::Refused, 0);
    }
    if (options->help)
        return WriteOut(UploadUsage()) ? 0 : 1;

    CInterruptWatch interrupts;
    if (options->station || options->ports.size() > 1) {
        const SFleetServices services{MakePlatformServices(),
                                      [&interrupts] { return interrupts.Pending(); },
                                      ReadAdapterLatency};
        return RunMany(*options, services);
    }
    CConsoleReport report(stderr, console::IsTerminal(stderr));
    CCommandLineUpload upload(MakePlatformServices(), report);
    upload.SetInterruption([&interrupts] { return interrupts.Pending(); });
    upload.SetLatencyCheck(ReadAdapterLatency);
    if (options->list) {
        std::string lines;
        const bool complete = upload.ListPorts(&lines);
        return WriteOut(lines) && complete ? 0 : 1;
    }
    const EUploadResult result = upload.Run(options->request);
    report.Finish();
    return ExitStatus(result, interrupts.Pending());
}
