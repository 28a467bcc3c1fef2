#include "harness/GacCase.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "harness/DialogRig.h"
#include "harness/FuzzCheck.h"
#include "harness/ScratchDir.h"
#include "res/ControlIds.h"
#include "support/FileBytes.h"

namespace fuzzcase {
namespace {

// What a load may change: the maximum speed, the entries, the Angle box, the check box.
struct STable {
    int speedIndex = 0;
    std::vector<std::string> entries;
    std::string angle;
    int checked = 0;
    bool operator==(const STable&) const = default;
};

STable Snapshot(const CHeadlessHost& host) {
    STable table;
    table.speedIndex = host.GetCurSel(ids::kMaxSpeedList);
    for (int k = 1; k <= ids::kEntryCount; ++k) {
        table.entries.push_back(host.GetWindowText(ids::EntryBoxId(k)));
    }
    table.angle = host.GetWindowText(ids::kAngleBox);
    table.checked = host.GetCheck(ids::kMaxSpeedCheck);
    return table;
}

// The line the table's active entries make, as a file holds it.
std::string TableLine(const CHeadlessHost& host) {
    const int n = host.GetCurSel(ids::kMaxSpeedList) + 10;
    std::string line = std::to_string(n);
    for (int k = 1; k <= n; ++k)
        line += "|" + host.GetWindowText(ids::EntryBoxId(k));
    return line;
}

void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    FuzzCheck(static_cast<bool>(out), "cannot write the scratch file");
}

// "-"? digits "." digit: what the one-decimal format gives.
bool IsOneDecimal(const std::string& field) {
    size_t i = field.size() > 0 && field[0] == '-' ? 1 : 0;
    const size_t digits = i;
    while (i < field.size() && field[i] >= '0' && field[i] <= '9')
        ++i;
    return i > digits && i + 2 == field.size() && field[i] == '.' && field[i + 1] >= '0' &&
           field[i + 1] <= '9';
}

void CheckSavedLine(const std::string& line, int n) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t bar = line.find('|', start);
        fields.push_back(line.substr(start, bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    FuzzCheck(fields[0] == std::to_string(n), "a saved file does not start with the count");
    FuzzCheck(fields.size() == static_cast<size_t>(n) + 1,
              "a saved file has the wrong field count");
    for (size_t k = 1; k < fields.size(); ++k) {
        FuzzCheck(IsOneDecimal(fields[k]),
                  [&] { return "a saved angle is not a one-decimal number: " + fields[k]; });
    }
}

}  // namespace

void RunGacFile(const CScratchDir& scratch, const uint8_t* data, size_t size) {
    const std::string input = scratch.File("input.gac");
    const std::string saved = scratch.File("saved.gac");
    WriteBytes(input, data, size);
    std::error_code ec;
    std::filesystem::remove(saved, ec);

    SDialogRig rig;
    CHeadlessHost& host = rig.host;
    const STable before = Snapshot(host);
    host.QueueFileDialogAnswer(input);
    FuzzCheck(host.Click(ids::kLoad), "the Load button is not usable at start");
    if (!host.Messages().empty()) {
        FuzzCheck(Snapshot(host) == before, "a refused file changed the table");
        return;
    }
    FuzzCheck(host.GetCheck(ids::kMaxSpeedCheck) == 1, "a loaded table is not selected");
    FuzzCheck(host.IsWindowEnabled(ids::kSave), "Save is not usable after a load");

    host.QueueFileDialogAnswer(saved);
    host.Click(ids::kSave);
    const bool written = std::filesystem::exists(saved, ec);
    if (!host.Messages().empty()) {
        FuzzCheck(!written, "a refused save wrote a file");
        return;
    }
    FuzzCheck(written, "a save without a message wrote no file");
    const std::string line = ReadFileBytes(saved);
    CheckSavedLine(line, host.GetCurSel(ids::kMaxSpeedList) + 10);

    host.QueueFileDialogAnswer(saved);
    host.Click(ids::kLoad);
    FuzzCheck(host.Messages().empty(), [&] { return "a saved file does not load: " + line; });
    FuzzCheck(TableLine(host) == line,
              [&] { return "a saved file loads back to another table: " + line; });
}

}  // namespace fuzzcase
