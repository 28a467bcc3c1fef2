// kestran-upload: uploads dials and an angle table to a gauge from the command line, through
// the main dialog's own handlers.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CommandLineUpload.h"
#include "ConsoleReport.h"
#include "UploadOptions.h"
#include "serial/posix/PlatformServices.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<SUploadOptions> options = ParseUploadOptions(args, &error);
    if (!options) {
        std::fprintf(stderr, "kestran-upload: %s\n%s", error.c_str(), kUploadUsage);
        return static_cast<int>(EUploadResult::Refused);
    }
    if (options->help) {
        std::fputs(kUploadUsage, stdout);
        return 0;
    }

    CConsoleReport report(stderr, isatty(STDERR_FILENO) != 0);
    CCommandLineUpload upload(MakePlatformServices(), report);
    if (options->list) {
        std::string lines;
        const bool complete = upload.ListPorts(&lines);
        std::fputs(lines.c_str(), stdout);
        return complete ? 0 : 1;
    }
    const EUploadResult result = upload.Run(options->request);
    report.Finish();
    return static_cast<int>(result);
}
