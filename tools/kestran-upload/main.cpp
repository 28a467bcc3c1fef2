// kestran-upload: uploads dials and an angle table to a gauge from the command line, through
// the main dialog's own handlers.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kestran-upload/CommandLineUpload.h"
#include "common/Console.h"
#include "kestran-upload/ConsoleReport.h"
#include "kestran-upload/InterruptWatch.h"
#include "kestran-upload/UploadOptions.h"
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

}  // namespace

int main(int argc, char** argv) {
    console::Prepare();
    const std::vector<std::string> args = console::Arguments(argc, argv);
    std::string error;
    const std::optional<SUploadOptions> options = ParseUploadOptions(args, &error);
    if (!options) {
        std::fprintf(stderr, "kestran-upload: %s\n%s", error.c_str(), kUploadUsage);
        return static_cast<int>(EUploadResult::Refused);
    }
    if (options->help)
        return WriteOut(kUploadUsage) ? 0 : 1;

    CInterruptWatch interrupts;
    CConsoleReport report(stderr, console::IsTerminal(stderr));
    CCommandLineUpload upload(MakePlatformServices(), report);
    upload.SetInterruption([&interrupts] { return interrupts.Pending(); });
    if (options->list) {
        std::string lines;
        const bool complete = upload.ListPorts(&lines);
        return WriteOut(lines) && complete ? 0 : 1;
    }
    const EUploadResult result = upload.Run(options->request);
    report.Finish();
    if (result == EUploadResult::Interrupted)
        return 128 + interrupts.Pending();
    return static_cast<int>(result);
}
