// The dial workshop's window on Win32 under Wine: a picture opened, the needle's rest and
// three marks clicked on the dial and their speeds typed, the dial and table saved; the
// dialog keys of its own message loop.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <deque>
#include <functional>

#include "angles/GacLine.h"
#include "angles/NumberText.h"
#include "app/win32/ModalDriver.h"
#include "app/win32/WorkshopWindow.h"
#include "dial/PngWrite.h"
#include "res/WorkshopControls.h"
#include "support/UniqueFolder.h"
#include "workshop/CalibrationView.h"
#include "workshop/PhotoDial.h"

using namespace std::chrono_literals;

namespace {

const double kMarks[] = {40, 100, 200};

// The window, its file dialogs answered through the host's seam: the common dialog is
// Windows' own and not under test.
class CTestWorkshop : public CWorkshopWindow {
public:
    using CWorkshopWindow::CWorkshopWindow;
    std::deque<std::string> files;

    std::optional<std::string> FileDialog(const SFileDialogRequest&) override {
        if (files.empty())
            return std::nullopt;
        std::string answer = files.front();
        files.pop_front();
        return answer;
    }
};

class WorkshopWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WritePng(dir.File("photo.png").c_str(), photo.picture.View());
        ASSERT_TRUE(window.Open(dir.File("photo.png"))) << GetLastError();
        Pump(300ms);
    }

    // Handles the thread's messages as kestran-workshop.exe's loop does.
    void Pump(std::chrono::milliseconds time = 50ms) {
        const auto deadline = std::chrono::steady_clock::now() + time;
        MSG message;
        while (std::chrono::steady_clock::now() < deadline) {
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (!window.HandleDialogKeys(message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            } else {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            }
        }
    }

    // A click on the large dial at a point of the 230 x 230 dial, where the window draws it.
    void ClickDial(workshop::SPoint dial) {
        HWND view = window.Control(wsids::kCalibrationView);
        RECT client;
        GetClientRect(view, &client);
        workshop::CCalibrationView drawn;
        drawn.Resize(client.right, client.bottom);
        const workshop::SPoint at = drawn.ToView(dial);
        const LPARAM where = MAKELPARAM(std::lround(at.x), std::lround(at.y));
        PostMessageW(view, WM_MOUSEMOVE, 0, where);
        PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, where);
        PostMessageW(view, WM_LBUTTONUP, 0, where);
        Pump();
    }

    // A key pressed where the focus is, through the loop's dialog keys.
    void Press(WPARAM key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
        Pump();
    }

    CTempDir dir;
    SPhotoDial photo;
    CTestWorkshop window{GetModuleHandleW(nullptr)};
};

TEST_F(WorkshopWindowTest, APictureBecomesADialAndATableByPointingAndClicking) {
    ASSERT_TRUE(window.Workshop().HasPicture());
    EXPECT_FALSE(IsWindowVisible(window.Control(wsids::kUseInKestran)));  // alone
    ClickDial(photo.OnDial(photo.scale.Clock(0) + 1.0, 0.8));
    EXPECT_TRUE(window.Workshop().Calibration().restSet);
    for (const double knots : kMarks) {
        ClickDial(photo.OnDial(photo.scale.Clock(knots) - 1.2, 0.85));
        ASSERT_EQ(GetFocus(), window.Control(wsids::kSpeed));
        SetWindowTextW(window.Control(wsids::kSpeed),
                       std::to_wstring(static_cast<int>(knots)).c_str());
        Press(VK_RETURN);  // Enter in the speed box adds the mark
    }
    ASSERT_EQ(SendMessageW(window.Control(wsids::kMarks), LB_GETCOUNT, 0, 0), 3);

    window.files = {dir.File("tas.png"), dir.File("tas.gac")};
    PostMessageW(window.Control(wsids::kSave), BM_CLICK, 0, 0);
    Pump(300ms);
    std::string why;
    const auto table = gacfile::ReadTable(dir.File("tas.gac"), &why);
    ASSERT_TRUE(table) << why;
    ASSERT_EQ(table->count, 20);
    for (const double knots : kMarks) {
        EXPECT_NEAR(numtext::AtoF(table->angles[static_cast<size_t>(knots / 10) - 1]),
                    photo.scale.Degrees(knots), 0.5)
            << knots;
    }
    EXPECT_FALSE(window.Workshop().Unsaved());
    // Saved: Escape closes the window without a question.
    Press(VK_ESCAPE);
    EXPECT_EQ(window.Window(), nullptr);
}

TEST_F(WorkshopWindowTest, EscapeDropsAWaitingMarkThenAsksBeforeMarksAreLost) {
    ClickDial(photo.OnDial(photo.scale.Clock(0), 0.8));
    ClickDial(photo.OnDial(photo.scale.Clock(100), 0.85));
    SetWindowTextW(window.Control(wsids::kSpeed), L"100");
    Press(VK_RETURN);
    ASSERT_EQ(window.Workshop().Calibration().marks.size(), 1u);
    // A click waiting for its speed: Escape drops it and nothing else.
    ClickDial(photo.OnDial(photo.scale.Clock(150), 0.85));
    Press(VK_ESCAPE);
    ASSERT_NE(window.Window(), nullptr);
    // Then Escape asks; No keeps the window and the mark.
    {
        CModalDriver driver(window.Window());
        driver.Then([](HWND box) { PostMessageW(box, WM_COMMAND, IDNO, 0); });
        Press(VK_ESCAPE);
        Pump(500ms);
        EXPECT_EQ(driver.Done(), 1);
    }
    ASSERT_NE(window.Window(), nullptr);
    EXPECT_EQ(window.Workshop().Calibration().marks.size(), 1u);
    // The arrow keys on the list turn the chosen mark.
    HWND list = window.Control(wsids::kMarks);
    SetFocus(list);
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    PostMessageW(window.Window(), WM_COMMAND, MAKEWPARAM(wsids::kMarks, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    Pump();
    const workshop::SPoint before = window.Workshop().Calibration().marks[0].at;
    Press(VK_RIGHT);
    EXPECT_NE(window.Workshop().Calibration().marks[0].at.x, before.x);
    // Yes lets it close.
    CModalDriver driver(window.Window());
    driver.Then([](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
    PostMessageW(window.Window(), WM_CLOSE, 0, 0);
    Pump(500ms);
    EXPECT_EQ(window.Window(), nullptr);
}

}  // namespace
