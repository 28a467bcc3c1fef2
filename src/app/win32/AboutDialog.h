#pragma once

#include "platform/win32/WinApi.h"

// The About box (template 100): the application icon, the version line, a second line and
// the OK button "确定". Enter, Escape and the button close it.
class CAboutDlg {
public:
    explicit CAboutDlg(HINSTANCE instance) : m_instance(instance) {}

    // Shows the box modally over `owner`. Its message loop goes on dispatching the owner's
    // messages, so a running upload keeps going meanwhile.
    void DoModal(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE m_instance;
};
