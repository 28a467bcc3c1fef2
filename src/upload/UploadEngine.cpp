// The upload dialogue with the gauge: every step answers a device reply. Stop and wait:
// one line per acknowledgement.
#include "upload/UploadEngine.h"

#include <algorithm>
#include <cstdio>

#include "upload/WireFormat.h"

namespace upload {

void CUploadEngine::Begin(int stage) {
    m_state.UploadStage = stage;
    m_state.readyHeard = false;
    m_running = true;
}

std::string CUploadEngine::LoadLine(const IUploadChoices& choices) {
    m_state.dialCount = (choices.DialChosen(wire::kIasStage) ? 1 : 0) +
                        (choices.DialChosen(wire::kTasStage) ? 1 : 0);
    ++m_linesMade;
    return wire::LoadLine(m_state.UploadStage, m_state.dialCount);
}

void CUploadEngine::Write(SUploadStep& step, const std::string& line) {
    step.lines.push_back(line);
    ++m_linesMade;
}

SUploadStep CUploadEngine::Reply(const char* bytes, int count, const IUploadChoices& choices) {
    SUploadStep step;
    // Before the first Update there is no stage: nothing the device says means anything.
    if (count == 0 || m_state.UploadStage == 0)
        return step;
    if (count == 1) {
        const char reply = bytes[0];
        const bool acknowledgement = reply == wire::kPixelTaken || reply == wire::kTableTaken;
        if (acknowledgement) {
            step.heard = true;
            ++m_acknowledgements;
        }
        // An acknowledgement before the stage's READY answers a LOAD line: the stage's
        // data never went out, and the counters left by the previous stage would report
        // it as done.
        if (acknowledgement && !m_state.readyHeard) {
            End(step, EUploadResult::GaugeError);
        } else if (reply == wire::kPixelTaken) {
            Acknowledge(step, choices);
        } else if (reply == wire::kTableTaken && m_state.UploadStage == wire::kTableStage) {
            End(step, EUploadResult::Completed);
        } else {
            End(step, EUploadResult::GaugeError);
        }
        return step;
    }
    if (wire::kReady == bytes) {
        step.heard = true;
        ++m_acknowledgements;
        StartStage(step, choices);
    }
    return step;
}

SUploadStep CUploadEngine::Abandon(EUploadResult why) {
    SUploadStep step;
    if (m_running)
        End(step, why);
    return step;
}

void CUploadEngine::StartStage(SUploadStep& step, const IUploadChoices& choices) {
    SUploadState& u = m_state;
    if (u.UploadStage >= wire::kTableStage) {
        const std::optional<std::string> line = choices.TableLine();
        // A table that does not fit the line format is never sent.
        u.readyHeard = true;
        if (line) {
            Write(step, *line);
        } else {
            End(step, EUploadResult::GaugeError);
        }
        return;
    }
    const SPixelView dial = choices.StageDial(u.UploadStage);
    // The dial may have been dropped after an earlier upload ended; never read a picture
    // that is not there.
    if (!IsDial(dial))
        return;
    const SPixelLine first = u.walk.Start(dial);
    u.readyHeard = true;
    u.currentStep = std::min(u.UploadStage, u.dialCount);
    char status[256];
    std::snprintf(status, sizeof status,
                  "Update in progress, step %d of %d, do not close this program", u.currentStep,
                  u.dialCount);
    step.status = status;
    step.progress = 0;
    Write(step, wire::PixelLine(first));
}

void CUploadEngine::Acknowledge(SUploadStep& step, const IUploadChoices& choices) {
    SUploadState& u = m_state;
    // No dial has been started yet in this program run: there is nothing to acknowledge.
    if (u.walk.totalBytes <= 0) {
        End(step, EUploadResult::GaugeError);
        return;
    }
    u.walk.Acknowledge();
    // The dial count is at least 1 during an upload; guard against boxes cleared since.
    const int dials = u.dialCount > 0 ? u.dialCount : 1;
    step.progress =
        static_cast<int>((static_cast<long long>(u.walk.bytesCovered) * 100 / u.walk.totalBytes) /
                         dials) +
        u.currentStep * 50 - 50;
    if (u.walk.Complete() || u.UploadStage >= wire::kTableStage) {
        EndStage(step, choices);
        return;
    }
    const SPixelView dial = choices.StageDial(u.UploadStage);
    if (!IsDial(dial)) {
        End(step, EUploadResult::GaugeError);
        return;
    }
    // Position and bytes covered move together, so the walk cannot run out first; it keeps
    // every read inside the picture all the same.
    const std::optional<SPixelLine> line = u.walk.Next(dial);
    if (!line) {
        EndStage(step, choices);
        return;
    }
    Write(step, wire::PixelLine(*line));
}

void CUploadEngine::EndStage(SUploadStep& step, const IUploadChoices& choices) {
    SUploadState& u = m_state;
    int next = 0;
    if (u.UploadStage == wire::kIasStage && choices.DialChosen(wire::kTasStage)) {
        next = wire::kTasStage;
    } else if (u.UploadStage == wire::kTasStage && choices.TableChosen()) {
        next = wire::kTableStage;
    } else {
        End(step, EUploadResult::Completed);
        return;
    }
    Write(step, wire::kContinue);
    u.UploadStage = next;
    u.readyHeard = false;
    step.lines.push_back(LoadLine(choices));
}

void CUploadEngine::End(SUploadStep& step, EUploadResult result) {
    const bool completed = result == EUploadResult::Completed;
    Write(step, completed ? wire::kEnd : wire::kError);
    step.status = completed ? "Update completed." : "Error occurred.  Please try again.";
    step.ended = true;
    m_running = false;
    m_result = result;
}

}  // namespace upload
