#include "app/win32/DialogWindow.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <stdexcept>
#include <tuple>

#include "app/win32/AboutDialog.h"
#include "app/win32/AppIcon.h"
#include "app/win32/CSpinButton.h"
#include "app/win32/DialogBuilder.h"
#include "app/win32/ModalBoxes.h"
#include "base/GaugeFacts.h"
#include "dial/CImage.h"
#include "host/HostRules.h"
#include "host/WindowPlacement.h"
#include "platform/win32/WinText.h"
#include "res/ControlIds.h"
#include "res/DialogTemplate.h"

namespace {

// The reader thread's notification. WM_USER is also DM_GETDEFID, which the dialog manager
// sends with wParam 0; the notification carries 1.
constexpr UINT kSerialNotification = WM_USER;
constexpr WPARAM kSerialWParam = 1;

std::wstring Wide(const std::string& utf8) {
    return wintext::Wide(utf8);
}

// A 32-bit top-down DIB section holding `image` with premultiplied alpha, as AlphaBlend
// takes it; an opaque picture gets an alpha of 255.
CUniqueBitmap PremultipliedBitmap(const CImage& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.GetWidth();
    info.bmiHeader.biHeight = -image.GetHeight();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    CUniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        return bitmap;
    const int bytesPerPixel = image.GetBPP() / 8;
    const bool alpha = image.HasAlpha() && bytesPerPixel == 4;
    auto* out = static_cast<uint8_t*>(bits);
    for (int y = 0; y < image.GetHeight(); ++y) {
        const uint8_t* in = image.PixelAt(0, y);
        for (int x = 0; x < image.GetWidth(); ++x, in += bytesPerPixel, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = alpha ? in[3] : 255;
        }
    }
    return bitmap;
}

}  // namespace

CDialogWindow::CDialogWindow(SDialogServices services, HINSTANCE instance)
    : m_instance(instance), m_dialog(std::make_unique<CTillerbyDlg>(*this, std::move(services))) {
    m_end.Attach(m_dialog.get());
    const dialogbuilder::CDialogTemplate main(res::MainDialog());
    // WM_INITDIALOG, which runs the dialog's initialisation, arrives before this returns.
    if (CreateDialogIndirectParamW(m_instance, main.Get(), nullptr, DialogProc,
                                   reinterpret_cast<LPARAM>(this)) == nullptr) {
        m_creationError = GetLastError();
    }
}

CDialogWindow::~CDialogWindow() {
    // The workshop hands over to the dialog logic, which goes next: it may still close the
    // port through the controls.
    m_workshop.reset();
    m_dialog.reset();
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

INT_PTR CALLBACK CDialogWindow::DialogProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<CDialogWindow*>(lParam)->m_window = window;
    }
    // Messages before WM_INITDIALOG (the font, the first sizes) find no window object yet.
    auto* self = reinterpret_cast<CDialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->m_window = nullptr;
        return FALSE;
    }
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        // Nothing may unwind through the window system's own frames.
        self->MessageBox(error.what());
        return FALSE;
    }
}

INT_PTR CDialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;  // the focus goes to the first tab stop
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->code != UDN_DELTAPOS || m_end.Ended())
                return FALSE;
            const LRESULT result =
                CSpinButton::OnDeltaPos(*m_dialog, *reinterpret_cast<const NMUPDOWN*>(lParam));
            SetWindowLongPtrW(m_window, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case kSerialNotification:
            if (wParam != kSerialWParam)
                return FALSE;
            if (!m_end.Ended())
                m_dialog->OnSerialData(1, 0);
            return TRUE;
        case WM_TIMER:
            if (!m_end.Ended())
                m_dialog->OnTimer(static_cast<int>(wParam));
            return TRUE;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == static_cast<WPARAM>(ids::kWorkshopCommand)) {
                OpenWorkshop();
                return TRUE;
            }
            if ((wParam & 0xFFF0) != static_cast<WPARAM>(ids::kAboutCommand))
                return FALSE;  // Close, Move, Size: the default handling
            CAboutDlg(m_instance).DoModal(m_window);
            return TRUE;
        case WM_PAINT:
            OnPaint();
            return TRUE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(m_bigIcon.get());
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            return TRUE;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED)
                OnSize(LOWORD(lParam));
            return FALSE;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

