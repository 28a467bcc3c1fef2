#include "app/win32/WorkshopWindow.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "app/win32/AppIcon.h"
#include "app/win32/ModalBoxes.h"
#include "app/win32/WorkshopBuilder.h"
#include "app/win32/WorkshopView.h"
#include "artwork/NeedleSheet.h"
#include "base/GaugeFacts.h"
#include "host/WindowPlacement.h"
#include "platform/win32/WinText.h"
#include "res/DialogTemplate.h"
#include "res/WorkshopControls.h"

namespace {

constexpr const wchar_t* kClassName = L"KestranWorkshop";
// Room for the longest path the common dialogs give.
constexpr size_t kPathBufferLength = 32768;
// The lines a drop-down list shows when open.
constexpr int kDroppedLines = 12;

std::wstring Wide(const std::string& utf8) {
    return wintext::Wide(utf8);
}

// Windows' text boxes break lines at CR LF.
std::wstring WithWindowsLines(const std::string& utf8) {
    std::wstring text;
    for (const wchar_t c : Wide(utf8)) {
        if (c == L'\n')
            text += L'\r';
        text += c;
    }
    return text;
}

// The calls of Windows 10 1607 and later, looked up so that the program starts on older ones.
template <class Function>
Function User32Call(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT DpiOf(HWND window) {
    if (const auto forWindow = User32Call<UINT(WINAPI*)(HWND)>("GetDpiForWindow")) {
        if (const UINT dpi = forWindow(window))
            return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// The system's message font, at `dpi`.
LOGFONTW MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    if (const auto forDpi = User32Call<ForDpi>("SystemParametersInfoForDpi")) {
        if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
            return metrics.lfMessageFont;
    }
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HDC screen = GetDC(nullptr);
    const int system = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), system);
    return metrics.lfMessageFont;
}

bool RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW cls{};
    if (GetClassInfoExW(instance, kClassName, &cls))
        return true;
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = proc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW, in its wide form
    cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    cls.lpszClassName = kClassName;
    return RegisterClassExW(&cls) != 0;
}

}  // namespace

CWorkshopWindow::CWorkshopWindow(HINSTANCE instance, CWorkshop::HandOver handOver, HWND owner)
    : m_instance(instance),
      m_owner(owner),
      m_workshop(std::make_unique<CWorkshop>(*this, std::move(handOver))) {}

CWorkshopWindow::~CWorkshopWindow() {
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

bool CWorkshopWindow::Open(const std::optional<std::string>& picture) {
    if (!RegisterWindowClass(m_instance, WindowProc))
        return false;
    // WM_CREATE makes the controls before this returns.
    if (CreateWindowExW(WS_EX_ACCEPTFILES | WS_EX_CONTROLPARENT, kClassName,
                        Wide(res::WorkshopCaption()).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, m_owner, nullptr, m_instance,
                        this) == nullptr)
        return false;
    m_workshop->OnInit(picture);
    // As large as a dial drawn three times its size needs, where the screen has the room,
    // in the middle of it.
    const workshoplayout::SLayout least = Layout();
    const artwork::SSheetLayout two = artwork::SheetLayout(gauge::kDialSide, gauge::kDialSide, 2);
    const artwork::SSheetLayout three = artwork::SheetLayout(gauge::kDialSide, gauge::kDialSide, 3);
    RECT frame{
        0, 0, least.minimum.width + MulDiv(three.width - two.width, static_cast<int>(m_dpi), 96),
        least.minimum.height + MulDiv(three.height - two.height, static_cast<int>(m_dpi), 96)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_ACCEPTFILES | WS_EX_CONTROLPARENT);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    placement::SOrigin at{CW_USEDEFAULT, CW_USEDEFAULT};
    if (GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        RECT smallest{0, 0, least.minimum.width, least.minimum.height};
        AdjustWindowRectEx(&smallest, WS_OVERLAPPEDWINDOW, FALSE,
                           WS_EX_ACCEPTFILES | WS_EX_CONTROLPARENT);
        width = std::max<int>(std::min<int>(width, (work.right - work.left) * 9 / 10),
                              smallest.right - smallest.left);
        height = std::max<int>(std::min<int>(height, (work.bottom - work.top) * 9 / 10),
                               smallest.bottom - smallest.top);
        at = placement::CentredIn({work.left, work.top, work.right, work.bottom}, width, height);
    }
    SetWindowPos(m_window, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(m_window, SW_SHOW);
    return true;
}

HWND CWorkshopWindow::Control(int id) const {
    const auto it = m_byId.find(id);
    return it == m_byId.end() ? nullptr : it->second;
}

bool CWorkshopWindow::HandleDialogKeys(MSG& message) {
    return m_window != nullptr && IsDialogMessageW(m_window, &message) != FALSE;
}

bool CWorkshopWindow::Close() {
    if (m_window == nullptr)
        return true;
    if (!m_workshop->MayClose())
        return false;
    DestroyWindow(m_window);
    return true;
}

LRESULT CALLBACK CWorkshopWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<CWorkshopWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CWorkshopWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window = nullptr;
        self->m_byId.clear();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        // Nothing may unwind through the window system's own frames.
        self->MessageBox(SMessage(error.what()));
        return 0;
    }
}

