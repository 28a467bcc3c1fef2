// Saving and loading gauge configuration files: one line, the entry count and then one
// angle per active entry, separated by "|".
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "angles/AngleEntryFlag.h"
#include "angles/GacFields.h"
#include "angles/NumberText.h"
#include "angles/TextFile.h"
#include "dialog/CTillerbyDlg.h"
#include "res/ControlIds.h"

namespace {

using gacfile::kMaxLineChars;
constexpr int kMinEntryCount = 10;

SFileDialogRequest GacFileDialog(bool open) {
    SFileDialogRequest request;
    request.open = open;
    request.defaultExt = "gac";
    request.flags = kOfnHideReadOnly | kOfnOverwritePrompt;
    request.filter = open ? "Gauge Conf Files (*.gac)|*.gac|All File (*.*)|*.*||"
                          : "Gauge Conf  Files (*.gac)|*.gac|All File (*.*)|*.*||";
    return request;
}

}  // namespace

void CTillerbyDlg::OnSave() {
    if (!CheckPlausibility())
        return;

    const int n = m_host.GetCurSel(ids::kMaxSpeedList) + 10;
    std::string line = std::to_string(n);
    for (int k = 1; k <= n && k <= ids::kEntryCount; ++k) {
        const double angle = numtext::AtoF(m_host.GetWindowText(ids::EntryBoxId(k)));
        const std::string field = "|" + numtext::FormatFixed(angle, 1);
        // A line that loading could not read back in full would lose the table's end.
        if (!std::isfinite(angle) || line.size() + field.size() > kMaxLineChars) {
            char message[128];
            std::snprintf(message, sizeof message,
                          "Needle angle for %d knots is too large to be saved", 10 * k);
            FlagAngleEntry(m_host, k, message);
            return;
        }
        line += field;
    }

    const std::optional<std::string> path = m_host.FileDialog(GacFileDialog(false));
    if (!path)
        return;
    switch (textfile::ReplaceFile(*path, line)) {
        case textfile::EWriteResult::Ok:
            break;
        case textfile::EWriteResult::OpenFailed:
            m_host.MessageBox("Error open file.");
            break;
        case textfile::EWriteResult::WriteFailed:
            m_host.MessageBox("Error writing file. Nothing was saved.");
            break;
    }
}

void CTillerbyDlg::OnLoad() {
    const std::optional<std::string> path = m_host.FileDialog(GacFileDialog(true));
    if (!path)
        return;
    std::string line;
    switch (textfile::ReadFirstLine(*path, kMaxLineChars, line)) {
        case textfile::EReadResult::Ok:
            break;
        case textfile::EReadResult::OpenFailed:
            m_host.MessageBox("Error open file.");
            return;
        case textfile::EReadResult::ReadFailed:
            m_host.MessageBox("Error reading file.");
            return;
    }

    const std::vector<std::string> fields = gacfile::SplitFields(line);
    const int n = fields.empty() ? 0 : numtext::AtoI(fields[0]);
    if (n < kMinEntryCount || n > ids::kEntryCount) {
        m_host.MessageBox(
            "Not a gauge configuration file: it must begin with an entry count from 10 to 50.");
        return;
    }

    m_host.SetCurSel(ids::kMaxSpeedList, n - kMinEntryCount);
    // The table has 50 entries; further fields have nowhere to go.
    for (size_t k = 1; k < fields.size() && k <= ids::kEntryCount; ++k) {
        m_host.SetWindowText(ids::EntryBoxId(static_cast<int>(k)), fields[k]);
    }
    m_host.SetWindowText(ids::kAngleBox, m_host.GetWindowText(ids::EntryBoxId(n)));
    m_host.SetCheck(ids::kMaxSpeedCheck, 1);
    OnMaxSpeedCheck();
}
