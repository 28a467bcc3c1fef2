#pragma once

class CTillerbyDlg;

// What ends the main dialog: Enter (IDOK) or Escape and the close box (IDCANCEL).
enum class EEndRequest { Ok, Cancel };

// How the main dialog ends, the same on every host: a request asks the dialog first, and
// once it has ended its port is closed, its reader thread gone, and it stays ended.
class CDialogEnd {
public:
    void Attach(CTillerbyDlg* dialog) { m_dialog = dialog; }

    // Whether a request may go ahead: always once the dialog has ended, otherwise as
    // OnOK or OnCancel answers (which may ask the user). Never without a dialog.
    bool MayEnd(EEndRequest request);
    // The dialog ends; the first time only, it gives up its port (OnEndDialog).
    void End();
    // Ends the dialog when a request may go ahead; true when it ended now, never once it
    // had ended before.
    bool EndIf(EEndRequest request);
    // True from End() on: no notification may reach the dialog any more.
    bool Ended() const { return m_ended; }

private:
    CTillerbyDlg* m_dialog = nullptr;
    bool m_ended = false;
};
