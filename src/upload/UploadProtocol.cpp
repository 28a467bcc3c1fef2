// The upload dialogue with the gauge: every step is triggered by a device reply that the
// reader thread announced. Stop and wait: one line per acknowledgement.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/GaugeFacts.h"
#include "dialog/CTillerbyDlg.h"
#include "res/ControlIds.h"
#include "upload/RunLengthWalk.h"
#include "upload/WireFormat.h"

namespace {

constexpr int kReadBufferSize = 1024;

// The engine walks a fixed 230 x 230 grid of 32-bit pixels; anything else is never read.
bool IsUploadableDial(const CImage* image) {
    return image != nullptr && !image->IsNull() && image->GetWidth() == gauge::kDialSide &&
           image->GetHeight() == gauge::kDialSide && image->GetBPP() == 32;
}

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
    DispatchReply(buffer, count);
    if (m_readerExitCode.load() == -1)
        OnLineLost();
    return 0;
}

// The reader thread found the line gone. An upload that waits for the device would keep
// the dialog locked for ever, Disconnect included, and the user's unsaved table with it:
// end it as an error and say what happened.
void CTillerbyDlg::OnLineLost() {
    if (!m_uploadRunning)
        return;
    ErrorEnd();
    m_outcome = EUploadOutcome::LineLost;
    m_host.MessageBox(kLineLostMessage);
}

void CTillerbyDlg::DispatchReply(const char* bytes, int count) {
    // Before the first Update there is no stage: nothing the device says means anything.
    if (count == 0 || m_upload.UploadStage == 0)
        return;
    if (count == 1) {
        const bool acknowledgement = bytes[0] == 'U' || bytes[0] == 'f';
        if (acknowledgement)
            HeardAcknowledgement();
        // An acknowledgement before the stage's READY answers a LOAD line: the stage's
        // data never went out, and the counters left by the previous stage would report
        // it as done.
        if (acknowledgement && !m_upload.readyHeard) {
            ErrorEnd();
        } else if (bytes[0] == 'U') {
            Acknowledge();
        } else if (bytes[0] == 'f' && m_upload.UploadStage == 3) {
            SuccessfulEnd();
        } else {
            ErrorEnd();
        }
        return;
    }
    if (std::strcmp(bytes, "READY") == 0) {
        HeardAcknowledgement();
        StartStage();
    }
}

void CTillerbyDlg::HeardAcknowledgement() {
    ++m_acknowledgements;
    if (!m_uploadRunning)
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
    if (!m_uploadRunning || m_gaugeSilent)
        return;
    m_gaugeSilent = true;
    m_statusBeforeSilence = m_host.GetWindowText(ids::kStatus);
    m_host.SetWindowText(ids::kStatus, kSilenceMessage);
    m_host.EnableWindow(ids::kConnect, true);
}

void CTillerbyDlg::AbandonUpload() {
    if (m_uploadRunning)
        ErrorEnd();
}

const CImage* CTillerbyDlg::StageImage() const {
    if (m_upload.UploadStage == 1)
        return &m_iasUpload;
    if (m_upload.UploadStage == 2)
        return &m_tasUpload;
    return nullptr;
}

void CTillerbyDlg::StartStage() {
    if (m_upload.UploadStage >= 3) {
        int badEntry = 0;
        const auto line = wire::AngleTableLine(
            EntryCount(),
            [this](int k) { return m_host.GetWindowText(ids::EntryBoxId(k)); }, &badEntry);
        // A table that does not fit the line format is never sent.
        m_upload.readyHeard = true;
        if (line) {
            WriteLine(*line);
        } else {
            ErrorEnd();
        }
        return;
    }

    const CImage* image = StageImage();
    // The dial may have been dropped after an earlier upload ended; never read a picture
    // that is not there.
    if (!IsUploadableDial(image))
        return;

    SUploadState& u = m_upload;
    u.bytesCovered = 0;
    u.row = 0;
    u.column = 0;
    u.totalBytes = (image->GetBPP() / 8) * image->GetHeight() * image->GetWidth();
    const std::string line = wire::PixelLine(image->PixelAt(0, 0), 0);
    u.refRow = 0;
    u.refColumn = 0;
    u.runCount = 0;
    u.readyHeard = true;
    u.currentStep = std::min(u.UploadStage, u.dialCount);

    char status[256];
    std::snprintf(status, sizeof status,
                  "Update in progress, step %d of %d, do not close this program", u.currentStep,
                  u.dialCount);
    m_host.SetWindowText(ids::kStatus, status);
    m_host.SetProgressPos(ids::kProgress, 0);
    WriteLine(line);
}

