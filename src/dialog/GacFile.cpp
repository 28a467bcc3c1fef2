// Saving and loading gauge configuration files: one line, the entry count and then one
// angle per active entry, separated by "|".
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "angles/AngleEntryFlag.h"
#include "angles/GacLine.h"
#include "angles/NumberText.h"
#include "angles/TextFile.h"
#include "base/GaugeFacts.h"
#include "dialog/CTillerbyDlg.h"
#include "res/ControlIds.h"

namespace {

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

    const int n = EntryCount();
    std::vector<double> angles;
    for (int k = 1; k <= n && k <= ids::kEntryCount; ++k)
        angles.push_back(numtext::AtoF(m_host.GetWindowText(ids::EntryBoxId(k))));
    int badEntry = 0;
    const std::optional<std::string> line = gacfile::BuildLine(angles, &badEntry);
    if (!line) {
        char message[128];
        std::snprintf(message, sizeof message, "Needle angle for %d knots is too large to be saved",
                      10 * badEntry);
        FlagAngleEntry(m_host, badEntry, message);
        return;
    }

    const std::optional<std::string> path = AskForFile(GacFileDialog(false));
    if (!path)
        return;
    switch (textfile::ReplaceFile(*path, *line)) {
        case textfile::EWriteResult::Ok:
            m_tableKept = TableAsShown();
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
    if (const std::optional<std::string> path = AskForFile(GacFileDialog(true)))
        LoadTableFile(*path);
}

bool CTillerbyDlg::LoadTableFile(const std::string& path) {
    if (!m_host.IsWindowEnabled(ids::kLoad))
        return false;
    std::string refusal;
    const std::optional<gacfile::SGacTable> table = gacfile::ReadTable(path, &refusal);
    if (!table) {
        m_host.MessageBox(refusal);
        return true;
    }

    const int n = table->count;
    m_host.SetCurSel(ids::kMaxSpeedList, n - gauge::kMinEntries);
    for (size_t k = 1; k <= table->angles.size(); ++k) {
        m_host.SetWindowText(ids::EntryBoxId(static_cast<int>(k)), table->angles[k - 1]);
    }
    m_host.SetWindowText(ids::kAngleBox, m_host.GetWindowText(ids::EntryBoxId(n)));
    m_host.SetCheck(ids::kMaxSpeedCheck, 1);
    OnMaxSpeedCheck();
    m_tableKept = TableAsShown();
    return true;
}
