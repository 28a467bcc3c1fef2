// The dialog's side of the upload: the device's replies handed to the engine, and what
// the engine makes of them written to the port and shown in the window.
#include <algorithm>

#include "dialog/CTillerbyDlg.h"
#include "res/ControlIds.h"
#include "upload/WireFormat.h"

namespace {

constexpr int kReadBufferSize = 1024;

// Sets the data-consumed event on every way out of the notification handler.
class ConsumedOnExit {
public:
    explicit ConsumedOnExit(CEvent& event) : m_event(event) {}
    ~ConsumedOnExit() { m_event.SetEvent(); }
    ConsumedOnExit(const ConsumedOnExit&) = delete;
    ConsumedOnExit& operator=(const ConsumedOnExit&) = delete;

private:
    CEvent& m_event;
};

}  // namespace

long CTillerbyDlg::OnSerialData(unsigned wParam, long /*lParam*/) {
    ConsumedOnExit release(m_dataConsumed);
    if (!m_portOpen.load() || (wParam & 1u) == 0 || !m_port)
        return 0;

    // One byte more than the largest read, so a full read still ends in a zero.
    char buffer[kReadBufferSize + 1];
    int count = 0;
    const int waiting = m_port->BytesWaiting();
    if (waiting > 0)
        count = std::max(0, m_port->Read(buffer, std::min(waiting, kReadBufferSize)));
    buffer[count] = '\0';
    Apply(m_engine.Reply(buffer, count, *this));
    if (m_readerExitCode.load() == -1)
        OnLineLost();
    return 0;
}

int CTillerbyDlg::SendLoadCommand() {
    const std::string line = m_engine.LoadLine(*this);
    return static_cast<int>(WriteSerial(line.data(), static_cast<uint32_t>(line.size())));
}

void CTillerbyDlg::Apply(const upload::SUploadStep& step) {
    // First, so that a status the step sets is not replaced by the one before the silence.
    if (step.heard)
        HeardAcknowledgement();
    for (const std::string& line : step.lines)
        WriteSerial(line.data(), static_cast<uint32_t>(line.size()));
    if (step.status)
        m_host.SetWindowText(ids::kStatus, *step.status);
    if (step.progress)
        m_host.SetProgressPos(ids::kProgress, *step.progress);
    if (step.ended)
        EndUpload();
}

void CTillerbyDlg::EndUpload() {
    m_host.KillTimer(kSilenceTimer);
    m_gaugeSilent = false;
    EnableControls(true);
    OnMaxSpeedCheck();
    // The table the gauge took is kept there, as a saved one is in its file.
    if (m_engine.LastResult() == EUploadResult::Completed &&
        m_engine.State().UploadStage == wire::kTableStage)
        m_tableKept = TableAsShown();
}

// The reader thread found the line gone. An upload that waits for the device would keep
// the dialog locked for ever, Disconnect included, and the user's unsaved table with it:
// end it and say what happened.
void CTillerbyDlg::OnLineLost() {
    if (!m_engine.Running())
        return;
    AbandonUpload(EUploadResult::LineLost);
    m_host.MessageBox(kLineLostMessage);
}

void CTillerbyDlg::AbandonUpload(EUploadResult why) {
    Apply(m_engine.Abandon(why));
}

void CTillerbyDlg::HeardAcknowledgement() {
    if (!m_engine.Running())
        return;
    if (m_gaugeSilent) {
        m_gaugeSilent = false;
        m_host.SetWindowText(ids::kStatus, m_statusBeforeSilence);
        m_host.EnableWindow(ids::kConnect, false);
    }
    m_host.SetTimer(kSilenceTimer, kSilenceLimitMs);
}

// The gauge has been silent for the whole limit: offer Disconnect, which is the only way
// out of a locked dialog that keeps the user's table.
void CTillerbyDlg::OnTimer(int timerId) {
    if (timerId != kSilenceTimer)
        return;
    m_host.KillTimer(kSilenceTimer);
    if (!m_engine.Running() || m_gaugeSilent)
        return;
    m_gaugeSilent = true;
    m_statusBeforeSilence = m_host.GetWindowText(ids::kStatus);
    m_host.SetWindowText(ids::kStatus, kSilenceMessage);
    m_host.EnableWindow(ids::kConnect, true);
}

bool CTillerbyDlg::DialChosen(int stage) const {
    return m_host.GetCheck(stage == wire::kIasStage ? ids::kIasCheck : ids::kTasCheck) != 0;
}

bool CTillerbyDlg::TableChosen() const {
    return m_host.GetCheck(ids::kMaxSpeedCheck) != 0;
}

SPixelView CTillerbyDlg::StageDial(int stage) const {
    if (stage == wire::kIasStage)
        return m_iasUpload.View();
    if (stage == wire::kTasStage)
        return m_tasUpload.View();
    return {};
}

std::optional<std::string> CTillerbyDlg::TableLine() const {
    return AngleTableLine();
}

std::optional<std::string> CTillerbyDlg::AngleTableLine(int* badEntry) const {
    return wire::AngleTableLine(
        EntryCount(), [this](int k) { return m_host.GetWindowText(ids::EntryBoxId(k)); }, badEntry);
}
