#pragma once

#include <optional>
#include <string>

#include "base/Message.h"

class CImage;

// Flags of the file dialogs, with the values the dialog resources use.
constexpr unsigned kOfnOverwritePrompt = 0x0002;
constexpr unsigned kOfnHideReadOnly = 0x0004;
constexpr unsigned kOfnFileMustExist = 0x1000;

struct SFileDialogRequest {
    bool open = true;        // open dialog; false: save-as dialog
    std::string defaultExt;  // added to a typed name without extension, e.g. "png"
    std::string fileName;    // initial file name
    std::string folder;      // where it opens; empty: the system's choice
    unsigned flags = 0;      // kOfn... bits
    std::string filter;      // "Text (*.x)|*.x|All File (*.*)|*.*||"
};

// What the main dialog's logic needs from a window system. Controls are addressed by the
// ids of the dialog template. All calls except PostSerialNotification are made on the
// user-interface thread, and every handler the host calls back runs there too.
class IDialogHost {
public:
    virtual ~IDialogHost() = default;

    // Any control.
    virtual std::string GetWindowText(int id) const = 0;
    virtual void SetWindowText(int id, const std::string& text) = 0;
    virtual bool IsWindowEnabled(int id) const = 0;
    virtual void EnableWindow(int id, bool enable) = 0;
    virtual void SetFocus(int id) = 0;
    // The control that has the keyboard focus; 0 when no control of the dialog has it.
    virtual int GetFocus() const = 0;

    // Check boxes: 0 clear, 1 ticked.
    virtual int GetCheck(int id) const = 0;
    virtual void SetCheck(int id, int state) = 0;

    // Combo boxes. AddString keeps a sorted box sorted and answers the new item's index.
    virtual void ResetContent(int id) = 0;
    virtual int AddString(int id, const std::string& text) = 0;
    virtual int GetCount(int id) const = 0;
    virtual int GetCurSel(int id) const = 0;  // -1 when nothing is selected
    virtual void SetCurSel(int id, int index) = 0;

    // Edit boxes: select characters [start, end) and scroll the caret into view.
    virtual void SetSel(int id, int start, int end) = 0;

    // Progress bar, range 0..100.
    virtual void SetProgressPos(int id, int pos) = 0;

    // Native integer range and position of a spin button.
    virtual void SetSpinRange(int id, int lower, int upper) = 0;
    virtual void SetSpinPos(int id, int pos) = 0;

    // Modal message box with the application's name as caption and one OK button: the
    // message's text first, its reason (when there is one) beneath it.
    virtual void MessageBox(const SMessage& message) = 0;
    // Modal question with the application's name as caption and the buttons Yes and No;
    // true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;

    // Modal file dialog; the chosen full path, or nothing when the user cancelled.
    virtual std::optional<std::string> FileDialog(const SFileDialogRequest& request) = 0;

    // Invalidate the whole client area with erasing and repaint it at once.
    virtual void RepaintNow() = 0;
    // Draw a picture unscaled with its top-left corner at client pixel (x, y). A window
    // whose dialog units are not those pixels (res::DluToPixelX/Y) maps place and size
    // through its own units.
    virtual void DrawImage(const CImage& image, int x, int y) = 0;

    // Timer `timerId` (not 0): from now on, every `milliseconds`, the dialog's OnTimer runs
    // with that id, until KillTimer. Setting a running timer again starts its time afresh.
    virtual void SetTimer(int timerId, unsigned milliseconds) = 0;
    // Stops the timer; stopping one that does not run does nothing.
    virtual void KillTimer(int timerId) = 0;

    // Thread-safe: ask the user-interface thread to run the dialog's serial notification
    // handler (OnSerialData with wParam 1, lParam 0) once. Called by the reader thread.
    virtual void PostSerialNotification() = 0;
};

// Declares, inside a host class, its override of every call above, so that the three
// hosts' declarations cannot drift from the seam or from each other.
#define KESTRAN_DIALOG_HOST_OVERRIDES                                                  \
    std::string GetWindowText(int id) const override;                                  \
    void SetWindowText(int id, const std::string& text) override;                      \
    bool IsWindowEnabled(int id) const override;                                       \
    void EnableWindow(int id, bool enable) override;                                   \
    void SetFocus(int id) override;                                                    \
    int GetFocus() const override;                                                     \
    int GetCheck(int id) const override;                                               \
    void SetCheck(int id, int state) override;                                         \
    void ResetContent(int id) override;                                                \
    int AddString(int id, const std::string& text) override;                           \
    int GetCount(int id) const override;                                               \
    int GetCurSel(int id) const override;                                              \
    void SetCurSel(int id, int index) override;                                        \
    void SetSel(int id, int start, int end) override;                                  \
    void SetProgressPos(int id, int pos) override;                                     \
    void SetSpinRange(int id, int lower, int upper) override;                          \
    void SetSpinPos(int id, int pos) override;                                         \
    void MessageBox(const SMessage& message) override;                                 \
    bool AskYesNo(const std::string& text) override;                                   \
    std::optional<std::string> FileDialog(const SFileDialogRequest& request) override; \
    void RepaintNow() override;                                                        \
    void DrawImage(const CImage& image, int x, int y) override;                        \
    void SetTimer(int timerId, unsigned milliseconds) override;                        \
    void KillTimer(int timerId) override;                                              \
    void PostSerialNotification() override;