LRESULT CWorkshopWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            m_byId = workshopbuilder::BuildControls(m_window, m_instance, m_views);
            for (auto& [id, view] : m_views) {
                const int control = id;
                view->SetHandlers(
                    [this, control](int w, int h) { m_workshop->OnViewSize(control, w, h); },
                    [this, control](EPointer what, double x, double y) {
                        m_workshop->OnPointer(control, what, x, y);
                    },
                    [this, control](EWorkshopKey key) { return m_workshop->OnKey(control, key); });
            }
            SetWindowSubclass(Control(wsids::kMarks), ListProc, 1,
                              reinterpret_cast<DWORD_PTR>(this));
            m_bigIcon = AppIcon(m_instance, GetSystemMetrics(SM_CXICON));
            m_smallIcon = AppIcon(m_instance, GetSystemMetrics(SM_CXSMICON));
            SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.get()));
            SendMessageW(m_window, WM_SETICON, ICON_SMALL,
                         reinterpret_cast<LPARAM>(m_smallIcon.get()));
            UseDpi(DpiOf(m_window));
            return 0;
        }
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED)
                LayOutControls();
            return 0;
        case WM_GETMINMAXINFO: {
            if (m_byId.empty())
                break;
            const workshoplayout::SLayout layout = Layout();
            RECT frame{0, 0, layout.minimum.width, layout.minimum.height};
            AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_STYLE)),
                               FALSE, static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_EXSTYLE)));
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {frame.right - frame.left,
                                                                     frame.bottom - frame.top};
            return 0;
        }
        case 0x02E0: {  // WM_DPICHANGED: the window moved to a monitor of another DPI
            UseDpi(HIWORD(wParam));
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_SETTINGCHANGE:
            // Another message font chosen in the system's settings.
            if (wParam == SPI_SETNONCLIENTMETRICS)
                UseDpi(m_dpi);
            break;
        case WM_DROPFILES: {
            const auto drop = reinterpret_cast<HDROP>(wParam);
            std::wstring path(kPathBufferLength, L'\0');
            const UINT length =
                DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size()));
            DragFinish(drop);
            if (length > 0) {
                path.resize(length);
                m_workshop->OnDrop(wintext::Utf8(path));
            }
            return 0;
        }
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DESTROY:
            // Alone, the window is the program.
            if (m_owner == nullptr)
                PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void CWorkshopWindow::OnCommand(int id, int code, HWND control) {
    if (control == nullptr || id == IDOK || id == IDCANCEL) {
        // The dialog keys: Enter in the speed box adds the mark; Escape drops a mark waiting
        // for its speed, and else closes.
        if (id == IDOK && ::GetFocus() == Control(wsids::kSpeed))
            m_workshop->OnCommand(wsids::kAddMark);
        else if (id == IDCANCEL &&
                 !m_workshop->OnKey(wsids::kCalibrationView, EWorkshopKey::Escape))
            Close();
        return;
    }
    const res::SWorkshopControl* def = res::FindWorkshopControl(id);
    if (def == nullptr)
        return;
    using K = res::EWorkshopKind;
    const bool button =
        def->kind == K::PushButton || def->kind == K::DefaultButton || def->kind == K::CheckBox;
    if ((button && code == BN_CLICKED) || (def->kind == K::DropDownList && code == CBN_SELCHANGE) ||
        (def->kind == K::List && code == LBN_SELCHANGE))
        m_workshop->OnCommand(id);
}

