#include "app/win32/CTillerbyApp.h"

#include <commctrl.h>

#include "app/win32/DialogWindow.h"
#include "platform/win32/WinText.h"
#include "res/DialogTemplate.h"

CTillerbyApp::CTillerbyApp(HINSTANCE instance) : m_instance(instance) {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                    ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_HOTKEY_CLASS |
                    ICC_ANIMATE_CLASS;
    // Not examined: without the classes the dialog cannot be made, and its run ends at once.
    InitCommonControlsEx(&classes);
}

int CTillerbyApp::InitInstance(SDialogServices services) {
    CDialogWindow dialog(std::move(services), m_instance);
    if (dialog.Window() == nullptr) {
        // Without its window the program would vanish without a word.
        const DWORD error = dialog.CreationError();
        const std::string text = "Kestran could not open its window" +
                                 (error != 0 ? ": " + wintext::SystemMessage(error) : "") + ".";
        MessageBoxW(nullptr, wintext::Wide(text).c_str(), wintext::Wide(res::AppName()).c_str(),
                    MB_OK | MB_ICONERROR);
        return kNoWindowExitCode;
    }
    // Every way of ending the dialog ends the program alike.
    dialog.RunModal();
    return 0;
}
