#pragma once

#include "platform/win32/WinApi.h"

#include <cstdint>
#include <functional>
#include <vector>

#include "dial/RgbaPicture.h"
#include "workshop/Workshop.h"

// A view of the dial workshop (window class "KestranWorkshopView"): shows the pixels the
// workshop draws, one to each of the screen's, and passes on its size, the pointer and the
// keys. With WS_TABSTOP it takes the arrow keys, Enter, Escape and Delete; Tab moves on. The
// object is made first and handed to CreateWindowExW as its creation parameter; it must
// outlive the window.
class CWorkshopView {
public:
    using SizeHandler = std::function<void(int width, int height)>;
    using PointerHandler = std::function<void(EPointer what, double x, double y)>;
    // Answers whether the key was taken. Escape goes to the window, as anywhere in it.
    using KeyHandler = std::function<bool(EWorkshopKey key)>;

    // Registers the window class once per process; false when it cannot be.
    static bool Register(HINSTANCE instance);
    static const wchar_t* ClassName() { return L"KestranWorkshopView"; }

    HWND Window() const { return m_window; }
    // The view object of a window of the class, or null.
    static CWorkshopView* Of(HWND window);

    void SetHandlers(SizeHandler size, PointerHandler pointer, KeyHandler key);
    void ShowPixels(const SRgbaPicture& pixels);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Pointer(EPointer what, LPARAM lParam);

    HWND m_window = nullptr;
    int m_width = 0, m_height = 0;
    std::vector<uint8_t> m_bgra;  // top row first
    bool m_tracking = false;      // of the pointer's leaving
    SizeHandler m_size;
    PointerHandler m_pointer;
    KeyHandler m_key;
};