LRESULT CALLBACK CWorkshopWindow::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) {
    // The chosen mark turned or removed from the list, as from the dial's view.
    if (message == WM_KEYDOWN && (wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_DELETE)) {
        const EWorkshopKey key = wParam == VK_LEFT    ? EWorkshopKey::Left
                                 : wParam == VK_RIGHT ? EWorkshopKey::Right
                                                      : EWorkshopKey::Delete;
        if (reinterpret_cast<CWorkshopWindow*>(self)->m_workshop->OnKey(wsids::kMarks, key))
            return 0;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

// --- the font and the layout ------------------------------------------------------------

void CWorkshopWindow::UseDpi(UINT dpi) {
    m_dpi = dpi;
    const LOGFONTW font = MessageFont(dpi);
    m_font.reset(CreateFontIndirectW(&font));
    for (const auto& [id, control] : m_byId)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    LayOutControls();
}

workshoplayout::SSize CWorkshopWindow::Natural(int id) const {
    const res::SWorkshopControl& def = *res::FindWorkshopControl(id);
    HDC dc = GetDC(m_window);
    const HGDIOBJ previous = SelectObject(dc, m_font.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const auto textWidth = [dc](const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const int line = metrics.tmHeight + metrics.tmExternalLeading;
    const int scale8 = MulDiv(8, static_cast<int>(m_dpi), 96);
    // A control's frame around one line, as 14 dialog units of the dialog font.
    const int box = std::max(line * 7 / 4, MulDiv(23, static_cast<int>(m_dpi), 96));
    workshoplayout::SSize size{0, box};
    using K = res::EWorkshopKind;
    switch (def.kind) {
        case K::PushButton:
        case K::DefaultButton:
            size.width = textWidth(Wide(def.caption)) + 2 * line;
            break;
        case K::CheckBox:
            size.width = textWidth(Wide(def.caption)) + line + 2 * scale8;
            break;
        case K::DropDownList: {
            HWND combo = Control(id);
            int widest = 0;
            const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                std::wstring item(
                    static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
                item.resize(static_cast<size_t>(
                    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
                widest = std::max(widest, textWidth(item));
            }
            // The arrow's button, as wide as a scroll bar.
            size.width = widest + MulDiv(17, static_cast<int>(m_dpi), 96) + 2 * scale8;
            break;
        }
        case K::Edit:
            size.width = 9 * metrics.tmAveCharWidth + scale8;
            break;
        case K::Label:
        case K::Paragraph:
            size = {textWidth(Wide(def.caption)) + 2, line};
            break;
        case K::List:
            size.width = 22 * metrics.tmAveCharWidth;
            break;
        case K::View:
            break;
    }
    SelectObject(dc, previous);
    ReleaseDC(m_window, dc);
    return size;
}

workshoplayout::SLayout CWorkshopWindow::Layout() const {
    workshoplayout::SMeasures measures;
    HDC dc = GetDC(m_window);
    const HGDIOBJ previous = SelectObject(dc, m_font.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(m_window, dc);
    measures.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    measures.pixelScale = m_dpi / 96.0;
    measures.natural = [this](int id) { return Natural(id); };
    RECT client{};
    GetClientRect(m_window, &client);
    return workshoplayout::LayOut(measures, {client.right, client.bottom});
}

void CWorkshopWindow::LayOutControls() {
    if (m_window == nullptr || m_byId.empty() || !m_font)
        return;
    const workshoplayout::SLayout layout = Layout();
    for (const auto& [id, r] : layout.controls) {
        // A drop-down list's window holds its opened list below the box.
        const bool dropDown =
            res::FindWorkshopControl(id)->kind == res::EWorkshopKind::DropDownList;
        const int height = dropDown ? r.height * kDroppedLines : r.height;
        SetWindowPos(Control(id), nullptr, r.x, r.y, r.width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(m_window, nullptr, TRUE);
}

// --- the host seam ------------------------------------------------------------------------

std::string CWorkshopWindow::GetText(int id) const {
    return wintext::WindowText(Control(id));
}

void CWorkshopWindow::SetText(int id, const std::string& text) {
    SetWindowTextW(Control(id), WithWindowsLines(text).c_str());
}

void CWorkshopWindow::Enable(int id, bool enable) {
    EnableWindow(Control(id), enable ? TRUE : FALSE);
}

void CWorkshopWindow::Show(int id, bool show) {
    ShowWindow(Control(id), show ? SW_SHOW : SW_HIDE);
}

void CWorkshopWindow::SetFocus(int id) {
    HWND control = Control(id);
    ::SetFocus(control);
    // What is typed replaces the box's text.
    if (res::FindWorkshopControl(id)->kind == res::EWorkshopKind::Edit)
        SendMessageW(control, EM_SETSEL, 0, -1);
}

int CWorkshopWindow::GetCheck(int id) const {
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void CWorkshopWindow::SetCheck(int id, int state) {
    SendMessageW(Control(id), BM_SETCHECK, state != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CWorkshopWindow::SetItems(int id, const std::vector<std::string>& items) {
    const bool list = res::FindWorkshopControl(id)->kind == res::EWorkshopKind::List;
    HWND control = Control(id);
    SendMessageW(control, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendMessageW(control, list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Wide(item).c_str()));
}

int CWorkshopWindow::GetSelection(int id) const {
    const bool list = res::FindWorkshopControl(id)->kind == res::EWorkshopKind::List;
    return static_cast<int>(SendMessageW(Control(id), list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
}

void CWorkshopWindow::SetSelection(int id, int index) {
    const bool list = res::FindWorkshopControl(id)->kind == res::EWorkshopKind::List;
    // An index out of range clears the selection, as -1 does; neither notifies.
    SendMessageW(Control(id), list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void CWorkshopWindow::ShowPixels(int viewId, const SRgbaPicture& pixels) {
    const auto it = m_views.find(viewId);
    if (it != m_views.end())
        it->second->ShowPixels(pixels);
}

void CWorkshopWindow::SetCaption(const std::string& text) {
    SetWindowTextW(m_window, Wide(text).c_str());
}

void CWorkshopWindow::MessageBox(const SMessage& message) {
    modalboxes::ShowMessage(m_window, message);
}

bool CWorkshopWindow::AskYesNo(const std::string& text) {
    return modalboxes::AskYesNo(m_window, text);
}

std::optional<std::string> CWorkshopWindow::FileDialog(const SFileDialogRequest& request) {
    return modalboxes::AskForFile(m_window, request);
}
