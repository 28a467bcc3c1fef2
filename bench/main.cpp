// kestran-bench: the performance figures in one run. It times the loading of a dial picture,
// whole uploads of one dial to the virtual gauge over a pseudo-terminal (with and without the
// line's own pace), and an upload from the desktop window in a process of its own, whose
// peak memory it reports, and kestran-dial's commands.
// Usage: kestran-bench [--quick] [--dial-only] [--windows-uploader EXE]
//   --quick: leaves out the uploads at the line's pace but the realistic dial's (the worst
//   case alone takes three minutes) and runs the window without the line's pace.
//   --dial-only: kestran-dial's figures alone (with the PNG loads).
//   --windows-uploader EXE: also the realistic dial through kestran-upload.exe under Wine
//   (in the prefix WINEPREFIX names), beside the Linux uploader's figures.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "angles/NumberText.h"
#include "bench/BenchDials.h"
#include "bench/DialWorkshop.h"
#include "bench/FleetTimer.h"
#include "bench/UploadTimer.h"
#include "dial/PngWrite.h"
#include "support/UniqueFolder.h"

namespace {

// A line that waited for the reader's fallback would take at least this long.
constexpr double kFallbackMs = 300;
// The tool may add this share to the time the line itself takes.
constexpr double kWireTarget = 0.02;
// The window process's peak memory during an upload stays below this many bytes.
constexpr double kMemoryTarget = 100e6;
constexpr int kPngLoads = 200;

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
// `judged`: the run is the tool's, held to the wire-time target.
bool Report(const std::string& title, const SUploadFigures& f, bool wireTime, bool judged) {
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
    // The window's steps happen in another process, unseen.
    if (f.toReaderSeconds + f.handOffSeconds + f.handlerSeconds > 0)
        std::printf(
            "  mean round trip %s us = to the reading thread %s + hand-off %s + handler %s "
            "+ line to the gauge %s\n",
            us(f.turnaroundSeconds).c_str(), us(f.toReaderSeconds).c_str(),
            us(f.handOffSeconds).c_str(), us(f.handlerSeconds).c_str(),
            us(f.toGaugeSeconds).c_str());
    if (f.notifications > 0) {
        std::printf("  notifications handled by the dialog: %s per line\n",
                    Fixed(static_cast<double>(f.notifications) / f.lines, 2).c_str());
    }
    bool met = maxMs < kFallbackMs;
    std::printf("  target, no line waits for the %s ms fallback: %s\n",
                Fixed(kFallbackMs, 0).c_str(), met ? "met" : "MISSED");
    if (wireTime) {
        const double ratio = f.uploadSeconds / f.wireMinimumSeconds;
        std::printf(
            "  wire-time minimum %s s; upload / minimum = %s (round trips %s %%, the "
            "virtual gauge's own lateness %s %%)\n",
            Fixed(f.wireMinimumSeconds, 3).c_str(), Fixed(ratio, 4).c_str(),
            Fixed(f.turnaroundSeconds / f.wireMinimumSeconds * 100, 2).c_str(),
            Fixed(f.lateRepliesSeconds / f.wireMinimumSeconds * 100, 2).c_str());
        if (judged) {
            const bool ratioMet = ratio < 1 + kWireTarget;
            std::printf("  target, under %s %% over the wire time: %s\n",
                        Fixed(kWireTarget * 100, 0).c_str(), ratioMet ? "met" : "MISSED");
            met = met && ratioMet;
        }
    }
    std::fflush(stdout);
    return met;
}

// With the wire time: where the time over the wire time goes. The floor run sends the same
// lines from one thread, so the wake-ups and transfers of the terminal that any program pays
// are not the tool's; its own steps are the hand-off from the reader thread to the dialog
// and the handler. The floor is a separate run: the state of the machine moves both totals.
void ReportAddition(const SUploadFigures& tool, const SUploadFigures& floor) {
    if (!tool.completed || !floor.completed)
        return;
    const double own = (tool.handOffSeconds + tool.handlerSeconds) / tool.wireMinimumSeconds;
    std::printf(
        "  round trips over the wire time: tool %s %%, floor %s %%; of the tool's, its "
        "own steps (hand-off and handler) %s %%\n",
        Fixed(tool.turnaroundSeconds / tool.wireMinimumSeconds * 100, 2).c_str(),
        Fixed(floor.turnaroundSeconds / floor.wireMinimumSeconds * 100, 2).c_str(),
        Fixed(own * 100, 2).c_str());
    std::fflush(stdout);
}

// Loading a dial picture, as Select IAS Dial does.
bool ReportPngLoad(const std::string& title, const std::string& file) {
    std::vector<double> ms;
    for (int i = 0; i < kPngLoads; ++i) {
        CImage image;
        const auto start = std::chrono::steady_clock::now();
        const ImageLoadResult result = image.Load(file.c_str());
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        if (result != ImageLoadResult::Ok) {
            std::printf("%s: cannot be loaded\n", title.c_str());
            return false;
        }
    }
    std::printf("%s (%lld bytes): load median %s ms, max %s ms over %d loads\n", title.c_str(),
                static_cast<long long>(std::filesystem::file_size(file)),
                Fixed(Percentile(ms, 0.5), 3).c_str(), Fixed(Percentile(ms, 1.0), 3).c_str(),
                kPngLoads);
    return true;
}

// Four gauges at once take hardly longer than the slowest of them alone.
bool ReportFleet(const std::string& dial, bool quick) {
    constexpr int kGauges = 4;
    constexpr double kTogetherTarget = 1.05;
    std::printf(
        "Four virtual gauges at once, realistic dial, wire time simulated (kestran-upload "
        "with four --port)\n");
    const SFleetFigures f = TimeFleet(dial, kGauges, quick ? 1 : kGauges);
    if (!f.completed) {
        std::printf("  upload failed: %s\n", f.failure.c_str());
        return false;
    }
    std::string singles;
    for (double seconds : f.singleSeconds)
        singles += (singles.empty() ? "" : ", ") + Fixed(seconds, 3);
    const double slowest = *std::max_element(f.singleSeconds.begin(), f.singleSeconds.end());
    const double ratio = f.togetherSeconds / slowest;
    const bool met = ratio <= kTogetherTarget;
    std::printf("  alone: %s s; all four at once: %s s = %s x the slowest alone\n", singles.c_str(),
                Fixed(f.togetherSeconds, 3).c_str(), Fixed(ratio, 4).c_str());
    std::printf("  target, at most %s x: %s\n", Fixed(kTogetherTarget, 2).c_str(),
                met ? "met" : "MISSED");
    std::fflush(stdout);
    return met;
}

// The desktop window through a whole upload of both dials and the table.
bool ReportWindow(const std::string& dial, bool wireTime) {
#ifdef KESTRAN_WINDOW_UPLOAD_PROGRAM
    const SWindowFigures w = TimeWindowUpload(KESTRAN_WINDOW_UPLOAD_PROGRAM, dial, wireTime);
    bool met = Report(std::string("Window process, realistic dial as IAS and TAS dial with the "
                                  "table, by its buttons") +
                          (wireTime ? ", wire time simulated" : ", no reply delay"),
                      w.upload, wireTime, wireTime);
    if (w.peakKib <= 0) {
        std::printf("  peak memory: not reported\n");
        return false;
    }
    const double peakBytes = static_cast<double>(w.peakKib) * 1024;
    const bool memoryMet = peakBytes < kMemoryTarget;
    std::printf(
        "  peak memory of the window process (VmHWM): %s MB before Update, %s MB at the "
        "end (target under %s MB): %s\n",
        Fixed(static_cast<double>(w.peakBeforeUploadKib) * 1024 / 1e6, 1).c_str(),
        Fixed(peakBytes / 1e6, 1).c_str(), Fixed(kMemoryTarget / 1e6, 0).c_str(),
        memoryMet ? "met" : "MISSED");
    std::fflush(stdout);
    return met && memoryMet;
#else
    (void)dial;
    (void)wireTime;
    std::printf("Window process: not built (no Qt), peak memory not measured\n");
    return false;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false;
    bool dialOnly = false;
    std::string windowsUploader;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick") {
            quick = true;
        } else if (arg == "--dial-only") {
            dialOnly = true;
        } else if (arg == "--windows-uploader" && i + 1 < argc) {
            windowsUploader = argv[++i];
        } else {
            std::fprintf(stderr,
                         "Usage: kestran-bench [--quick] [--dial-only] [--windows-uploader EXE]\n");
            return 2;
        }
    }
    const CTempDir scratch("kestran-bench-");
    const std::string folder = scratch.Path().string();
    if (folder.empty()) {
        std::fprintf(stderr, "kestran-bench: no temporary folder\n");
        return 1;
    }
    const std::string realistic = folder + "/realistic.png";
    const std::string worst = folder + "/worst.png";
    {
        CImage image;
        DrawRealisticDial(image);
        WritePng(realistic.c_str(), image.View());
        DrawWorstCaseDial(image);
        WritePng(worst.c_str(), image.View());
    }

    bool met = ReportPngLoad("PNG load, realistic dial", realistic);
    met = ReportPngLoad("PNG load, worst case dial", worst) && met;
    met = ReportDialWorkshop(folder, realistic, worst) && met;
    if (dialOnly)
        return met ? 0 : 1;

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

    for (const SCase& c : cases) {
        std::vector<std::string> lines;
        const SUploadFigures tool = TimeUpload(c.dial, c.wireTime, &lines);
        met = Report(c.title + " (the uploader's path: dialog, port and reader thread)", tool,
                     c.wireTime, true) &&
              met;
        // The same lines from one thread without a dialog: what the machine costs anyway.
        const SUploadFigures floor = TimeReplay(lines, c.wireTime);
        Report("  the same lines from one thread, no dialog (the machine's floor)", floor,
               c.wireTime, false);
        if (c.wireTime)
            ReportAddition(tool, floor);
    }
    if (!windowsUploader.empty()) {
        met = Report("Realistic dial through kestran-upload.exe under Wine, no reply delay",
                     TimeWindowsUploader(windowsUploader, realistic), false, false) &&
              met;
    }
    met = ReportFleet(realistic, quick) && met;
    met = ReportWindow(realistic, !quick) && met;
    std::printf("%s\n", met ? "All targets met." : "Some targets MISSED.");
    return met ? 0 : 1;
}
