// The Update button: opens the first stage of an upload and locks the dialog for it.
#include <array>

#include "angles/NumberText.h"
#include "base/GaugeFacts.h"
#include "dialog/CTillerbyDlg.h"
#include "res/ControlIds.h"
#include "upload/WireFormat.h"

void CTillerbyDlg::OnUpdate() {
    const bool ias = DialChosen(wire::kIasStage);
    const bool tas = DialChosen(wire::kTasStage);
    const bool table = TableChosen();
    if (table && !tas) {
        m_host.MessageBox(kTableNeedsTasMessage);
        return;
    }
    // The button is usable only with an open port and something selected; a caller that
    // ignores that gets nothing sent.
    if (!m_portOpen.load() || (!ias && !tas))
        return;
    // Nothing can answer on a line that is gone; the upload would lock the dialog for ever.
    if (m_readerExitCode.load() == -1) {
        m_host.MessageBox(kLineLostMessage);
        return;
    }
    // An angle that does not fit three hexadecimal digits would garble the table line:
    // refuse before anything reaches the gauge.
    int badEntry = 0;
    if (table && !AngleTableLine(&badEntry)) {
        m_host.MessageBox("Needle angle for " + std::to_string(gauge::kKnotsPerEntry * badEntry) +
                          " knots cannot be sent to the gauge: angles must be from 0 to " +
                          numtext::FormatG(gauge::kMaxWireAngle) + " degrees.");
        return;
    }
    m_engine.Begin(ias ? wire::kIasStage : wire::kTasStage);
    SendLoadCommand();
    EnableControls(false);
    m_host.SetTimer(kSilenceTimer, kSilenceLimitMs);
}

void CTillerbyDlg::EnableControls(bool enable) {
    static constexpr std::array<int, 15> kControls = {
        ids::kRefresh,       ids::kConnect,         ids::kPortList,      ids::kLoad,
        ids::kSave,          ids::kLinearIncrement, ids::kIasCheck,      ids::kTasCheck,
        ids::kUpdate,        ids::kMaxSpeedList,    ids::kAngleBox,      ids::kAngleSpin,
        ids::kMaxSpeedCheck, ids::kSelectIasDial,   ids::kSelectTasDial,
    };
    for (int id : kControls)
        m_host.EnableWindow(id, enable);
    for (int k = 1; k <= ids::kEntryCount; ++k) {
        m_host.EnableWindow(ids::EntryBoxId(k), enable);
        m_host.EnableWindow(ids::EntrySpinId(k), enable);
    }
}