void CTillerbyDlg::Acknowledge() {
    SUploadState& u = m_upload;
    // No dial has been started yet in this program run: there is nothing to acknowledge.
    if (u.totalBytes <= 0) {
        ErrorEnd();
        return;
    }
    u.bytesCovered += 4;
    // The dial count is at least 1 during an upload; guard against boxes cleared since.
    const int dials = u.dialCount > 0 ? u.dialCount : 1;
    const int progress =
        static_cast<int>((static_cast<long long>(u.bytesCovered) * 100 / u.totalBytes) / dials) +
        u.currentStep * 50 - 50;
    m_host.SetProgressPos(ids::kProgress, progress);
    if (u.bytesCovered >= u.totalBytes || u.UploadStage >= 3) {
        EndStage();
    } else {
        RunLengthStep();
    }
}

void CTillerbyDlg::RunLengthStep() {
    const CImage* image = StageImage();
    if (!IsUploadableDial(image)) {
        ErrorEnd();
        return;
    }
    SUploadState& u = m_upload;
    const runlength::SWalkStep step =
        runlength::NextLine(*image, u.row, u.column, u.refRow, u.refColumn);
    // Position and bytes covered move together, so this cannot happen; it keeps every read
    // inside the picture all the same.
    if (step.pastEnd) {
        u.row = step.row;
        u.column = step.column;
        EndStage();
        return;
    }
    u.runCount = step.runCount;
    u.bytesCovered += 4 * step.runCount;
    u.row = step.row;
    u.column = step.column;
    WriteLine(wire::PixelLine(image->PixelAt(step.sendColumn, step.sendRow), u.runCount));
    u.refRow = step.sendRow;
    u.refColumn = step.sendColumn;
    u.runCount = 0;
}

void CTillerbyDlg::EndStage() {
    SUploadState& u = m_upload;
    if (u.UploadStage == 1 && m_host.GetCheck(ids::kTasCheck) != 0) {
        WriteLine(wire::kContinue);
        u.UploadStage = 2;
        u.readyHeard = false;
        SendLoadCommand();
    } else if (u.UploadStage == 2 && m_host.GetCheck(ids::kMaxSpeedCheck) != 0) {
        WriteLine(wire::kContinue);
        u.UploadStage = 3;
        u.readyHeard = false;
        SendLoadCommand();
    } else {
        SuccessfulEnd();
    }
}

void CTillerbyDlg::SuccessfulEnd() {
    WriteLine(wire::kEnd);
    m_host.SetWindowText(ids::kStatus, "Update completed.");
    m_outcome = EUploadOutcome::Completed;
    EndUpload();
}

void CTillerbyDlg::ErrorEnd() {
    WriteLine(wire::kError);
    m_host.SetWindowText(ids::kStatus, "Error occurred.  Please try again.");
    m_outcome = EUploadOutcome::ErrorEnd;
    EndUpload();
}

void CTillerbyDlg::EndUpload() {
    m_host.KillTimer(kSilenceTimer);
    m_gaugeSilent = false;
    EnableControls(true);
    OnMaxSpeedCheck();
}

int CTillerbyDlg::SendLoadCommand() {
    m_upload.dialCount = (m_host.GetCheck(ids::kIasCheck) != 0 ? 1 : 0) +
                         (m_host.GetCheck(ids::kTasCheck) != 0 ? 1 : 0);
    const std::string line = wire::LoadLine(m_upload.UploadStage, m_upload.dialCount);
    return static_cast<int>(WriteSerial(line.data(), static_cast<uint32_t>(line.size())));
}

void CTillerbyDlg::WriteLine(const std::string& line) {
    WriteSerial(line.data(), static_cast<uint32_t>(line.size()));
}
