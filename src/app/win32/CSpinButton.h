#pragma once

#include "platform/win32/WinApi.h"

#include <commctrl.h>

class CTillerbyDlg;

// An up-down control (msctls_updown32) of the main dialog: its native integer range and
// position as the dialog logic sets them, and the glue that lets the dialog step the
// buddy's value before the position moves.
class CSpinButton {
public:
    explicit CSpinButton(HWND control) : m_control(control) {}

    void SetRange(int lower, int upper);
    void SetPos(int pos);
    int Pos() const;
    HWND Buddy() const;

    // A click on an arrow, or an arrow key on the buddy (UDN_DELTAPOS): the dialog steps
    // the buddy's text. Answers the notification's result: 0 lets the position move.
    static LRESULT OnDeltaPos(CTillerbyDlg& dialog, const NMUPDOWN& change);

private:
    HWND m_control;
};
