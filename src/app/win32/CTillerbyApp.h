#pragma once

#include "platform/win32/WinApi.h"

#include "dialog/CTillerbyDlg.h"

// The application: registers the common control classes the dialog uses, then runs the
// main dialog for the life of the program.
class CTillerbyApp {
public:
    explicit CTillerbyApp(HINSTANCE instance);

    // Runs the main dialog until it ends in any way. Answers the program's exit code: 0, or
    // kNoWindowExitCode when the window could not be made (a message box has said why).
    int InitInstance(SDialogServices services);
    static constexpr int kNoWindowExitCode = 1;

private:
    HINSTANCE m_instance;
};
