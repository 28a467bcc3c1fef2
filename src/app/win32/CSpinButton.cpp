#include "app/win32/CSpinButton.h"

#include "dialog/CTillerbyDlg.h"

void CSpinButton::SetRange(int lower, int upper) {
    SendMessageW(m_control, UDM_SETRANGE32, static_cast<WPARAM>(lower), upper);
}

void CSpinButton::SetPos(int pos) {
    SendMessageW(m_control, UDM_SETPOS32, 0, pos);
}

int CSpinButton::Pos() const {
    return static_cast<int>(SendMessageW(m_control, UDM_GETPOS32, 0, 0));
}

HWND CSpinButton::Buddy() const {
    return reinterpret_cast<HWND>(SendMessageW(m_control, UDM_GETBUDDY, 0, 0));
}

LRESULT CSpinButton::OnDeltaPos(CTillerbyDlg& dialog, const NMUPDOWN& change) {
    return dialog.OnSpinDeltaPos(static_cast<int>(change.hdr.idFrom), change.iDelta);
}
