#include "dialog/CTillerbyDlg.h"

#include <exception>

#include "base/Utf8Path.h"
#include "res/ControlIds.h"
#include "res/DialogTemplate.h"

CTillerbyDlg::CTillerbyDlg(IDialogHost& host, SDialogServices services)
    : m_host(host), m_services(std::move(services)) {}

CTillerbyDlg::~CTillerbyDlg() {
    OnEndDialog();
}

bool CTillerbyDlg::OnInitDialog() {
    // The host has created the controls; bind the spin buttons to their buddies, which
    // applies their default range to the native controls.
    m_angleSpin.Attach(&m_host, ids::kAngleSpin, ids::kAngleBox);
    for (int k = 1; k <= ids::kEntryCount; ++k) {
        EntrySpin(k).Attach(&m_host, ids::EntrySpinId(k), ids::EntryBoxId(k));
    }

    // The reader thread's first wait for the data-consumed event must pass at once.
    m_dataConsumed.SetEvent();
    m_portOpen = false;

    try {
        OnRefresh();
    } catch (const std::exception& e) {
        m_host.MessageBox(e.what());
    }

    OnMaxSpeedCheck();
    m_host.EnableWindow(ids::kUpdate, false);

    m_iasPreviewX = kIasPreviewX;
    m_iasPreviewY = kIasPreviewY;
    m_tasPreviewX = kTasPreviewX;
    m_tasPreviewY = kTasPreviewY;

    InitAngleTable();

    m_tableKept = TableAsShown();
    m_host.SetWindowText(ids::kStatus, "Ready");
    return true;
}

void CTillerbyDlg::OnCommand(int id, Notify code) {
    try {
        if (code == Notify::SelChange) {
            if (id == ids::kMaxSpeedList)
                OnMaxSpeedChange();
            return;
        }
        switch (id) {
            case ids::kRefresh:
                OnRefresh();
                break;
            case ids::kConnect:
                OnConnect();
                break;
            case ids::kSelectIasDial:
                OnSelectIasDial();
                break;
            case ids::kUpdate:
                OnUpdate();
                break;
            case ids::kSelectTasDial:
                OnSelectTasDial();
                break;
            case ids::kTasCheck:
                OnTasDialCheck();
                break;
            case ids::kMaxSpeedCheck:
                OnMaxSpeedCheck();
                break;
            case ids::kIasCheck:
                OnIasDialCheck();
                break;
            case ids::kLoad:
                OnLoad();
                break;
            case ids::kSave:
                OnSave();
                break;
            case ids::kLinearIncrement:
                OnLinearIncrement();
                break;
            default:
                break;
        }
    } catch (const std::exception& e) {
        m_host.MessageBox(e.what());
    }
}

long CTillerbyDlg::OnSpinDeltaPos(int spinId, int iDelta) {
    CNumSpinCtrl* spin = nullptr;
    if (spinId == ids::kAngleSpin) {
        spin = &m_angleSpin;
    } else if (const int k = ids::EntryOfSpinId(spinId); k != 0) {
        spin = &EntrySpin(k);
    }
    if (spin == nullptr)
        return 0;
    long result = 0;
    const bool consumed = spin->OnDeltaPosReflect(iDelta, &result);
    if (!consumed && spinId == ids::kAngleSpin)
        result = OnAngleSpinDelta();
    return result;
}

bool CTillerbyDlg::OnOK() {
    // Enter means "confirm" in a field, a list or a check box, never "close": ending the
    // window on it threw away the table just typed and the dials just chosen.
    return false;
}

bool CTillerbyDlg::OnCancel() {
    if (m_engine.Running()) {
        if (!m_host.AskYesNo(kCloseQuestion))
            return false;
        AbandonUpload(EUploadResult::Interrupted);
        return true;
    }
    return !TableEdited() || m_host.AskYesNo(kUnsavedTableQuestion);
}

std::string CTillerbyDlg::TableAsShown() const {
    std::string table = std::to_string(EntryCount());
    for (int k = 1; k <= EntryCount() && k <= ids::kEntryCount; ++k)
        table += "|" + m_host.GetWindowText(ids::EntryBoxId(k));
    return table;
}

bool CTillerbyDlg::TableEdited() const {
    return TableAsShown() != m_tableKept;
}

void CTillerbyDlg::OnEndDialog() {
    if (m_portOpen.load() || m_readerThread.joinable() || m_port)
        Disconnect();
}

std::optional<std::string> CTillerbyDlg::AskForFile(SFileDialogRequest request) {
    request.folder = m_lastFolder;
    std::optional<std::string> path = m_host.FileDialog(request);
    if (path)
        m_lastFolder = utf8path::FromPath(utf8path::ToPath(*path).parent_path());
    return path;
}

void CTillerbyDlg::UpdateButtonState() {
    if (!m_portOpen.load()) {
        m_host.EnableWindow(ids::kUpdate, false);
        return;
    }
    const bool any = m_host.GetCheck(ids::kIasCheck) != 0 || m_host.GetCheck(ids::kTasCheck) != 0 ||
                     m_host.GetCheck(ids::kMaxSpeedCheck) != 0;
    m_host.EnableWindow(ids::kUpdate, any);
}
