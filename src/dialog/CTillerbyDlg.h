#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "angles/CNumSpinCtrl.h"
#include "dial/CImage.h"
#include "host/DialogHost.h"
#include "serial/CEvent.h"
#include "serial/DialogServices.h"
#include "serial/SerInfo.h"
#include "serial/SerialPort.h"
#include "upload/UploadEngine.h"

// Notifications a host forwards to the dialog's message map.
enum class Notify { Clicked, SelChange };

// The main dialog: owns all program state and runs every handler, reaching the window
// only through its host.
class CTillerbyDlg : private upload::IUploadChoices {
public:
    CTillerbyDlg(IDialogHost& host, SDialogServices services);
    ~CTillerbyDlg() override;
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
    // end now. Enter never ends it. During an upload the user is asked, and a Yes ends the
    // upload as an error end first; outside one the user is asked when the table holds
    // edits that were neither saved nor sent.
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
    // A file chosen without the file dialog (dropped on the window, or handed over by the
    // dial workshop), taken exactly as Select IAS Dial or Select TAS Dial (by the button's
    // id) or Load takes the file the user picks. False, and nothing done, while that button
    // is disabled (during an upload).
    bool SelectDialFile(int selectButtonId, const std::string& path);
    bool LoadTableFile(const std::string& path);
    // Files dropped on the window, on a dial's preview or its Select button (the button's
    // id; 0 elsewhere): one picture is taken as that button takes a chosen one; anything
    // else is refused with a message and nothing is taken. An empty path stands for
    // something that is not a file.
    void OnDropFiles(int selectButtonId, const std::vector<std::string>& paths);
    // Where the dial of a Select button's slot is previewed, in the template's pixels.
    std::pair<int, int> PreviewOrigin(int selectButtonId) const;

    // Operations used across handlers ------------------------------------------------
    void UpdateButtonState();
    void EnableControls(bool enable);
    int SendLoadCommand();
    uint32_t WriteSerial(const void* data, uint32_t n);
    // Ends a running upload as `why` says (ERR to the device); nothing otherwise.
    void AbandonUpload(EUploadResult why);
    // The plausibility rule of the angle table: the active angles rise strictly. A failure
    // is shown in a message box and its entry selected.
    bool CheckPlausibility();
    // The number of active angle entries: what the maximum-speed list's selection gives.
    int EntryCount() const;
    // The line the table goes to the gauge as; nothing when an entry cannot be sent, and
    // then *badEntry (when given) is the first such entry.
    std::optional<std::string> AngleTableLine(int* badEntry = nullptr) const;

    // Read-only views for hosts, tools and tests ------------------------------------
    const SerInfoList& PortList() const { return m_portList; }
    bool IsPortOpen() const { return m_portOpen.load(); }
    // From Update until the upload's successful or error end: the dialog is locked.
    bool IsUploadRunning() const { return m_engine.Running(); }
    // How the last upload ended; nothing before the first end.
    std::optional<EUploadResult> LastUploadResult() const { return m_engine.LastResult(); }
    const upload::CUploadEngine& Upload() const { return m_engine; }
    const CImage& IasUploadImage() const { return m_iasUpload; }
    const CImage& TasUploadImage() const { return m_tasUpload; }
    const CImage& IasPreviewImage() const { return m_iasPreview; }
    // Exit code of the last reader thread: 0 orderly, -1 failed; 1 while none has ended.
    int ReaderExitCode() const { return m_readerExitCode.load(); }
    // Whether the data-consumed event is set, i.e. the reader thread may post again.
    bool DataConsumedSignalled() const { return m_dataConsumed.IsSignalled(); }

    static constexpr const char* kTableNeedsTasMessage =
        "Due to the arrangement and limitation of the storage on the device, angle table can "
        "only be updated together with TAS dial.";
    static constexpr const char* kLineLostMessage =
        "The connection to the gauge was lost. Press Disconnect, check the cable and connect "
        "again.";

    static constexpr const char* kSilenceMessage =
        "The gauge has not answered for 10 seconds. Press Disconnect to stop the update.";
    static constexpr const char* kCloseQuestion =
        "An update is in progress. Closing now leaves the gauge with an incomplete dial. Close "
        "anyway?";
    static constexpr const char* kUnsavedTableQuestion =
        "The angle table has changes that were neither saved nor sent to the gauge. Closing "
        "now loses them. Close anyway?";
    static constexpr const char* kDropOnASlotMessage =
        "Drop a dial picture on the IAS or the TAS dial's preview, or on its Select button.";
    static constexpr const char* kDropOneFileMessage = "Drop one picture file at a time.";
    static constexpr const char* kDropDuringUpdateMessage =
        "The dials cannot be changed while an update is in progress.";
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
    void TakeDial(const SDialSlot& slot, const std::string& path);
    void DialCheck(const SDialSlot& slot);

    // upload
    // What the engine asks of the dialog: the check boxes, the pictures and the entries, read
    // when it asks.
    bool DialChosen(int stage) const override;
    bool TableChosen() const override;
    SPixelView StageDial(int stage) const override;
    std::optional<std::string> TableLine() const override;
    // Writes a step's lines and shows what it shows; at the upload's end unlocks the dialog.
    void Apply(const upload::SUploadStep& step);
    void EndUpload();
    void OnLineLost();
    // The gauge acknowledged: a running upload's silence is over and timed afresh.
    void HeardAcknowledgement();
    // The table as the entries show it (the entry count and each active entry's text), and
    // whether it differs from the one last started with, loaded, saved or sent.
    std::string TableAsShown() const;
    bool TableEdited() const;

    // A file dialog that opens in the folder last used in this run, and remembers the next.
    std::optional<std::string> AskForFile(SFileDialogRequest request);

    // angle table
    void InitAngleTable();
    CNumSpinCtrl& EntrySpin(int k) { return m_entrySpins[static_cast<size_t>(k - 1)]; }

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

    upload::CUploadEngine m_engine;
    std::string m_lastFolder;  // of the last file chosen in a file dialog; nothing is kept
                               // between runs
    std::string m_tableKept;     // the table as last started with, loaded, saved or sent
    bool m_gaugeSilent = false;  // the silence limit passed; Disconnect is offered
    std::string m_statusBeforeSilence;

    int m_iasPreviewX = 0, m_iasPreviewY = 0;
    int m_tasPreviewX = 0, m_tasPreviewY = 0;

    CNumSpinCtrl m_angleSpin;
    std::array<CNumSpinCtrl, 50> m_entrySpins;
};
