// The needle angle table: its check box, the maximum speed, the linear fill and the
// plausibility rule. The table keeps no model: every handler reads the controls.
#include <string>
#include <vector>

#include "angles/AngleEntryFlag.h"
#include "angles/NumberText.h"
#include "angles/Plausibility.h"
#include "angles/StartTable.h"
#include "base/GaugeFacts.h"
#include "dialog/CTillerbyDlg.h"
#include "res/ControlIds.h"

namespace {

constexpr int kStartSpeedIndex = 10;  // 200 knots
constexpr double kAngleMin = 0.0;
constexpr double kAngleMax = 360.0;
constexpr double kAngleStep = 0.1;

void ConfigureAngleSpin(CNumSpinCtrl& spin) {
    spin.SetDecimals(1);
    spin.SetTrimZeros(false);
    spin.SetValueRange(kAngleMin, kAngleMax, kAngleStep);
}

}  // namespace

void CTillerbyDlg::InitAngleTable() {
    for (int i = 0; i < gauge::kMaxSpeedItems; ++i) {
        m_host.AddString(ids::kMaxSpeedList,
                         std::to_string(gauge::kKnotsPerEntry * gauge::EntryCount(i)));
    }
    m_host.SetCurSel(ids::kMaxSpeedList, kStartSpeedIndex);

    ConfigureAngleSpin(m_angleSpin);
    m_angleSpin.SetValue(starttable::kTopAngle);

    for (int k = 1; k <= ids::kEntryCount; ++k)
        ConfigureAngleSpin(EntrySpin(k));
    for (int k = 1; k <= starttable::kEntries; ++k) {
        EntrySpin(k).SetValue(starttable::kAngles[static_cast<size_t>(k - 1)]);
    }
}

void CTillerbyDlg::OnMaxSpeedCheck() {
    const bool editable = m_host.GetCheck(ids::kMaxSpeedCheck) != 0;
    for (int id : {ids::kMaxSpeedList, ids::kAngleBox, ids::kLinearIncrement, ids::kSave}) {
        m_host.EnableWindow(id, editable);
    }
    if (editable) {
        OnMaxSpeedChange();
    } else {
        for (int k = 1; k <= ids::kEntryCount; ++k)
            m_host.EnableWindow(ids::EntryBoxId(k), false);
    }
    UpdateButtonState();
}

void CTillerbyDlg::OnMaxSpeedChange() {
    const int n = EntryCount();
    for (int k = 1; k <= n && k <= ids::kEntryCount; ++k) {
        m_host.EnableWindow(ids::EntryBoxId(k), true);
        m_host.EnableWindow(ids::EntrySpinId(k), true);
    }
    for (int k = n + 1; k <= ids::kEntryCount; ++k) {
        m_host.SetWindowText(ids::EntryBoxId(k), "");
        m_host.EnableWindow(ids::EntryBoxId(k), false);
    }
    const std::string angle = m_host.GetWindowText(ids::kAngleBox);
    if (numtext::AtoF(angle) > 0.0 && n >= 1 && n <= ids::kEntryCount) {
        m_host.SetWindowText(ids::EntryBoxId(n), angle);
    }
}

void CTillerbyDlg::OnLinearIncrement() {
    const int n = EntryCount();
    const double step = numtext::AtoF(m_host.GetWindowText(ids::kAngleBox)) / n;
    for (int k = 1; k <= n && k <= ids::kEntryCount; ++k) {
        m_host.SetWindowText(ids::EntryBoxId(k), numtext::FormatFixed(k * step, 1));
    }
}

int CTillerbyDlg::EntryCount() const {
    return gauge::EntryCount(m_host.GetCurSel(ids::kMaxSpeedList));
}

long CTillerbyDlg::OnAngleSpinDelta() {
    return 0;
}

bool CTillerbyDlg::CheckPlausibility() {
    const int n = EntryCount();
    std::vector<double> angles;
    for (int k = 1; k <= n && k <= ids::kEntryCount; ++k)
        angles.push_back(numtext::AtoF(m_host.GetWindowText(ids::EntryBoxId(k))));
    const int failing = plausibility::FirstFailingEntry(angles);
    if (failing != 0) {
        FlagAngleEntry(m_host, failing, plausibility::Message(failing));
        return false;
    }
    return true;
}
