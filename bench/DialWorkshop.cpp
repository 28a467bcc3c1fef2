#include "bench/DialWorkshop.h"

#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <chrono>
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

// The median milliseconds of `runs` runs of a command; a negative figure when it fails.
double MedianMs(int runs, const std::vector<std::string>& args) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        std::string error;
        const std::optional<SDialCommand> command = ParseDialCommand(args, &error);
        SDialReport report;
        const auto start = std::chrono::steady_clock::now();
        const bool done = command && RunDialCommand(*command, report) == EDialExit::Done;
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                         .count());
        if (!done) {
            std::printf("  kestran-dial %s failed: %s%s\n", args[0].c_str(), error.c_str(),
                        report.err.c_str());
            return -1;
        }
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

bool Row(const char* title, double ms, double targetMs) {
    const bool met = ms >= 0 && ms < targetMs;
    std::printf("%s: median %s ms (target under %s ms: %s)\n", title,
                numtext::FormatFixed(ms, 1).c_str(), numtext::FormatFixed(targetMs, 0).c_str(),
                met ? "met" : "MISSED");
    return met;
}

}  // namespace

bool ReportDialWorkshop(const std::string& folder, const std::string& ias, const std::string& tas) {
    const std::string art = folder + "/art-4096.jpg";
    if (!WriteLargeJpeg(art)) {
        std::printf("kestran-dial: cannot write the 4096 x 4096 JPEG\n");
        return false;
    }
    std::ofstream(folder + "/start.gac")
        << "20|7.5|15.0|22.5|30.0|50.0|70.0|90.0|113.0|136.0|161.0|186.0|208.0|225.0|241.0|"
           "256.0|269.0|282.0|294.0|306.0|318.0";
    bool met = Row("kestran-dial prepare, 4096 x 4096 JPEG to a dial, --circle",
                   MedianMs(3, {"prepare", art, "-o", folder + "/art-dial.png", "--circle"}), 1000);
    met = Row("kestran-dial preview, a dial with the start-up table at 3x",
              MedianMs(10, {"preview", "--dial", tas, "-o", folder + "/sheet.png", "--at", "150"}),
              200) && met;
    met = Row("kestran-dial cost, two dials and a table",
              MedianMs(20, {"cost", ias, tas, "--table", folder + "/start.gac"}), 10) && met;
    return met;
}