void CDialogWindow::OnInitDialog() {
    HMENU systemMenu = GetSystemMenu(m_window, FALSE);
    const std::string about = res::LoadString(res::kIdsAboutBox);
    if (systemMenu != nullptr && !about.empty()) {
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, ids::kWorkshopCommand,
                    Wide(res::LoadString(res::kIdsDialWorkshop)).c_str());
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, ids::kAboutCommand, Wide(about).c_str());
    }
    m_bigIcon = AppIcon(m_instance, GetSystemMetrics(SM_CXICON));
    m_smallIcon = AppIcon(m_instance, GetSystemMetrics(SM_CXSMICON));
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.get()));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.get()));
    SendMessageW(At(ids::kProgress), PBM_SETRANGE32, 0, 100);
    // Pictures dropped on a dial's slot are taken as its Select takes a chosen one.
    DragAcceptFiles(m_window, TRUE);
    CentreOnWorkArea();
    m_dialog->OnInitDialog();
}

// Before the window shows: the template places it in the screen's top-left corner.
void CDialogWindow::CentreOnWorkArea() {
    RECT frame;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowRect(m_window, &frame) ||
        !GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    const RECT& work = monitor.rcWork;
    const placement::SOrigin at =
        placement::CentredIn({work.left, work.top, work.right, work.bottom},
                             frame.right - frame.left, frame.bottom - frame.top);
    SetWindowPos(m_window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialogWindow::OnCommand(int id, int code, HWND control) {
    if (id == IDOK || id == IDCANCEL) {
        // Enter while the focus is not on a push button, and Escape or the close box. The
        // port closes and the reader thread ends while the window still stands, so that
        // nothing reaches the dialog afterwards. The workshop's marks are not lost without
        // its question.
        if (m_workshop && !m_workshop->Close())
            return;
        if (m_end.EndIf(id == IDOK ? EEndRequest::Ok : EEndRequest::Cancel))
            m_result = id;
        return;
    }
    // Menus and accelerators come without a control; only the controls' own words count.
    if (m_end.Ended() || control == nullptr)
        return;
    const res::SControlDef* def = res::FindControl(id);
    if (def == nullptr)
        return;
    if (code == BN_CLICKED && def->kind != res::ControlKind::ComboBox) {
        m_dialog->OnCommand(id, Notify::Clicked);
    } else if (code == CBN_SELCHANGE && def->kind == res::ControlKind::ComboBox) {
        m_dialog->OnCommand(id, Notify::SelChange);
    }
}

int CDialogWindow::RunModal() {
    if (m_window == nullptr)
        return -1;
    MSG message;
    while (!m_end.Ended()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT belongs to the loop outside this one.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1)
            break;
        HandleMessage(message);
    }
    if (!m_end.Ended()) {
        // Ended from outside the dialog: the gauge is told, the port closed and the reader
        // thread joined while the window stands, as when the user ends it.
        m_dialog->AbandonUpload(EUploadResult::Interrupted);
        m_end.End();
        m_result = IDCANCEL;
    }
    DestroyWindow(m_window);
    return m_result;
}

void CDialogWindow::HandleMessage(MSG& message) {
    if (m_workshop && m_workshop->HandleDialogKeys(message))
        return;
    if (m_window != nullptr && IsDialogMessageW(m_window, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void CDialogWindow::OpenWorkshop() {
    if (m_workshop && m_workshop->Window() != nullptr) {
        SetForegroundWindow(m_workshop->Window());
        return;
    }
    // "Use in Kestran": the files taken as Select TAS Dial and Load take them.
    m_workshop = std::make_unique<CWorkshopWindow>(
        m_instance,
        [this](const std::string& dial, const std::string& table) {
            return m_dialog->SelectDialFile(ids::kSelectTasDial, dial) &&
                   m_dialog->LoadTableFile(table);
        },
        m_window);
    if (!m_workshop->Open(std::nullopt))
        MessageBox("The dial workshop could not open its window.");
}

// --- controls ------------------------------------------------------------------------

HWND CDialogWindow::Control(int id) const {
    return m_window != nullptr ? GetDlgItem(m_window, id) : nullptr;
}

HWND CDialogWindow::At(int id) const {
    HWND control = Control(id);
    // Once the window is gone the dialog's last words reach nothing.
    if (control == nullptr && m_window != nullptr)
        throw std::logic_error("no control with id " + std::to_string(id));
    return control;
}

std::string CDialogWindow::GetWindowText(int id) const {
    return wintext::WindowText(At(id));  // a drop-down list answers its selected item
}

void CDialogWindow::SetWindowText(int id, const std::string& text) {
    SetWindowTextW(At(id), Wide(text).c_str());
}

bool CDialogWindow::IsWindowEnabled(int id) const {
    return ::IsWindowEnabled(At(id)) != FALSE;
}

void CDialogWindow::EnableWindow(int id, bool enable) {
    ::EnableWindow(At(id), enable ? TRUE : FALSE);
}

void CDialogWindow::SetFocus(int id) {
    // Through the dialog manager, which also moves the default push button along.
    SendMessageW(m_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(At(id)), TRUE);
}

int CDialogWindow::GetFocus() const {
    HWND focus = ::GetFocus();
    if (m_window == nullptr || focus == nullptr || !IsChild(m_window, focus))
        return 0;
    // A control's own parts (a combo box's list, say) count as the control.
    while (GetParent(focus) != m_window)
        focus = GetParent(focus);
    return std::max(0, GetDlgCtrlID(focus));
}

int CDialogWindow::GetCheck(int id) const {
    return static_cast<int>(SendMessageW(At(id), BM_GETCHECK, 0, 0));
}

void CDialogWindow::SetCheck(int id, int state) {
    SendMessageW(At(id), BM_SETCHECK, state != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CDialogWindow::ResetContent(int id) {
    SendMessageW(At(id), CB_RESETCONTENT, 0, 0);
}

int CDialogWindow::AddString(int id, const std::string& text) {
    HWND box = At(id);
    const std::wstring item = Wide(text);
    // The dropped list is as wide as its longest item, however narrow the box.
    HDC dc = GetDC(box);
    const HGDIOBJ before = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, item.c_str(), static_cast<int>(item.size()), &extent);
    SelectObject(dc, before);
    ReleaseDC(box, dc);
    const LRESULT dropped = SendMessageW(box, CB_GETDROPPEDWIDTH, 0, 0);
    const int needed = extent.cx + GetSystemMetrics(SM_CXVSCROLL) + 4 * GetSystemMetrics(SM_CXEDGE);
    if (dropped != CB_ERR && needed > dropped)
        SendMessageW(box, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(needed), 0);
    // CBS_SORT keeps a sorted box sorted; the answer is where the item went.
    return static_cast<int>(
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
}

int CDialogWindow::GetCount(int id) const {
    return static_cast<int>(SendMessageW(At(id), CB_GETCOUNT, 0, 0));
}

int CDialogWindow::GetCurSel(int id) const {
    return static_cast<int>(SendMessageW(At(id), CB_GETCURSEL, 0, 0));
}

void CDialogWindow::SetCurSel(int id, int index) {
    // An index out of range clears the selection, as -1 does.
    SendMessageW(At(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void CDialogWindow::SetSel(int id, int start, int end) {
    HWND edit = At(id);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), end);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

void CDialogWindow::SetProgressPos(int id, int pos) {
    SendMessageW(At(id), PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

void CDialogWindow::SetSpinRange(int id, int lower, int upper) {
    CSpinButton(At(id)).SetRange(lower, upper);
}

void CDialogWindow::SetSpinPos(int id, int pos) {
    CSpinButton(At(id)).SetPos(pos);
}

// --- modal dialogs -------------------------------------------------------------------

void CDialogWindow::MessageBox(const SMessage& message) {
    modalboxes::ShowMessage(m_window, message);
}

bool CDialogWindow::AskYesNo(const std::string& text) {
    return modalboxes::AskYesNo(m_window, text);
}

std::optional<std::string> CDialogWindow::FileDialog(const SFileDialogRequest& request) {
    return modalboxes::AskForFile(m_window, request);
}

// --- previews ------------------------------------------------------------------------

void CDialogWindow::RepaintNow() {
    m_previews.clear();
    RedrawWindow(m_window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CDialogWindow::DrawImage(const CImage& image, int x, int y) {
    if (image.IsNull())
        return;
    SHeldPreview held{x, y, image.GetWidth(), image.GetHeight(), PremultipliedBitmap(image)};
    if (!held.picture)
        return;
    const RECT place = PreviewRect(held);
    m_previews.push_back(std::move(held));
    InvalidateRect(m_window, &place, TRUE);
    UpdateWindow(m_window);
}

void CDialogWindow::OnDropFiles(HDROP drop) {
    POINT at{};
    DragQueryPoint(drop, &at);
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(wintext::Utf8(path));
    }
    DragFinish(drop);
    if (!m_end.Ended())
        m_dialog->OnDropFiles(SlotAt(at), paths);
}

int CDialogWindow::SlotAt(POINT point) const {
    for (const int button : {ids::kSelectIasDial, ids::kSelectTasDial}) {
        RECT control{};
        GetWindowRect(At(button), &control);
        MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&control), 2);
        SHeldPreview slot;
        std::tie(slot.x, slot.y) = m_dialog->PreviewOrigin(button);
        slot.width = slot.height = gauge::kDialSide;
        const RECT preview = PreviewRect(slot);
        if (PtInRect(&control, point) || PtInRect(&preview, point))
            return button;
    }
    return 0;
}

RECT CDialogWindow::DialogUnitsToPixels(int x, int y, int w, int h) const {
    RECT rect{x, y, x + w, y + h};
    MapDialogRect(m_window, &rect);
    return rect;
}

// The dialog places its previews in the template's pixels, 2 across and 2.25 down to the
// dialog unit (res::DluToPixelX/Y). This window's dialog units follow its font at the
// screen's DPI, so a preview is placed through them and scaled with the units down, which
// decide whether both dials fit between the controls: a picture keeps its size at 120 DPI,
// shrinks at 96 and grows at 144, and never covers a control.
RECT CDialogWindow::PreviewRect(const SHeldPreview& held) const {
    const RECT base = DialogUnitsToPixels(0, 0, 4, 8);  // 4 units across, 8 down
    const res::SPixelRect r = res::TemplateToWindow(held.x, held.y, held.width, held.height,
                                                    {base.right, base.bottom});
    return {r.x, r.y, r.x + r.w, r.y + r.h};
}

void CDialogWindow::PaintPreviews(HDC dc) const {
    if (m_previews.empty())
        return;
    const CUniqueMemoryDc pictures(CreateCompatibleDC(dc));
    if (!pictures)
        return;
    // Blended over the background in the order they were drawn.
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (const SHeldPreview& held : m_previews) {
        const CSelection selected(pictures.get(), held.picture.get());
        const RECT r = PreviewRect(held);
        AlphaBlend(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, pictures.get(), 0, 0,
                   held.width, held.height, blend);
    }
}

void CDialogWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_window, &paint);
    if (IsIconic(m_window)) {
        // Windows that draw a minimised window's client area show the icon there, centred.
        SendMessageW(m_window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        const int iconWidth = GetSystemMetrics(SM_CXICON);
        const int iconHeight = GetSystemMetrics(SM_CYICON);
        RECT client;
        GetClientRect(m_window, &client);
        DrawIcon(dc, (client.right - iconWidth + 1) / 2, (client.bottom - iconHeight + 1) / 2,
                 m_bigIcon.get());
    } else {
        PaintPreviews(dc);
    }
    EndPaint(m_window, &paint);
}

// --- size ----------------------------------------------------------------------------

void CDialogWindow::OnGetMinMaxInfo(MINMAXINFO& info) const {
    if (m_window == nullptr)
        return;
    // Narrower, the port list box would shrink by the whole difference and vanish.
    const res::SDialogDef& dialog = res::MainDialog();
    RECT frame = DialogUnitsToPixels(0, 0, dialog.w, dialog.h);
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_EXSTYLE)));
    info.ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
}

void CDialogWindow::OnSize(int clientWidth) {
    HWND portList = Control(ids::kPortList);
    if (portList == nullptr)
        return;
    const res::SControlDef& def = *res::FindControl(ids::kPortList);
    const RECT templateSize = DialogUnitsToPixels(0, 0, res::MainDialog().w, 0);
    const RECT box = DialogUnitsToPixels(def.x, def.y, def.w, def.h);
    const int width =
        hostrules::PortListWidth(box.right - box.left, templateSize.right, clientWidth);
    // The height of a drop-down list's window is that of its dropped list.
    SetWindowPos(portList, nullptr, 0, 0, width, box.bottom - box.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- timers and the reader thread ----------------------------------------------------

void CDialogWindow::SetTimer(int timerId, unsigned milliseconds) {
    // Setting a running timer again starts its time afresh.
    ::SetTimer(m_window, static_cast<UINT_PTR>(timerId), milliseconds, nullptr);
}

void CDialogWindow::KillTimer(int timerId) {
    ::KillTimer(m_window, static_cast<UINT_PTR>(timerId));
}

void CDialogWindow::PostSerialNotification() {
    // The window lives until the reader thread has been joined (End, or the destructor).
    PostMessageW(m_window, kSerialNotification, kSerialWParam, 0);
}
