// kestran-bench: times whole uploads of one dial to the virtual gauge over a pseudo-terminal
// and prints the figures. Usage: kestran-bench [--quick]
//   --quick: leaves out the worst case with the wire time, which alone takes three minutes.
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchDials.h"
#include "UploadTimer.h"
#include "angles/NumberText.h"
#include "dial/PngWrite.h"

namespace {

// A line that waited for the reader's fallback would take at least this long.
constexpr double kFallbackMs = 300;
// The tool may add this share to the time the line itself takes.
constexpr double kWireTarget = 0.02;

std::string Fixed(double value, int decimals) {
    return numtext::FormatFixed(value, decimals);
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// Prints the figures of one upload; false when it failed or a line waited for the fallback.
bool Report(const std::string& title, const SUploadFigures& f, bool wireTime) {
    std::printf("%s\n", title.c_str());
    if (!f.completed) {
        std::printf("  upload failed: %s\n", f.failure.c_str());
        return false;
    }
    const double maxMs = Percentile(f.roundTripsMs, 1.0);
    std::printf("  %d lines in %s s: %s lines/s\n", f.lines, Fixed(f.uploadSeconds, 3).c_str(),
                Fixed(f.lines / f.uploadSeconds, 0).c_str());
    std::printf("  round trip (reply out -> next line in): median %s ms, p99 %s ms, max %s ms\n",
                Fixed(Percentile(f.roundTripsMs, 0.5), 3).c_str(),
                Fixed(Percentile(f.roundTripsMs, 0.99), 3).c_str(), Fixed(maxMs, 3).c_str());
    const double n = f.roundTripsMs.empty() ? 1 : static_cast<double>(f.roundTripsMs.size());
    auto us = [n](double seconds) { return Fixed(seconds / n * 1e6, 1); };
    std::printf(
        "  mean round trip %s us = to the reading thread %s + hand-off %s + handler %s "
        "+ line to the gauge %s\n",
        us(f.turnaroundSeconds).c_str(), us(f.toReaderSeconds).c_str(),
        us(f.handOffSeconds).c_str(), us(f.handlerSeconds).c_str(), us(f.toGaugeSeconds).c_str());
    if (wireTime) {
        std::printf(
            "  wire-time minimum %s s; upload / minimum = %s (round trips %s %%, the "
            "virtual gauge's own lateness %s %%)\n",
            Fixed(f.wireMinimumSeconds, 3).c_str(),
            Fixed(f.uploadSeconds / f.wireMinimumSeconds, 4).c_str(),
            Fixed(f.turnaroundSeconds / f.wireMinimumSeconds * 100, 2).c_str(),
            Fixed(f.lateRepliesSeconds / f.wireMinimumSeconds * 100, 2).c_str());
    }
    std::printf("  target, no line waits for the %s ms fallback: %s\n",
                Fixed(kFallbackMs, 0).c_str(), maxMs < kFallbackMs ? "met" : "MISSED");
    std::fflush(stdout);
    return maxMs < kFallbackMs;
}

// With the wire time: what the tool adds to it. The floor run sends the same lines from one
// thread, so the wake-ups and transfers of the terminal that any program pays are not the
// tool's; its own steps are the hand-off from the reader thread to the dialog and the
// handler. The floor is a separate run: the state of the machine moves both totals.
bool ReportAddition(const SUploadFigures& tool, const SUploadFigures& floor) {
    if (!tool.completed || !floor.completed)
        return false;
    const double own = (tool.handOffSeconds + tool.handlerSeconds) / tool.wireMinimumSeconds;
    std::printf("  round trips over the wire time: tool %s %%, floor %s %%\n",
                Fixed(tool.turnaroundSeconds / tool.wireMinimumSeconds * 100, 2).c_str(),
                Fixed(floor.turnaroundSeconds / floor.wireMinimumSeconds * 100, 2).c_str());
    std::printf(
        "  the tool's own steps (hand-off and handler) add %s %% to the wire time "
        "(target under %s %%): %s\n",
        Fixed(own * 100, 2).c_str(), Fixed(kWireTarget * 100, 0).c_str(),
        own < kWireTarget ? "met" : "MISSED");
    std::fflush(stdout);
    return own < kWireTarget;
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc == 2 && std::string(argv[1]) == "--quick";
    if (argc > 2 || (argc == 2 && !quick)) {
        std::fprintf(stderr, "Usage: kestran-bench [--quick]\n");
        return 2;
    }
    std::string folder = (std::filesystem::temp_directory_path() / "kestran-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        std::fprintf(stderr, "kestran-bench: no temporary folder\n");
        return 1;
    }
    const std::string realistic = folder + "/realistic.png";
    const std::string worst = folder + "/worst.png";
    {
        CImage image;
        DrawRealisticDial(image);
        WritePng(realistic.c_str(), image);
        DrawWorstCaseDial(image);
        WritePng(worst.c_str(), image);
    }

    struct SCase {
        std::string title;
        std::string dial;
        bool wireTime;
    };
    std::vector<SCase> cases = {{"Realistic dial, no reply delay", realistic, false},
                                {"Worst case dial, no reply delay", worst, false},
                                {"Realistic dial, wire time simulated", realistic, true}};
    if (!quick)
        cases.push_back({"Worst case dial, wire time simulated", worst, true});

    bool met = true;
    for (const SCase& c : cases) {
        std::vector<std::string> lines;
        const SUploadFigures tool = TimeUpload(c.dial, c.wireTime, &lines);
        met = Report(c.title, tool, c.wireTime) && met;
        // The same lines from one thread without a dialog: what the machine costs anyway.
        const SUploadFigures floor = TimeReplay(lines, c.wireTime);
        Report("  the same lines from one thread, no dialog (the machine's floor)", floor,
               c.wireTime);
        if (c.wireTime)
            met = ReportAddition(tool, floor) && met;
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return met ? 0 : 1;
}
