// The application as a whole: its run ends with the main dialog, the port closed.
#include "app/win32/CTillerbyApp.h"
#include "app/win32/WindowFixture.h"

TEST(ApplicationTest, TheRunEndsWhenTheCloseBoxIsPressedAndClosesThePort) {
    auto line = std::make_shared<SFakeLine>();
    // The user, on a thread of its own: connects, then presses the close box.
    const DWORD uiThread = GetCurrentThreadId();
    std::thread user([uiThread] {
        HWND dialog = nullptr;
        for (int i = 0; i < 1000 && dialog == nullptr; ++i) {
            Sleep(10);
            EnumThreadWindows(
                uiThread,
                [](HWND w, LPARAM found) -> BOOL {
                    if (!IsWindowVisible(w) || ClassOf(w) != L"#32770")
                        return TRUE;
                    *reinterpret_cast<HWND*>(found) = w;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&dialog));
        }
        PostMessageW(GetDlgItem(dialog, ids::kConnect), BM_CLICK, 0, 0);
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(
        CTillerbyApp(GetModuleHandleW(nullptr)).InitInstance(FakeServices(kComGaugePort, line)), 0);
    user.join();
    EXPECT_EQ(line->opens, 1);
    EXPECT_FALSE(line->open);
}

using QuitTest = WindowFixture;

// WM_QUIT from elsewhere in the program ends the run from outside the dialog: the upload is
// given up with the gauge told, the port closed and the reader thread joined before the
// window goes, as when the user closes the window.
TEST_F(QuitTest, AQuitMessageEndsTheUploadAndThePortBeforeTheWindowGoes) {
    Click(ids::kConnect);
    ASSERT_TRUE(window->Dialog().IsPortOpen());
    window->files = {WriteTestPng(dir, "ias.png", 230, 230, 32,
                                  [](int, int) { return SBgra{1, 2, 3, 255}; })};
    Click(ids::kSelectIasDial);
    Click(ids::kUpdate);
    ASSERT_TRUE(window->Dialog().IsUploadRunning());
    PostQuitMessage(3);
    EXPECT_EQ(window->RunModal(), IDCANCEL);
    EXPECT_EQ(window->Window(), nullptr);
    EXPECT_FALSE(window->Dialog().IsPortOpen());
    EXPECT_EQ(window->Dialog().ReaderExitCode(), 0);
    EXPECT_FALSE(line->open);
    EXPECT_EQ(line->written.substr(line->written.size() - 5), "ERR\r\n");
    // The run hands WM_QUIT on to the loop around it.
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
}
