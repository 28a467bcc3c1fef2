#pragma once

#include "platform/win32/WinApi.h"

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/WinText.h"

inline std::string TextOf(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return wintext::Utf8(text);
}
inline std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}
inline std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    return children;
}

// Plays the user in front of the modal boxes the window thread opens (message boxes, the
// About box): a thread of its own runs the next queued action on each new box while the
// window thread sits in the box's message loop. Actions post to the box and read its texts,
// which is safe across threads.
class CModalDriver {
public:
    using Action = std::function<void(HWND box)>;

    explicit CModalDriver(HWND main)
        : m_main(main),
          m_ui(GetWindowThreadProcessId(main, nullptr)),
          m_watcher([this] { Watch(); }) {}
    ~CModalDriver() {
        m_stop = true;
        m_watcher.join();
    }
    CModalDriver(const CModalDriver&) = delete;
    CModalDriver& operator=(const CModalDriver&) = delete;

    void Then(Action action) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_actions.push_back(std::move(action));
    }
    // How many actions have run to their end.
    int Done() const { return m_done; }

private:
    // A visible dialog of the window thread besides the main window.
    HWND Box() const {
        std::pair<HWND, HWND> search{m_main, nullptr};
        EnumThreadWindows(
            m_ui,
            [](HWND w, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<std::pair<HWND, HWND>*>(param);
                if (w == s->first || !IsWindowVisible(w) || ClassOf(w) != L"#32770")
                    return TRUE;
                s->second = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.second;
    }

    void Watch() {
        while (!m_stop) {
            Sleep(10);
            HWND box = Box();
            Action action;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (box == nullptr || m_actions.empty())
                    continue;
                action = std::move(m_actions.front());
                m_actions.pop_front();
            }
            action(box);
            ++m_done;
            while (!m_stop && IsWindow(box))  // the next action is for the next box
                Sleep(5);
        }
    }

    HWND m_main;
    DWORD m_ui;
    std::mutex m_mutex;
    std::deque<Action> m_actions;
    std::atomic<int> m_done{0};
    std::atomic<bool> m_stop{false};
    std::thread m_watcher;
};
