#include "app/win32/WorkshopApp.h"

#include <commctrl.h>

#include "app/win32/WorkshopWindow.h"
#include "platform/win32/WinText.h"
#include "res/DialogTemplate.h"

int RunWorkshopWindow(HINSTANCE instance, const std::optional<std::string>& picture) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    CWorkshopWindow window(instance);
    if (!window.Open(picture)) {
        const DWORD error = GetLastError();
        const std::string text = "The dial workshop could not open its window" +
                                 (error != 0 ? ": " + wintext::SystemMessage(error) : "") + ".";
        MessageBoxW(nullptr, wintext::Wide(text).c_str(), wintext::Wide(res::AppName()).c_str(),
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (window.HandleDialogKeys(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}
