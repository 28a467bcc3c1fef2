#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "angles/CNumSpinCtrl.h"
#include "dial/CImage.h"
#include "host/DialogHost.h"
#include "serial/CEvent.h"
#include "serial/DialogServices.h"
#include "serial/SerInfo.h"
#include "serial/SerialPort.h"
#include "upload/UploadOutcome.h"

// Notifications a host forwards to the dialog's message map.
enum class Notify { Clicked, SelChange };

// The upload state. Set by the Update command, advanced by the device's replies, never
// reset: after an upload ends the values stay until the next Update.
struct SUploadState {
    int UploadStage = 0;  // 1 IAS dial, 2 TAS dial, 3 angle table; 0 before the first Update
    int dialCount = 0;
    int currentStep = 0;
    int bytesCovered = 0;
    int totalBytes = 0;
    int row = 0;
    int column = 0;
    int refRow = 0;  // reference pixel, held as its position in the upload image
    int refColumn = 0;
    int runCount = 0;
    bool readyHeard = false;  // the device has answered the current stage's LOAD line
};

// The main dialog: owns all program state and runs every handler, reaching the window
// only through its host.
class CTillerbyDlg {
public:
    CTillerbyDlg(IDialogHost& host, SDialogServices services);
    ~CTillerbyDlg();
    CTillerbyDlg(const CTillerbyDlg&) = delete;
    CTillerbyDlg& operator=(const CTillerbyDlg&) = delete;

    // Framework side ------------------------------------------------------------------
    bool OnInitDialog();
    // The message map: routes a control notification to its handler. An error raised by a
    // handler is reported in a message box, as the framework would.
    void OnCommand(int id, Notify code);
    // A spin button was clicked: the spin control steps its buddy, then the dialog sees the
    // notification. Answers the result for the native control (0: allow the move).
    long OnSpinDeltaPos(int spinId, int iDelta);
    // Enter (IDOK) and Escape or the close box (IDCANCEL): answer whether the dialog may
    // end now. Enter in an edit box does not end it; during an upload the user is asked,
    // and a Yes ends the upload as an error end first.
    bool OnOK();
    bool OnCancel();
    // The dialog is about to end (close box, Escape, Enter): closes an open port first so
    // that the reader thread never outlives the dialog.
    void OnEndDialog();
    // A timer of the host ran out.
    void OnTimer(int timerId);

    // Handlers ------------------------------------------------------------------------
    void OnRefresh();
    void OnConnect();
    long OnSerialData(unsigned wParam, long lParam);
    void OnSelectIasDial();
    void OnSelectTasDial();
    void OnIasDialCheck();
    void OnTasDialCheck();
    void OnUpdate();
    void OnMaxSpeedCheck();
    void OnMaxSpeedChange();
    void OnLinearIncrement();
    long OnAngleSpinDelta();
    void OnLoad();
    void OnSave();

    // Operations used across handlers ------------------------------------------------
    void UpdateButtonState();
    void EnableControls(bool enable);
    int SendLoadCommand();
    uint32_t WriteSerial(const void* data, uint32_t n);
    // Ends a running upload as an error end (ERR to the device); nothing otherwise.
    void AbandonUpload();
    // The plausibility rule of the angle table: the active angles rise strictly. A failure
    // is shown in a message box and its entry selected.
    bool CheckPlausibility();
    // The number of active angle entries: what the maximum-speed list's selection gives.
    int EntryCount() const;

    // Read-only views for hosts, tools and tests ------------------------------------
    const SerInfoList& PortList() const { return m_portList; }
    bool IsPortOpen() const { return m_portOpen.load(); }
    // From Update until the upload's successful or error end: the dialog is locked.
    bool IsUploadRunning() const { return m_uploadRunning; }
    EUploadOutcome LastUploadOutcome() const { return m_outcome; }
    // How many acknowledgements ("READY", "U", "f") the device has sent in this run.
    int AcknowledgementsHeard() const { return m_acknowledgements; }
    const SUploadState& UploadState() const { return m_upload; }
    const CImage& IasUploadImage() const { return m_iasUpload; }
    const CImage& TasUploadImage() const { return m_tasUpload; }
    const CImage& IasPreviewImage() const { return m_iasPreview; }
    const CImage& TasPreviewImage() const { return m_tasPreview; }
    CNumSpinCtrl& AngleSpin() { return m_angleSpin; }
    CNumSpinCtrl& EntrySpin(int k) { return m_entrySpins[static_cast<size_t>(k - 1)]; }
    // Exit code of the last reader thread: 0 orderly, -1 failed; 1 while none has ended.
    int ReaderExitCode() const { return m_readerExitCode.load(); }
    // Whether the data-consumed event is set, i.e. the reader thread may post again.
    bool DataConsumedSignalled() const { return m_dataConsumed.IsSignalled(); }
    IDialogHost& Host() { return m_host; }

    static constexpr const char* kLineLostMessage =
        "The connection to the gauge was lost. Press Disconnect, check the cable and connect "
        "again.";

    static constexpr const char* kSilenceMessage =
        "The gauge has not answered for 10 seconds. Press Disconnect to stop the update.";
    static constexpr const char* kCloseQuestion =
        "An update is in progress. Closing now leaves the gauge with an incomplete dial. Close "
        "anyway?";
    static constexpr int kSilenceTimer = 1;
    static constexpr unsigned kSilenceLimitMs = 10000;

    static constexpr int kIasPreviewX = 30, kIasPreviewY = 125;
    static constexpr int kTasPreviewX = 30, kTasPreviewY = 408;

private:
    // serial connection
    void Connect();
    void Disconnect();
    void SerialReaderThread();

    // dial slots
    struct SDialSlot {
        int checkId;
        CImage* upload;
        CImage* preview;
        int previewX, previewY;
    };
    SDialSlot IasSlot();
    SDialSlot TasSlot();
    void SelectDial(const SDialSlot& slot);
    void DialCheck(const SDialSlot& slot);

    // upload engine
    void DispatchReply(const char* bytes, int count);
    void StartStage();
    void Acknowledge();
    void RunLengthStep();
    void EndStage();
    void SuccessfulEnd();
    void ErrorEnd();
    void EndUpload();
    void OnLineLost();
    // The gauge acknowledged: a running upload's silence is over and timed afresh.
    void HeardAcknowledgement();
    bool MayEnd();
    void WriteLine(const std::string& line);
    const CImage* StageImage() const;

    // angle table
    void InitAngleTable();

    IDialogHost& m_host;
    SDialogServices m_services;

    SerInfoList m_portList;
    std::thread m_readerThread;
    std::atomic<int> m_readerExitCode{1};
    CEvent m_dataConsumed;
    std::unique_ptr<ISerialPort> m_port;
    std::atomic<bool> m_portOpen{false};

    CImage m_iasUpload;
    CImage m_tasUpload;
    CImage m_iasPreview;
    CImage m_tasPreview;

    SUploadState m_upload;
    bool m_uploadRunning = false;
    EUploadOutcome m_outcome = EUploadOutcome::None;
    bool m_gaugeSilent = false;  // the silence limit passed; Disconnect is offered
    std::string m_statusBeforeSilence;
    int m_acknowledgements = 0;

    int m_iasPreviewX = 0, m_iasPreviewY = 0;
    int m_tasPreviewX = 0, m_tasPreviewY = 0;

    CNumSpinCtrl m_angleSpin;
    std::array<CNumSpinCtrl, 50> m_entrySpins;
};
