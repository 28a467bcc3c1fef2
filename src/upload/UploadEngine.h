#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dial/PixelView.h"
#include "upload/DialWalk.h"
#include "upload/UploadResult.h"

namespace upload {

// What the engine reads of the user's choices, each at the moment it needs it: a window
// answers from its check boxes and entries, which the user may have changed since an
// earlier upload ended.
class IUploadChoices {
public:
    virtual ~IUploadChoices() = default;
    // Whether the dial of stage 1 (IAS) or 2 (TAS) is chosen.
    virtual bool DialChosen(int stage) const = 0;
    virtual bool TableChosen() const = 0;
    // The picture of stage 1 or 2; an empty view when there is none.
    virtual SPixelView StageDial(int stage) const = 0;
    // The angle-table line; nothing when an entry cannot be sent.
    virtual std::optional<std::string> TableLine() const = 0;
};

// What one event made of the upload: the lines for the device, in order, and what the
// user sees.
struct SUploadStep {
    std::vector<std::string> lines;
    std::optional<std::string> status;
    std::optional<int> progress;  // 0 to 100
    bool heard = false;           // the device acknowledged: READY, U or f
    bool ended = false;           // the upload ended here; LastResult() says how
};

// The upload state: set by Update, advanced by the device's replies, never reset. After an
// end the values stay, and later replies are still answered from them.
struct SUploadState {
    int UploadStage = 0;  // 1 IAS dial, 2 TAS dial, 3 angle table; 0 before the first Update
    int dialCount = 0;
    int currentStep = 0;
    SDialWalk walk;
    bool readyHeard = false;  // the device has answered the current stage's LOAD line
};

// The upload dialogue with the gauge, stop and wait: every step answers one read of the
// device's bytes. It knows no window: the choices come in, the steps go out.
class CUploadEngine {
public:
    // Update: the upload begins with `stage` (1 with the IAS dial, otherwise 2); the caller
    // opens it with LoadLine().
    void Begin(int stage);
    // The LOAD line of the current stage, its dial count taken from the choices now.
    std::string LoadLine(const IUploadChoices& choices);
    // One read of the device's bytes: `count` bytes at `bytes`, followed by a zero byte.
    SUploadStep Reply(const char* bytes, int count, const IUploadChoices& choices);
    // Ends a running upload as `why` says: ERR to the device, the error status. Nothing
    // when no upload runs.
    SUploadStep Abandon(EUploadResult why);

    // From Begin to the upload's end.
    bool Running() const { return m_running; }
    // How the last upload ended; nothing before the first end.
    std::optional<EUploadResult> LastResult() const { return m_result; }
    const SUploadState& State() const { return m_state; }
    // Acknowledgements heard (READY, U, f) and lines made, since the engine was made.
    int Acknowledgements() const { return m_acknowledgements; }
    int LinesMade() const { return m_linesMade; }

private:
    void Write(SUploadStep& step, const std::string& line);
    void StartStage(SUploadStep& step, const IUploadChoices& choices);
    void Acknowledge(SUploadStep& step, const IUploadChoices& choices);
    void EndStage(SUploadStep& step, const IUploadChoices& choices);
    // The successful end (END) when `result` is Completed, otherwise an error end (ERR).
    void End(SUploadStep& step, EUploadResult result);

    SUploadState m_state;
    bool m_running = false;
    std::optional<EUploadResult> m_result;
    int m_acknowledgements = 0;
    int m_linesMade = 0;
};

}  // namespace upload
