// The needle angle table: its check box, the maximum speed, the linear fill and the
// plausibility rule. The table keeps no model: every handler reads the controls.
#include <array>
#include <cstdio>
#include <string>

#include "angles/AngleEntryFlag.h"
#include "angles/NumberText.h"
#include "dialog/CTillerbyDlg.h"
#include "res/ControlIds.h"

namespace {

constexpr int kSpeedItems = 41;       // 100, 110, ..., 500 knots
constexpr int kStartSpeedIndex = 10;  // 200 knots
constexpr double kAngleMin = 0.0;
constexpr double kAngleMax = 360.0;
constexpr double kAngleStep = 0.1;
constexpr double kStartAngle = 318.0;

// Needle angles the table starts with, for 10 ... 200 knots.
constexpr std::array<double, 20> kStartAngles = {
    7.5,   15.0,  22.5,  30.0,  50.0,  70.0,  90.0,  113.0, 136.0, 161.0,
    186.0, 208.0, 225.0, 241.0, 256.0, 269.0, 282.0, 294.0, 306.0, 318.0,
};

void ConfigureAngleSpin(CNumSpinCtrl& spin) {
    spin.SetDecimals(1);
    spin.SetTrimZeros(false);
    spin.SetValueRange(kAngleMin, kAngleMax, kAngleStep);
}

}  // namespace

void CTillerbyDlg::InitAngleTable() {
    for (int i = 0; i < kSpeedItems; ++i) {
        m_host.AddString(ids::kMaxSpeedList, std::to_string(100 + 10 * i));
    }
    m_host.SetCurSel(ids::kMaxSpeedList, kStartSpeedIndex);

    ConfigureAngleSpin(m_angleSpin);
    m_angleSpin.SetValue(kStartAngle);

    for (int k = 1; k <= ids::kEntryCount; ++k)
        ConfigureAngleSpin(EntrySpin(k));
    for (int k = 1; k <= static_cast<int>(kStartAngles.size()); ++k) {
        EntrySpin(k).SetValue(kStartAngles[static_cast<size_t>(k - 1)]);
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
    const int n = m_host.GetCurSel(ids::kMaxSpeedList) + 10;
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
    const int n = m_host.GetCurSel(ids::kMaxSpeedList) + 10;
    const double step = numtext::AtoF(m_host.GetWindowText(ids::kAngleBox)) / n;
    for (int k = 1; k <= n && k <= ids::kEntryCount; ++k) {
        m_host.SetWindowText(ids::EntryBoxId(k), numtext::FormatFixed(k * step, 1));
    }
}

long CTillerbyDlg::OnAngleSpinDelta() {
    return 0;
}

bool CTillerbyDlg::CheckPlausibility() {
    const int n = m_host.GetCurSel(ids::kMaxSpeedList) + 10;
    double previous = 0.0;
    for (int k = 1; k <= n && k <= ids::kEntryCount; ++k) {
        const double value = numtext::AtoF(m_host.GetWindowText(ids::EntryBoxId(k)));
        // Written so that a value that is not a number fails as well.
        if (!(previous < value)) {
            char message[128];
            std::snprintf(message, sizeof message, "Needle angle for %d knots doesn't seem right",
                          10 * k);
            FlagAngleEntry(m_host, k, message);
            return false;
        }
        previous = value;
    }
    return true;
}
