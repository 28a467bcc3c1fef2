#include "GaugeOptions.h"

#include <climits>

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
    "  --help                   show this text\n";

namespace {

// A whole decimal number from `min` up, nothing else.
std::optional<int> ParseCount(const std::string& text, int min) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int value = std::stoi(text);
    if (value < min)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<SGaugeOptions> ParseGaugeOptions(const std::vector<std::string>& args,
                                               std::string* error) {
    SGaugeOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                *error = arg + " needs a value";
                return std::nullopt;
            }
            return args[++i];
        };
        auto count = [&](int min) -> std::optional<int> {
            const std::optional<std::string> text = value();
            if (!text)
                return std::nullopt;
            std::optional<int> n = ParseCount(*text, min);
            if (!n)
                *error = arg + " takes a whole number from " + std::to_string(min) + ", not \"" +
                         *text + "\"";
            return n;
        };

        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--name") {
            const auto text = value();
            if (!text)
                return std::nullopt;
            options.name = *text;
        } else if (arg == "--out") {
            const auto text = value();
            if (!text)
                return std::nullopt;
            if (text->empty()) {
                *error = "--out needs a folder";
                return std::nullopt;
            }
            options.outDir = *text;
        } else if (arg == "--delay") {
            const auto ms = count(0);
            if (!ms)
                return std::nullopt;
            options.server.replyDelay = std::chrono::milliseconds(*ms);
        } else if (arg == "--wire-time") {
            options.server.wireTime = true;
        } else if (arg == "--silent-after-load") {
            options.server.faults.silentAfterLoad = true;
        } else if (arg == "--unexpected-byte-at") {
            const auto line = count(1);
            if (!line)
                return std::nullopt;
            options.server.faults.unexpectedByteAtLine = *line;
        } else if (arg == "--in-stage") {
            const auto stage = count(1);
            if (!stage)
                return std::nullopt;
            if (*stage > 3) {
                *error = "--in-stage takes 1, 2 or 3";
                return std::nullopt;
            }
            options.server.faults.faultStage = *stage;
        } else if (arg == "--split-ready") {
            const auto bytes = count(1);
            if (!bytes)
                return std::nullopt;
            options.server.faults.splitReadyAfter = *bytes;
        } else if (arg == "--babble") {
            const auto messages = count(1);
            if (!messages)
                return std::nullopt;
            options.server.faults.babbleAfterLoad = *messages;
        } else if (arg == "--ready-with-line-end") {
            options.server.faults.readyWithLineEnd = true;
        } else if (arg == "--hang-up-at") {
            const auto line = count(1);
            if (!line)
                return std::nullopt;
            options.server.faults.hangUpAtDialLine = *line;
        } else {
            *error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    return options;
}
