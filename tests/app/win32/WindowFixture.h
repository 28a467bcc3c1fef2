#pragma once

#include <gtest/gtest.h>
#include "platform/win32/WinApi.h"

#include <chrono>
#include <deque>
#include <functional>
#include <memory>

#include "app/win32/DialogWindow.h"
#include "app/win32/ModalDriver.h"
#include "res/ControlIds.h"
#include "support/FakeServices.h"
#include "support/TestImages.h"

using namespace std::chrono_literals;

// The window, its file dialogs answered through the host's seam: the common dialog is
// Windows' own and not under test.
class CTestWindow : public CDialogWindow {
public:
    using CDialogWindow::CDialogWindow;
    std::deque<std::string> files;

    std::optional<std::string> FileDialog(const SFileDialogRequest&) override {
        if (files.empty())
            return std::nullopt;
        std::string answer = files.front();
        files.pop_front();
        return answer;
    }
};

// The one port the window tests find, "GAUGE", by its Windows path.
inline const SerInfoList kComGaugePort = GaugePortList("\\\\.\\GAUGE");

// The main window on Wine's display.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<CTestWindow>(Services(), GetModuleHandleW(nullptr));
        ASSERT_NE(window->Window(), nullptr);
    }
    void TearDown() override { window.reset(); }
    virtual SDialogServices Services() { return FakeServices(kComGaugePort, line); }

    // Handles the thread's messages as the modal run does, until `done` holds.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 30ms) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        MSG message;
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                window->HandleMessage(message);
            } else {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            }
        }
        return done();
    }
    void Pump(std::chrono::milliseconds time = 30ms) {
        PumpUntil([] { return false; }, time);
    }

    HWND W(int id) const { return window->Control(id); }
    std::string Text(int id) const { return window->GetWindowText(id); }
    bool Enabled(int id) const { return window->IsWindowEnabled(id); }
    void Click(int id) {
        PostMessageW(W(id), BM_CLICK, 0, 0);
        Pump();
    }
    // A key pressed where the focus is, or on the dialog when no control has it.
    void Press(WPARAM key) {
        HWND target = GetFocus() != nullptr ? GetFocus() : window->Window();
        PostMessageW(target, WM_KEYDOWN, key, 0);
        Pump();
    }

    std::shared_ptr<SFakeLine> line = std::make_shared<SFakeLine>();
    CTempDir dir;
    std::unique_ptr<CTestWindow> window;
};
