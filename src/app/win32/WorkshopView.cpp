#include "app/win32/WorkshopView.h"

#include <windowsx.h>

bool CWorkshopView::Register(HINSTANCE instance) {
    WNDCLASSEXW cls{};
    if (GetClassInfoExW(instance, ClassName(), &cls))
        return true;
    cls.cbSize = sizeof cls;
    cls.style = CS_HREDRAW | CS_VREDRAW;
    cls.lpfnWndProc = WindowProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32515));  // IDC_CROSS, in its wide form
    cls.lpszClassName = ClassName();
    return RegisterClassExW(&cls) != 0;
}

CWorkshopView* CWorkshopView::Of(HWND window) {
    return reinterpret_cast<CWorkshopView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void CWorkshopView::SetHandlers(SizeHandler size, PointerHandler pointer, KeyHandler key) {
    m_size = std::move(size);
    m_pointer = std::move(pointer);
    m_key = std::move(key);
    if (m_size && m_width > 0)
        m_size(m_width, m_height);
}

void CWorkshopView::ShowPixels(const SRgbaPicture& pixels) {
    m_bgra.assign(pixels.rgba.size(), 0);
    for (size_t i = 0; i + 3 < pixels.rgba.size(); i += 4) {
        m_bgra[i] = pixels.rgba[i + 2];
        m_bgra[i + 1] = pixels.rgba[i + 1];
        m_bgra[i + 2] = pixels.rgba[i];
        m_bgra[i + 3] = 255;
    }
    m_width = pixels.width;
    m_height = pixels.height;
    InvalidateRect(m_window, nullptr, FALSE);
}

LRESULT CALLBACK CWorkshopView::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // The view object, owned by whoever made the window, comes with its creation.
        auto* view =
            static_cast<CWorkshopView*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        view->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    CWorkshopView* view = Of(window);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (view != nullptr)
            view->m_window = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return view != nullptr ? view->OnMessage(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

void CWorkshopView::Pointer(EPointer what, LPARAM lParam) {
    if (m_pointer)
        m_pointer(what, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

LRESULT CWorkshopView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: {
            const int width = LOWORD(lParam), height = HIWORD(lParam);
            if (m_size && width > 0 && height > 0)
                m_size(width, height);
            return 0;
        }
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the pixels cover the whole view
        case WM_GETDLGCODE: {
            // The keys the workshop uses reach the view; Tab goes on to the next control.
            const auto* msg = reinterpret_cast<const MSG*>(lParam);
            if (msg != nullptr && msg->message == WM_KEYDOWN &&
                (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE || msg->wParam == VK_DELETE))
                return DLGC_WANTMESSAGE | DLGC_WANTARROWS;
            return DLGC_WANTARROWS;
        }
        case WM_KEYDOWN: {
            static const std::pair<WPARAM, EWorkshopKey> keys[] = {
                {VK_RETURN, EWorkshopKey::Enter},  {VK_ESCAPE, EWorkshopKey::Escape},
                {VK_DELETE, EWorkshopKey::Delete}, {VK_LEFT, EWorkshopKey::Left},
                {VK_RIGHT, EWorkshopKey::Right},   {VK_UP, EWorkshopKey::Up},
                {VK_DOWN, EWorkshopKey::Down},
            };
            for (const auto& [vk, key] : keys) {
                if (wParam != vk)
                    continue;
                if (key == EWorkshopKey::Escape) {
                    // As Escape anywhere in the window.
                    SendMessageW(GetAncestor(m_window, GA_ROOT), WM_COMMAND, IDCANCEL, 0);
                    return 0;
                }
                if (m_key)
                    m_key(key);
                return 0;
            }
            break;
        }
        case WM_LBUTTONDOWN:
            if ((GetWindowLongPtrW(m_window, GWL_STYLE) & WS_TABSTOP) != 0)
                SetFocus(m_window);
            SetCapture(m_window);
            Pointer(EPointer::Press, lParam);
            return 0;
        case WM_MOUSEMOVE:
            if (!m_tracking) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_window, 0};
                m_tracking = TrackMouseEvent(&track) != FALSE;
            }
            Pointer(EPointer::Move, lParam);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == m_window)
                ReleaseCapture();
            Pointer(EPointer::Release, lParam);
            return 0;
        case WM_MOUSELEAVE:
            m_tracking = false;
            if (m_pointer)
                m_pointer(EPointer::Leave, 0, 0);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(m_window, nullptr, FALSE);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void CWorkshopView::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_window, &paint);
    RECT client;
    GetClientRect(m_window, &client);
    if (m_width > 0 && m_height > 0) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, m_width, -m_height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(m_width), static_cast<DWORD>(m_height), 0, 0,
                          0, static_cast<UINT>(m_height), m_bgra.data(), &info, DIB_RGB_COLORS);
    }
    // Beyond the pixels (while they catch up with a new size), the window's own colour.
    RECT right{m_width, 0, client.right, client.bottom}, below{0, m_height, m_width, client.bottom};
    FillRect(dc, &right, GetSysColorBrush(COLOR_BTNFACE));
    FillRect(dc, &below, GetSysColorBrush(COLOR_BTNFACE));
    if (GetFocus() == m_window) {
        // The keys' target shows as such, as a focused control does.
        RECT inner = client;
        InflateRect(&inner, -2, -2);
        DrawFocusRect(dc, &inner);
    }
    EndPaint(m_window, &paint);
}
