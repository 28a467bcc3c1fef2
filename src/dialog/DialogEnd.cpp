#include "dialog/DialogEnd.h"

#include "dialog/CTillerbyDlg.h"

bool CDialogEnd::MayEnd(EEndRequest request) {
    if (m_ended)
        return true;
    if (m_dialog == nullptr)
        return false;
    return request == EEndRequest::Ok ? m_dialog->OnOK() : m_dialog->OnCancel();
}

void CDialogEnd::End() {
    if (m_ended)
        return;
    m_ended = true;
    if (m_dialog != nullptr)
        m_dialog->OnEndDialog();
}

bool CDialogEnd::EndIf(EEndRequest request) {
    if (m_ended || !MayEnd(request))
        return false;
    End();
    return true;
}
