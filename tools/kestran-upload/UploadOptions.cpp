#include "kestran-upload/UploadOptions.h"

#include <cmath>

#include <filesystem>
#include <system_error>

#include "angles/NumberText.h"
#include "base/Utf8Path.h"
#include "common/ArgumentReader.h"
#include "serial/PortNames.h"

const char* const kUploadUsage =
    "Usage: kestran-upload --port PATH [--port PATH]... [OPTION]...\n"
    "  or:  kestran-upload --station [--include-present] [--ports PATTERN] [OPTION]...\n"
    "  or:  kestran-upload --list\n"
    "Uploads dial pictures (230 x 230 PNG with alpha) and an angle table to the gauge on\n"
    "PATH, following the same rules as the Kestran window; the angle table goes only\n"
    "together with the TAS dial. Several ports are loaded at the same time.\n"
    "\n"
    "  --port PATH        the serial port of a gauge, e.g. /dev/ttyUSB0; may be repeated\n"
    "  --station          wait for gauge ports to appear and load each one, until Ctrl-C\n"
    "  --include-present  the station also loads the ports present when it starts\n"
    "  --ports PATTERN    the station loads only ports that match, e.g. '/dev/ttyUSB*'\n"
    "  --ias FILE         the IAS dial\n"
    "  --tas FILE         the TAS dial\n"
    "  --table FILE.gac   the angle table, from a gauge configuration file\n"
    "  --timeout SECONDS  give up when the gauge has not acknowledged anything for this\n"
    "                     long, more than 0 and at most 86400 (default 10)\n"
    "  --force            send a table that gives fewer angles than its count, or whose\n"
    "                     angles do not rise, instead of refusing it\n"
    "  --verbose          show the knots and angles of the table that will be sent\n"
    "  --list             list the serial ports: path and name, one per line\n"
    "  --help             show this text\n"
    "\n"
    "Exit status: 0 upload completed, 1 the upload ended in an error (the gauge reported\n"
    "one, or the line to it was lost), 2 input refused, 3 the gauge stopped acknowledging,\n"
    "128 + the signal's number when interrupted (130 Ctrl-C, 143 SIGTERM, 129 SIGHUP).\n"
    "With several ports or --station: 0 every gauge completed, 2 input refused before any\n"
    "port was opened, 4 not every gauge completed (the summary says which and why).\n";

namespace {

constexpr double kMaxTimeoutSeconds = 86400;

// A plain decimal number of seconds: digits with at most one full stop.
std::optional<double> ParseSeconds(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos ||
        text.find('.') != text.rfind('.') || text == ".") {
        return std::nullopt;
    }
    const double seconds = numtext::AtoF(text);
    if (!(seconds > 0) || seconds > kMaxTimeoutSeconds)
        return std::nullopt;
    return seconds;
}

// Whether two --port values name the same port: the same text, the same COM port in any
// spelling, or the same device through a link.
bool SamePort(const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    const auto name = [](const std::string& port) {
        return portnames::IsComName(port) ? port
                                          : portnames::PortNameOf(SSerInfo{port, "", "", false, ""});
    };
    if (portnames::IsComName(name(a)) && portnames::SamePortName(name(a), name(b)))
        return true;
    std::error_code ec;
    return std::filesystem::equivalent(utf8path::ToPath(a), utf8path::ToPath(b), ec);
}

}  // namespace

std::optional<SUploadOptions> ParseUploadOptions(const std::vector<std::string>& args,
                                                 std::string* error) {
    SUploadOptions options;
    bool anyUploadOption = false;
    CArgumentReader in(args);
    while (in.Next()) {
        if (in.Flag("--help") || in.Flag("-h")) {
            options.help = true;
            continue;
        }
        if (in.Flag("--list")) {
            options.list = true;
            continue;
        }
        if (in.Flag("--force")) {
            options.request.force = true;
        } else if (in.Flag("--verbose")) {
            options.request.verbose = true;
        } else if (auto path = in.Value("--port", CArgumentReader::ERepeat::Allowed)) {
            for (const std::string& given : options.ports) {
                if (SamePort(given, *path))
                    in.Refuse("--port " + *path + " names the same port as --port " + given);
            }
            options.ports.push_back(*path);
        } else if (in.Flag("--station")) {
            options.station = true;
        } else if (in.Flag("--include-present")) {
            options.includePresent = true;
        } else if (auto pattern = in.Value("--ports")) {
            options.pattern = *pattern;
        } else if (auto text = in.Value("--timeout")) {
            const std::optional<double> seconds = ParseSeconds(*text);
            if (!seconds) {
                in.Refuse("--timeout takes a number of seconds more than 0 and at most 86400, "
                          "not \"" + *text + "\"");
                break;
            }
            options.request.timeout =
                std::chrono::milliseconds(static_cast<long long>(std::ceil(*seconds * 1000)));
        } else if (auto ias = in.Value("--ias")) {
            options.request.ias = *ias;
        } else if (auto tas = in.Value("--tas")) {
            options.request.tas = *tas;
        } else if (auto table = in.Value("--table")) {
            options.request.table = *table;
        } else {
            in.RefuseUnknown();
        }
        anyUploadOption = true;
    }
    if (in.Failed()) {
        *error = in.Error();
        return std::nullopt;
    }
    if (options.help)
        return options;
    if (options.list) {
        if (anyUploadOption) {
            *error = "--list goes alone";
            return std::nullopt;
        }
        return options;
    }
    if (options.station && !options.ports.empty()) {
        *error = "--station finds its ports itself: leave out --port (--ports chooses them)";
        return std::nullopt;
    }
    if (!options.station && (options.includePresent || options.pattern)) {
        *error = "--include-present and --ports go only with --station";
        return std::nullopt;
    }
    if (!options.station && options.ports.empty()) {
        *error = "--port is missing";
        return std::nullopt;
    }
    if (!options.ports.empty())
        options.request.port = options.ports.front();
    if (!options.request.ias && !options.request.tas && !options.request.table) {
        *error = "nothing to upload: give --ias, --tas or --table";
        return std::nullopt;
    }
    return options;
}
