#include "kestran-gauge/GaugeOptions.h"

#include "common/OptionTable.h"

namespace {

using Values = OptionValues;
using Reader = CArgumentReader;

// A fault that comes at the N-th of something, N from 1.
template <int SGaugeFaults::*Field>
void FaultAt(SGaugeOptions& o, const Values& v, Reader& in) {
    if (const auto n = in.WholeNumber(v[0], 1))
        o.server.faults.*Field = static_cast<int>(*n);
}

const std::vector<SOption<SGaugeOptions>> kOptions = {
    {"--name", "NAME", "name shown in the port list",
     [](SGaugeOptions& o, const Values& v, Reader&) { o.name = v[0]; }},
    {"--out", "DIR",
     "folder for what the gauge receives\n(default: kestran-gauge-out in the current folder)",
     [](SGaugeOptions& o, const Values& v, Reader&) { o.outDir = v[0]; }},
    {"--delay", "MS", "wait MS milliseconds before every reply",
     [](SGaugeOptions& o, const Values& v, Reader& in) {
         if (const auto ms = in.WholeNumber(v[0], 0))
             o.server.replyDelay = std::chrono::milliseconds(*ms);
     }},
    {"--wire-time", "", "take as long as a 38400 baud 8E1 line would, both ways",
     [](SGaugeOptions& o, const Values&, Reader&) { o.server.wireTime = true; }},
    {"--help", "", "show this text",
     [](SGaugeOptions& o, const Values&, Reader&) { o.help = true; }},
    {"-h", "", "", [](SGaugeOptions& o, const Values&, Reader&) { o.help = true; }},
};

// What the gauge can do wrong, to try the tool's failure handling.
const std::vector<SOption<SGaugeOptions>> kFaults = {
    {"--silent-after-load", "", "never answer a LOAD line",
     [](SGaugeOptions& o, const Values&, Reader&) { o.server.faults.silentAfterLoad = true; }},
    {"--unexpected-byte-at", "N", "answer line N (1 = the first line received) with \"?\"",
     FaultAt<&SGaugeFaults::unexpectedByteAtLine>},
    {"--ready-with-line-end", "", "answer LOAD lines with \"READY\" CR LF",
     [](SGaugeOptions& o, const Values&, Reader&) { o.server.faults.readyWithLineEnd = true; }},
    {"--hang-up-at", "N",
     "hang up when pixel line N of a dial arrives (1 = the first\nafter READY), then end",
     FaultAt<&SGaugeFaults::hangUpAtDialLine>},
    {"--in-stage", "S",
     "count the N of the two options above in stage S only: 1 the\nIAS dial, 2 the TAS dial, "
     "3 the angle table (whose line is\nline 1); the unexpected byte then comes once",
     [](SGaugeOptions& o, const Values& v, Reader& in) {
         if (const auto n = in.WholeNumber(v[0], 1, 3))
             o.server.faults.faultStage = static_cast<int>(*n);
     }},
    {"--split-ready", "N",
     "answer LOAD lines with the first N bytes of \"READY\", then\nthe rest as a reply of its "
     "own",
     FaultAt<&SGaugeFaults::splitReadyAfter>},
    {"--babble", "N", "answer LOAD lines with N messages of noise instead of READY",
     FaultAt<&SGaugeFaults::babbleAfterLoad>},
    {"--deaf", "",
     "read nothing from the line, so that it fills, as a device\nthat holds its CTS line low",
     [](SGaugeOptions& o, const Values&, Reader&) { o.server.deaf = true; }},
};

}  // namespace

std::string GaugeUsage() {
    return "Usage: kestran-gauge [options]\n"
           "A virtual airspeed gauge on a pseudo-terminal. Prints the port to open on the first\n"
           "line of its output and shows up in Kestran's port list. After each upload it writes\n"
           "the dials it holds as ias.png and tas.png and the angle table as table.txt.\n"
           "\n" +
           OptionHelp(kOptions, 27) + "Faults, to try the tool's failure handling:\n" +
           OptionHelp(kFaults, 27);
}

std::optional<SGaugeOptions> ParseGaugeOptions(const std::vector<std::string>& args,
                                               std::string* error) {
    SGaugeOptions options;
    CArgumentReader in(args);
    while (in.Next()) {
        if (!ReadOption(in, kOptions, options) && !ReadOption(in, kFaults, options))
            in.RefuseUnknown();
    }
    if (in.Failed()) {
        *error = in.Error();
        return std::nullopt;
    }
    return options;
}
