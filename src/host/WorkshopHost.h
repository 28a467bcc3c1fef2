#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/Message.h"
#include "dial/RgbaPicture.h"
#include "host/DialogHost.h"

// What the dial workshop needs from a window system. Controls are addressed by the ids of
// res/WorkshopControls.h. Every call is made on the user-interface thread, and the
// workshop's handlers run there too.
class IWorkshopHost {
public:
    virtual ~IWorkshopHost() = default;

    // Labels, paragraphs, buttons, check boxes and the edit box.
    virtual std::string GetText(int id) const = 0;
    virtual void SetText(int id, const std::string& text) = 0;
    virtual void Enable(int id, bool enable) = 0;
    virtual void Show(int id, bool show) = 0;
    virtual void SetFocus(int id) = 0;
    // Check boxes: 0 clear, 1 ticked.
    virtual int GetCheck(int id) const = 0;
    virtual void SetCheck(int id, int state) = 0;

    // Drop-down lists and the list box: their items replaced, and the selected one (-1 for
    // none). Setting them does not notify.
    virtual void SetItems(int id, const std::vector<std::string>& items) = 0;
    virtual int GetSelection(int id) const = 0;
    virtual void SetSelection(int id, int index) = 0;

    // A view shows these pixels from its top-left corner, one to each of the screen's
    // pixels: the picture is as large as the view was last reported to be (OnViewSize).
    virtual void ShowPixels(int viewId, const SRgbaPicture& pixels) = 0;

    virtual void SetCaption(const std::string& text) = 0;

    // Modal boxes and the file dialogs, as the main dialog's host shows them.
    virtual void MessageBox(const SMessage& message) = 0;
    virtual bool AskYesNo(const std::string& text) = 0;
    virtual std::optional<std::string> FileDialog(const SFileDialogRequest& request) = 0;
};

// Declares, inside a host class, its override of every call above.
#define KESTRAN_WORKSHOP_HOST_OVERRIDES                                    \
    std::string GetText(int id) const override;                            \
    void SetText(int id, const std::string& text) override;                \
    void Enable(int id, bool enable) override;                             \
    void Show(int id, bool show) override;                                 \
    void SetFocus(int id) override;                                        \
    int GetCheck(int id) const override;                                   \
    void SetCheck(int id, int state) override;                             \
    void SetItems(int id, const std::vector<std::string>& items) override; \
    int GetSelection(int id) const override;                               \
    void SetSelection(int id, int index) override;                         \
    void ShowPixels(int viewId, const SRgbaPicture& pixels) override;      \
    void SetCaption(const std::string& text) override;                     \
    void MessageBox(const SMessage& message) override;                     \
    bool AskYesNo(const std::string& text) override;                       \
    std::optional<std::string> FileDialog(const SFileDialogRequest& request) override;
