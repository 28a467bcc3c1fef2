#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "dialog/DialogEnd.h"
#include "host/DialogHost.h"

class CHeadlessCanvas;
class CTillerbyDlg;

// A dialog host without a window: every control of the main dialog's template lives in
// memory. The command-line uploader runs the dialog on it, and tests drive and inspect it.
// Clicks, selections and typing go through the same rules a window has: a disabled
// control does not react. What the dialog paints is counted, and kept only on a canvas
// attached to the host.
class CHeadlessHost : public IDialogHost {
public:
    struct SControlState {
        std::string text;
        bool enabled = true;
        int check = 0;
        std::vector<std::string> items;
        int curSel = -1;
        bool sorted = false;
        int progress = 0;
        int spinLower = 0, spinUpper = 100, spinPos = 0;
        int selStart = 0, selEnd = 0;
    };

    CHeadlessHost();

    // The dialog whose handlers the simulated user actions and notifications reach.
    void Attach(CTillerbyDlg* dialog) {
        m_dialog = dialog;
        m_end.Attach(dialog);
    }
    // Where repaints and drawn pictures land from now on; nullptr drops them again.
    void AttachCanvas(CHeadlessCanvas* canvas) { m_canvas = canvas; }

    KESTRAN_DIALOG_HOST_OVERRIDES

    // Simulated user -------------------------------------------------------------------
    // Click a button or check box (an automatic check box toggles first). False when the
    // control is disabled and nothing happened.
    bool Click(int id);
    // Pick an item of a combo box.
    bool SelectItem(int id, int index);
    // Replace an edit box's text as typing would.
    bool Type(int id, const std::string& text);
    // Click a spin button's arrow: delta +1 up, -1 down.
    bool ClickSpin(int id, int delta);
    // Answers for the next file dialogs, in order; nothing means cancel. Without a queued
    // answer a file dialog is cancelled.
    void QueueFileDialogAnswer(std::optional<std::string> path);
    // Answers for the next Yes/No questions, in order; without one the answer is No.
    void QueueQuestionAnswer(bool yes);
    // The keys that end a dialog: Enter clicks an enabled push button that has the focus
    // and is IDOK anywhere else; Escape is IDCANCEL, as the close box is. True when the
    // dialog ended.
    bool PressEnter();
    bool PressEscape();
    bool Ended() const { return m_end.Ended(); }

    // The host's own clock, which only this call moves: timers that fall due on the way
    // run in time order.
    void AdvanceClock(std::chrono::milliseconds elapsed);
    bool TimerRunning(int timerId) const { return m_timers.count(timerId) != 0; }

    // Serial notifications posted by the reader thread --------------------------------
    // Wait up to `timeout` for a posted notification and run the dialog's handler on the
    // calling thread. False when none came.
    bool RunNotification(std::chrono::milliseconds timeout);
    int PendingNotifications() const;

    // Inspection -----------------------------------------------------------------------
    const SControlState& Control(int id) const;
    const std::vector<std::string>& Messages() const { return m_messages; }
    // The cause behind each message, in the same order; empty where none was given.
    const std::vector<std::string>& MessageReasons() const { return m_reasons; }
    void ClearMessages() {
        m_messages.clear();
        m_reasons.clear();
    }
    const std::vector<std::string>& Questions() const { return m_questions; }
    const std::vector<SFileDialogRequest>& FileDialogRequests() const { return m_fileRequests; }
    int RepaintCount() const { return m_repaints; }
    int FocusId() const { return m_focus; }

private:
    SControlState& At(int id);
    const SControlState& At(int id) const;

    struct STimer {
        std::chrono::milliseconds interval;
        std::chrono::milliseconds due;
    };

    CTillerbyDlg* m_dialog = nullptr;
    std::map<int, SControlState> m_controls;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_reasons;
    std::vector<std::string> m_questions;
    std::deque<bool> m_questionAnswers;
    std::map<int, STimer> m_timers;
    std::chrono::milliseconds m_now{0};
    CDialogEnd m_end;
    std::deque<std::optional<std::string>> m_fileAnswers;
    std::vector<SFileDialogRequest> m_fileRequests;
    CHeadlessCanvas* m_canvas = nullptr;
    int m_repaints = 0;
    int m_focus = 0;

    mutable std::mutex m_postMutex;
    std::condition_variable m_postCv;
    int m_posted = 0;
};
