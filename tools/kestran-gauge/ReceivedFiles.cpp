#include "kestran-gauge/ReceivedFiles.h"

#include <cstdio>
#include <fstream>

#include "artwork/NeedleSheet.h"
#include "base/DraftFile.h"
#include "dial/PngWrite.h"

namespace fs = std::filesystem;

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
        note(name, draftfile::Replace(dir / name, [dial](const fs::path& path) {
                 return WritePng(path.c_str(), dial->View());
             }));
    }
    if (!gauge.TableTenths().empty()) {
        const std::string text = AngleTableText(gauge.TableTenths());
        note("table.txt", draftfile::Replace(dir / "table.txt", [&text](const fs::path& path) {
                 std::ofstream out(path, std::ios::binary | std::ios::trunc);
                 out << text;
                 return static_cast<bool>(out.flush());
             }));
    }
    const CImage* tas = gauge.Dial(2);
    if (tas != nullptr && !gauge.TableTenths().empty()) {
        const SRgbaPicture sheet =
            artwork::DrawNeedleSheet(SRgbaPicture::CopyOf(tas->View()), gauge.TableDegrees(), {});
        note("needles.png", draftfile::Replace(dir / "needles.png", [&sheet](const fs::path& path) {
                 return WritePng(path.c_str(), sheet.View());
             }));
    }
    return result;
}
