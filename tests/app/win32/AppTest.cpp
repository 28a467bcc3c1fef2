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
