// kestran-window-upload: the Kestran window (best on the offscreen platform) taken through
// one upload by its own buttons; prints how it went and the process's peak memory.
#include <cstdio>
#include <string>
#include <vector>

#include "app/qt/CTillerbyApp.h"
#include "bench/window/PeakMemory.h"
#include "bench/window/WindowDriver.h"

namespace {

const char* const kUsage =
    "Usage: kestran-window-upload --port PATH [--ias FILE] [--tas FILE] [--table]\n"
    "                             [--close-at PERCENT] [--timeout SECONDS]\n"
    "Shows the Kestran window, chooses the dials with its Select buttons, picks PATH in the\n"
    "port list, ticks Max Speed with --table, clicks Connect and Update and waits for the\n"
    "end; with --close-at, closes the window once the progress bar reaches PERCENT.\n"
    "Prints \"name value\" lines; exit status 0 when it went as asked.\n";

bool WholeNumber(const std::string& text, int max, int* value) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *value = std::stoi(text);
    return *value >= 1 && *value <= max;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    SWindowRun run;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        int number = 0;
        if (arg == "--table") {
            run.table = true;
        } else if (arg == "--port" && hasValue) {
            run.port = args[++i];
        } else if (arg == "--ias" && hasValue) {
            run.ias = args[++i];
        } else if (arg == "--tas" && hasValue) {
            run.tas = args[++i];
        } else if (arg == "--close-at" && hasValue && WholeNumber(args[++i], 100, &number)) {
            run.closeAtPercent = number;
        } else if (arg == "--timeout" && hasValue && WholeNumber(args[++i], 86400, &number)) {
            run.timeout = std::chrono::seconds(number);
        } else {
            std::fprintf(stderr, "kestran-window-upload: cannot use %s\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }
    if (run.port.empty() || (run.ias.empty() && run.tas.empty())) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    CTillerbyApp app(argc, argv);
    const SWindowResult result = RunWindowUpload(run);
    const bool asAsked = result.failure.empty() && result.portGivenBack &&
                         (run.closeAtPercent > 0 ? result.closedMidway : result.completed);
    std::printf("status %s\n", result.status.c_str());
    std::printf("completed %d\n", result.completed ? 1 : 0);
    std::printf("closed-midway %d\n", result.closedMidway ? 1 : 0);
    std::printf("close-asked %d\n", result.closeAsked ? 1 : 0);
    std::printf("port-given-back %d\n", result.portGivenBack ? 1 : 0);
    std::printf("upload-ms %lld\n", static_cast<long long>(result.uploadSeconds * 1000));
    std::printf("peak-before-upload-kib %ld\n", result.peakBeforeUploadKib);
    std::printf("peak-kib %ld\n", result.peakKib);
    if (!result.failure.empty())
        std::printf("failure %s\n", result.failure.c_str());
    return asAsked ? 0 : 1;
}
