#pragma once

#include "platform/win32/WinApi.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/win32/WinGdi.h"
#include "host/WorkshopHost.h"
#include "workshop/Workshop.h"
#include "workshop/WorkshopLayout.h"

class CWorkshopView;

// The dial workshop's window on plain Win32: makes its controls, lays them out for the
// font and size at its monitor's DPI, forwards their notifications, the views' pointer and
// keys and dropped files to the workshop (CWorkshop, which it owns) and carries out its
// requests on the controls.
class CWorkshopWindow : public IWorkshopHost {
public:
    // With an owner (Kestran's main window) it stays above it, and "Use in Kestran" hands the
    // saved dial and table over through `handOver`; without one it is the program's window.
    CWorkshopWindow(HINSTANCE instance, CWorkshop::HandOver handOver = {}, HWND owner = nullptr);
    ~CWorkshopWindow() override;
    CWorkshopWindow(const CWorkshopWindow&) = delete;
    CWorkshopWindow& operator=(const CWorkshopWindow&) = delete;

    // Makes the window, fills its lists, opens the picture when given and shows it at the
    // size its controls need. False when the window could not be made.
    bool Open(const std::optional<std::string>& picture);
    // Null once the window is closed.
    HWND Window() const { return m_window; }
    HWND Control(int id) const;
    CWorkshop& Workshop() { return *m_workshop; }

    // The dialog keys (Tab, Enter, Escape, the arrows) of a message for this window, as a
    // message loop hands them over first; true when they were this window's.
    bool HandleDialogKeys(MSG& message);
    // Closes the window as its close box does, asking first when marks would be lost; false
    // when the user keeps it open.
    bool Close();

    KESTRAN_WORKSHOP_HOST_OVERRIDES

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code, HWND control);
    void UseDpi(UINT dpi);
    workshoplayout::SSize Natural(int id) const;
    workshoplayout::SLayout Layout() const;
    void LayOutControls();

    HINSTANCE m_instance;
    HWND m_owner;
    HWND m_window = nullptr;
    UINT m_dpi = 96;
    CUniqueFont m_font;
    CUniqueIcon m_bigIcon, m_smallIcon;
    std::map<int, HWND> m_byId;
    std::map<int, std::unique_ptr<CWorkshopView>> m_views;
    std::unique_ptr<CWorkshop> m_workshop;
};
