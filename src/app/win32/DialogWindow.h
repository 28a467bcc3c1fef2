#pragma once

#include "platform/win32/WinApi.h"

#include <memory>
#include <vector>

#include "app/win32/WinGdi.h"
#include "app/win32/WorkshopWindow.h"
#include "dialog/CTillerbyDlg.h"
#include "dialog/DialogEnd.h"
#include "host/DialogHost.h"

// The main dialog's window: the dialog manager builds the 220 controls of template 102
// from the in-memory template; this forwards their notifications to the dialog logic
// (CTillerbyDlg, which it owns) and carries out the logic's requests on the controls.
class CDialogWindow : public IDialogHost {
public:
    // Creates the window, then runs the dialog's initialisation on it. Window() is null
    // when the window could not be made.
    CDialogWindow(SDialogServices services, HINSTANCE instance);
    ~CDialogWindow() override;
    CDialogWindow(const CDialogWindow&) = delete;
    CDialogWindow& operator=(const CDialogWindow&) = delete;

    CTillerbyDlg& Dialog() { return *m_dialog; }
    HWND Window() const { return m_window; }
    // Why the window could not be made (a system error code); 0 when it was.
    DWORD CreationError() const { return m_creationError; }
    // The control with this id, or null.
    HWND Control(int id) const;

    // The modal run: handles the thread's messages until the dialog ends, then destroys
    // the window. Answers IDOK or IDCANCEL, whichever ended it; -1 without a window.
    int RunModal();
    // One message as the modal run handles it: the dialog keys (Tab, Enter, Escape, the
    // arrows) first.
    void HandleMessage(MSG& message);
    bool Ended() const { return m_end.Ended(); }
    // The dial workshop opened from the system menu; null before.
    CWorkshopWindow* Workshop() const { return m_workshop.get(); }

    KESTRAN_DIALOG_HOST_OVERRIDES

private:
    struct SHeldPreview {
        int x = 0, y = 0;  // the dialog's client pixels, as handed in
        int width = 0, height = 0;
        CUniqueBitmap picture;  // 32-bit, premultiplied, top row first
    };

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void CentreOnWorkArea();
    void OnCommand(int id, int code, HWND control);
    void OnPaint();
    void OnSize(int clientWidth);
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    // Files dropped from Explorer; the Select button whose slot (the button or its preview)
    // holds a client point, 0 for none.
    void OnDropFiles(HDROP drop);
    int SlotAt(POINT point) const;
    void OpenWorkshop();

    HWND At(int id) const;
    RECT DialogUnitsToPixels(int x, int y, int w, int h) const;
    RECT PreviewRect(const SHeldPreview& held) const;
    void PaintPreviews(HDC dc) const;

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    DWORD m_creationError = 0;
    CUniqueIcon m_bigIcon;
    CUniqueIcon m_smallIcon;
    std::vector<SHeldPreview> m_previews;
    int m_result = IDCANCEL;
    std::unique_ptr<CTillerbyDlg> m_dialog;
    CDialogEnd m_end;
    std::unique_ptr<CWorkshopWindow> m_workshop;
};
