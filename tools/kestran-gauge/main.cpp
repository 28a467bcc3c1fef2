// kestran-gauge: a virtual airspeed gauge on a pseudo-terminal, for trying Kestran without
// the device.
#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "kestran-gauge/GaugeLog.h"
#include "kestran-gauge/GaugeOptions.h"
#include "kestran-gauge/GaugePty.h"
#include "kestran-gauge/GaugeServer.h"
#include "serial/posix/GaugeRegistry.h"

namespace {

// The termination signals only interrupt the server's wait; the server then ends cleanly.
void IgnoreSignal(int) {}

// Blocks the termination signals (they stay pending until the server waits) and answers
// the mask to wait with, which lets them through.
sigset_t TakeOverTerminationSignals() {
    sigset_t termination;
    sigemptyset(&termination);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&termination, sig);
        struct sigaction action {};
        action.sa_handler = IgnoreSignal;
        sigemptyset(&action.sa_mask);
        sigaction(sig, &action, nullptr);
    }
    signal(SIGPIPE, SIG_IGN);
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &termination, &waitMask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        sigdelset(&waitMask, sig);
    return waitMask;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<SGaugeOptions> options = ParseGaugeOptions(args, &error);
    if (!options) {
        std::fprintf(stderr, "kestran-gauge: %s\n%s", error.c_str(), GaugeUsage().c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(GaugeUsage().c_str(), stdout);
        return 0;
    }
    const sigset_t waitMask = TakeOverTerminationSignals();

    std::error_code ec;
    std::filesystem::create_directories(options->outDir, ec);
    if (ec) {
        std::fprintf(stderr, "kestran-gauge: cannot make the folder %s: %s\n",
                     options->outDir.c_str(), ec.message().c_str());
        return 1;
    }
    CGaugePty pty;
    if (!pty.IsOpen()) {
        std::fprintf(stderr, "kestran-gauge: %s\n", pty.Error().c_str());
        return 1;
    }
    // Registered before the port is printed: whoever reads that line and then looks for
    // ports finds this gauge.
    const CGaugeRegistration registration(pty.SlavePath(), options->name);
    // The first line of the output is the port, for scripts.
    std::printf("%s\n", pty.SlavePath().c_str());
    std::fflush(stdout);

    CGaugeLog log(stderr, options->outDir);
    if (registration.IsRegistered()) {
        log.Say("serving " + pty.SlavePath() + ", listed in Kestran as a virtual gauge" +
                (options->name.empty() ? "" : " named " + options->name));
    } else {
        log.Say("serving " + pty.SlavePath() + " (not listed in Kestran: cannot write to " +
                DefaultGaugeRegistryDir().string() + ")");
    }
    log.Say("received dials and tables go to " + options->outDir);

    CGaugeServer server(pty, options->server, log);
    switch (server.Run(-1, &waitMask)) {
        case CGaugeServer::EEnd::Stopped:
            log.Say("stopped");
            return 0;
        case CGaugeServer::EEnd::HungUp:
            pty.HangUp();
            log.Say("hung up; ending");
            return 0;
        case CGaugeServer::EEnd::LineFailed:
            log.Say("the pseudo-terminal failed; ending");
            return 1;
    }
    return 1;
}
