#include "kestran-upload/UploadOptions.h"

#include <algorithm>
#include <cmath>

#include "angles/NumberText.h"
#include "common/OptionTable.h"
#include "serial/PortNames.h"

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

const std::string kMaxTimeoutText = numtext::FormatG(kMaxTimeoutSeconds);

using Values = OptionValues;

const std::vector<SOption<SUploadOptions>> kOptions = {
    {"--port", "PATH", "the serial port of a gauge, e.g. /dev/ttyUSB0; may be repeated",
     [](SUploadOptions& o, const Values& v, CArgumentReader& in) {
         for (const std::string& given : o.ports) {
             if (portnames::NamesPort({portnames::DevicePathOf(given), "", "", false, ""}, v[0]))
                 in.Refuse("--port " + v[0] + " names the same port as --port " + given);
         }
         o.ports.push_back(v[0]);
     },
     true},
    {"--station", "", "wait for gauge ports to appear and load each one, until Ctrl-C",
     [](SUploadOptions& o, const Values&, CArgumentReader&) { o.station = true; }},
    {"--include-present", "", "the station also loads the ports present when it starts",
     [](SUploadOptions& o, const Values&, CArgumentReader&) { o.includePresent = true; }},
    {"--ports", "PATTERN", "the station loads only ports that match, e.g. '/dev/ttyUSB*'",
     [](SUploadOptions& o, const Values& v, CArgumentReader&) { o.pattern = v[0]; }},
    {"--ias", "FILE", "the IAS dial",
     [](SUploadOptions& o, const Values& v, CArgumentReader&) { o.request.ias = v[0]; }},
    {"--tas", "FILE", "the TAS dial",
     [](SUploadOptions& o, const Values& v, CArgumentReader&) { o.request.tas = v[0]; }},
    {"--table", "FILE.gac", "the angle table, from a gauge configuration file",
     [](SUploadOptions& o, const Values& v, CArgumentReader&) { o.request.table = v[0]; }},
    {"--timeout", "SECONDS",
     "give up when the gauge has not acknowledged anything for this\nlong, more than 0 and "
     "at most " +
         kMaxTimeoutText + " (default " + std::to_string(SUploadRequest{}.timeout.count() / 1000) +
         ")",
     [](SUploadOptions& o, const Values& v, CArgumentReader& in) {
         const std::optional<double> seconds = ParseSeconds(v[0]);
         if (!seconds) {
             in.RefuseValue("a number of seconds more than 0 and at most " + kMaxTimeoutText, v[0]);
             return;
         }
         o.request.timeout =
             std::chrono::milliseconds(static_cast<long long>(std::ceil(*seconds * 1000)));
     }},
    {"--force", "",
     "send a table that gives fewer angles than its count, or whose\nangles do not rise, "
     "instead of refusing it",
     [](SUploadOptions& o, const Values&, CArgumentReader&) { o.request.force = true; }},
    {"--verbose", "", "show the knots and angles of the table that will be sent",
     [](SUploadOptions& o, const Values&, CArgumentReader&) { o.request.verbose = true; }},
    {"--list", "", "list the serial ports: path and name, one per line",
     [](SUploadOptions& o, const Values&, CArgumentReader&) { o.list = true; }},
    {"--help", "", "show this text",
     [](SUploadOptions& o, const Values&, CArgumentReader&) { o.help = true; }},
    {"-h", "", "", [](SUploadOptions& o, const Values&, CArgumentReader&) { o.help = true; }},
};

}  // namespace

std::string UploadUsage() {
    return "Usage: kestran-upload --port PATH [--port PATH]... [OPTION]...\n"
           "  or:  kestran-upload --station [--include-present] [--ports PATTERN] [OPTION]...\n"
           "  or:  kestran-upload --list\n"
           "Uploads dial pictures (230 x 230 PNG with alpha) and an angle table to the gauge on\n"
           "PATH, following the same rules as the Kestran window; the angle table goes only\n"
           "together with the TAS dial. Several ports are loaded at the same time.\n"
           "\n" +
           OptionHelp(kOptions, 21) +
           "\n"
           "Exit status: 0 upload completed, 1 the upload ended in an error (the gauge reported\n"
           "one, or the line to it was lost), 2 input refused, 3 the gauge stopped acknowledging,\n"
           "128 + the signal's number when interrupted (130 Ctrl-C, 143 SIGTERM, 129 SIGHUP).\n"
           "With several ports or --station: 0 every gauge completed, 2 input refused before any\n"
           "port was opened, 4 not every gauge completed (the summary says which and why).\n";
}

std::optional<SUploadOptions> ParseUploadOptions(const std::vector<std::string>& args,
                                                 std::string* error) {
    SUploadOptions options;
    CArgumentReader in(args);
    while (in.Next()) {
        if (!ReadOption(in, kOptions, options))
            in.RefuseUnknown();
    }
    if (in.Failed()) {
        *error = in.Error();
        return std::nullopt;
    }
    if (options.help)
        return options;
    if (options.list) {
        if (std::any_of(args.begin(), args.end(),
                        [](const std::string& a) { return a != "--list"; })) {
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
#ifndef _WIN32
    for (const std::string& port : options.ports) {
        if (portnames::IsComName(port)) {
            *error = port + " is a port name of Windows; here ports are paths such as "
                            "/dev/ttyUSB0, and kestran-upload --list shows them";
            return std::nullopt;
        }
    }
#endif
    if (!options.ports.empty())
        options.request.port = options.ports.front();
    if (!options.request.ias && !options.request.tas && !options.request.table) {
        *error = "nothing to upload: give --ias, --tas or --table";
        return std::nullopt;
    }
    return options;
}
