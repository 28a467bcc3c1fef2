#include "app/win32/AboutDialog.h"

#include "app/win32/DialogBuilder.h"
#include "res/DialogTemplate.h"

void CAboutDlg::DoModal(HWND owner) {
    const dialogbuilder::CDialogTemplate about(res::AboutDialog());
    // The result is not examined: every way of closing the box leads on alike.
    DialogBoxIndirectParamW(m_instance, about.Get(), owner, DialogProc, 0);
}

INT_PTR CALLBACK CAboutDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;  // the focus goes to the OK button, the first tab stop
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(window, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}
