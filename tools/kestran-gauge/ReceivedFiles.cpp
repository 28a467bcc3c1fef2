#include "kestran-gauge/ReceivedFiles.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include "dial/PngWrite.h"

namespace fs = std::filesystem;

namespace {

// Writes a file through a draft beside it, so that a reader sees the old file or the new
// one, never a part.
template <typename Writer>
bool ReplaceFile(const fs::path& target, Writer write) {
    const fs::path draft = target.string() + ".new";
    if (!write(draft)) {
        std::error_code ec;
        fs::remove(draft, ec);
        return false;
    }
    std::error_code ec;
    fs::rename(draft, target, ec);
    if (ec)
        fs::remove(draft, ec);
    return !ec;
}

}  // namespace

std::string AngleTableText(const std::vector<int>& tenths) {
    std::string text = "entries " + std::to_string(tenths.size()) + "\n";
    for (size_t k = 0; k < tenths.size(); ++k) {
        const int value = tenths[k];
        text += std::to_string(10 * (k + 1)) + " " + std::to_string(value / 10) + "." +
                std::to_string(value % 10) + "\n";
    }
    return text;
}

SWrittenFiles WriteReceivedFiles(const CVirtualGauge& gauge, const fs::path& dir) {
    SWrittenFiles result;
    auto note = [&result, &dir](const std::string& name, bool written) {
        if (written) {
            result.names.push_back(name);
        } else if (result.error.empty()) {
            result.error = "cannot write " + (dir / name).string();
        }
    };
    const char* dialNames[] = {"ias.png", "tas.png"};
    for (int stage = 1; stage <= 2; ++stage) {
        const CImage* dial = gauge.Dial(stage);
        if (dial == nullptr)
            continue;
        const std::string name = dialNames[stage - 1];
        note(name, ReplaceFile(dir / name, [dial](const fs::path& path) {
                 return WritePng(path.c_str(), *dial);
             }));
    }
    if (!gauge.TableTenths().empty()) {
        const std::string text = AngleTableText(gauge.TableTenths());
        note("table.txt", ReplaceFile(dir / "table.txt", [&text](const fs::path& path) {
                 std::ofstream out(path, std::ios::binary | std::ios::trunc);
                 out << text;
                 return static_cast<bool>(out.flush());
             }));
    }
    return result;
}
