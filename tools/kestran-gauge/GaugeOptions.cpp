#include "kestran-gauge/GaugeOptions.h"

#include "common/ArgumentReader.h"

const char* const kGaugeUsage =
    "Usage: kestran-gauge [options]\n"
    "A virtual airspeed gauge on a pseudo-terminal. Prints the port to open on the first\n"
    "line of its output and shows up in Kestran's port list. After each upload it writes\n"
    "the dials it holds as ias.png and tas.png and the angle table as table.txt.\n"
    "\n"
    "  --name NAME              name shown in the port list\n"
    "  --out DIR                folder for what the gauge receives\n"
    "                           (default: kestran-gauge-out in the current folder)\n"
    "  --delay MS               wait MS milliseconds before every reply\n"
    "  --wire-time              take as long as a 38400 baud 8E1 line would, both ways\n"
    "Faults, to try the tool's failure handling:\n"
    "  --silent-after-load      never answer a LOAD line\n"
    "  --unexpected-byte-at N   answer line N (1 = the first line received) with \"?\"\n"
    "  --ready-with-line-end    answer LOAD lines with \"READY\" CR LF\n"
    "  --hang-up-at N           hang up when pixel line N of a dial arrives (1 = the first\n"
    "                           after READY), then end\n"
    "  --in-stage S             count the N of the two options above in stage S only: 1 the\n"
    "                           IAS dial, 2 the TAS dial, 3 the angle table (whose line is\n"
    "                           line 1); the unexpected byte then comes once\n"
    "  --split-ready N          answer LOAD lines with the first N bytes of \"READY\", then\n"
    "                           the rest as a reply of its own\n"
    "  --babble N               answer LOAD lines with N messages of noise instead of READY\n"
    "  --deaf                   read nothing from the line, so that it fills, as a device\n"
    "                           that holds its CTS line low\n"
    "  --help                   show this text\n";

std::optional<SGaugeOptions> ParseGaugeOptions(const std::vector<std::string>& args,
                                               std::string* error) {
    SGaugeOptions options;
    SGaugeFaults& faults = options.server.faults;
    CArgumentReader in(args);
    while (in.Next()) {
        if (in.Flag("--help") || in.Flag("-h")) {
            options.help = true;
        } else if (auto name = in.Value("--name")) {
            options.name = *name;
        } else if (auto dir = in.Value("--out")) {
            options.outDir = *dir;
        } else if (auto ms = in.WholeNumber("--delay", 0)) {
            options.server.replyDelay = std::chrono::milliseconds(*ms);
        } else if (in.Flag("--wire-time")) {
            options.server.wireTime = true;
        } else if (in.Flag("--deaf")) {
            options.server.deaf = true;
        } else if (in.Flag("--silent-after-load")) {
            faults.silentAfterLoad = true;
        } else if (auto line = in.WholeNumber("--unexpected-byte-at", 1)) {
            faults.unexpectedByteAtLine = static_cast<int>(*line);
        } else if (auto stage = in.WholeNumber("--in-stage", 1, 3)) {
            faults.faultStage = static_cast<int>(*stage);
        } else if (auto bytes = in.WholeNumber("--split-ready", 1)) {
            faults.splitReadyAfter = static_cast<int>(*bytes);
        } else if (auto messages = in.WholeNumber("--babble", 1)) {
            faults.babbleAfterLoad = static_cast<int>(*messages);
        } else if (in.Flag("--ready-with-line-end")) {
            faults.readyWithLineEnd = true;
        } else if (auto dialLine = in.WholeNumber("--hang-up-at", 1)) {
            faults.hangUpAtDialLine = static_cast<int>(*dialLine);
        } else {
            in.RefuseUnknown();
        }
    }
    if (in.Failed()) {
        *error = in.Error();
        return std::nullopt;
    }
    return options;
}
