#include "bench/DialWorkshop.h"

#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cmath>
#include <fstream>
#include <functional>
#include <vector>

#include "angles/NumberText.h"
#include "kestran-dial/DialCommands.h"

namespace {

constexpr int kArtSide = 4096;

// A photographed instrument, more or less: a lit disc with a scale of marks and grain.
bool WriteLargeJpeg(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = kArtSide;
    info.image_height = kArtSide;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(kArtSide * 3);
    uint32_t grain = 12345;
    while (info.next_scanline < info.image_height) {
        const double y = info.next_scanline - kArtSide / 2.0;
        for (int x = 0; x < kArtSide; ++x) {
            const double dx = x - kArtSide / 2.0;
            const double r = std::hypot(dx, y) / (kArtSide / 2.0);
            const double a = std::atan2(y, dx) * 36 / 3.14159265;
            grain = grain * 1664525u + 1013904223u;
            const int noise = static_cast<int>(grain >> 28) - 8;
            const bool mark = r > 0.8 && r < 0.9 && std::fabs(a - std::round(a)) < 0.08;
            const int v = r > 0.95 ? 200 : mark ? 240 : 30;
            for (int c = 0; c < 3; ++c)
                row[static_cast<size_t>(3 * x + c)] =
                    static_cast<uint8_t>(std::clamp(v + noise + 8 * c, 0, 255));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

struct STimes {
    double wallMs = -1;  // negative when the command failed
    double cpuMs = 0;    // the process's own time: what a busy machine does not inflate
};

// The medians over `runs` runs of a command.
STimes Median(int runs, const std::vector<std::string>& args) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        std::string error;
        const std::optional<SDialCommand> command = ParseDialCommand(args, &error);
        SDialReport report;
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        const bool done = command && RunDialCommand(*command, report) == EDialExit::Done;
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                           .count());
        cpu.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        if (!done) {
            std::printf("  kestran-dial %s failed: %s%s\n", args[0].c_str(), error.c_str(),
                        report.err.c_str());
            return {};
        }
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

bool Row(const char* title, const STimes& times, double targetMs) {
    const bool met = times.wallMs >= 0 && times.wallMs < targetMs;
    std::printf("%s: median %s ms (%s ms of CPU; target under %s ms: %s)\n", title,
                numtext::FormatFixed(times.wallMs, 1).c_str(),
                numtext::FormatFixed(times.cpuMs, 1).c_str(),
                numtext::FormatFixed(targetMs, 0).c_str(), met ? "met" : "MISSED");
    return met;
}

}  // namespace

bool ReportDialWorkshop(const std::string& folder, const std::string& realistic,
                        const std::string& worst) {
    const std::string art = folder + "/art-4096.jpg";
    if (!WriteLargeJpeg(art)) {
        std::printf("kestran-dial: cannot write the 4096 x 4096 JPEG\n");
        return false;
    }
    std::ofstream(folder + "/start.gac")
        << "20|7.5|15.0|22.5|30.0|50.0|70.0|90.0|113.0|136.0|161.0|186.0|208.0|225.0|241.0|"
           "256.0|269.0|282.0|294.0|306.0|318.0";
    bool met = Row("kestran-dial prepare, 4096 x 4096 JPEG to a dial, --circle",
                   Median(3, {"prepare", art, "-o", folder + "/art-dial.png", "--circle"}), 1000);
    met = Row("kestran-dial preview, the realistic dial with the start-up table at 3x",
              Median(10, {"preview", "--dial", realistic, "-o", folder + "/sheet.png", "--at", "150"}),
              200) && met;
    met = Row("kestran-dial cost, the realistic and the worst-case dial and a table",
              Median(20, {"cost", realistic, worst, "--table", folder + "/start.gac"}), 10) && met;
    return met;
}
