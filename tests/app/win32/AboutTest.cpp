// The About entry of the system menu and the About box it shows.
#include "app/win32/WindowFixture.h"
#include "support/GaugeFiles.h"

using AboutTest = WindowFixture;

TEST_F(AboutTest, TheSystemMenusAboutEntryShowsTheAboutBoxWhichEnterAndEscapeClose) {
    HMENU menu = GetSystemMenu(window->Window(), FALSE);
    const int last = GetMenuItemCount(menu) - 1;
    EXPECT_NE(GetMenuState(menu, last - 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(GetMenuItemID(menu, last), static_cast<UINT>(ids::kAboutCommand));
    wchar_t entry[64] = L"";
    GetMenuStringW(menu, last, entry, 64, MF_BYPOSITION);
    EXPECT_EQ(wintext::Utf8(entry), "关于 Kestran(&A)...");

    CModalDriver driver(window->Window());
    for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        std::vector<std::string> texts;
        bool icon = false, closed = false;
        driver.Then([&, key](HWND about) {
            texts = {TextOf(about)};
            for (HWND child : Children(about)) {
                if (SendMessageW(child, STM_GETICON, 0, 0) != 0) {
                    icon = true;
                } else {
                    texts.push_back(TextOf(child));
                }
            }
            PostMessageW(about, WM_KEYDOWN, key, 0);
            closed = WaitFor([about] { return !IsWindow(about); }, 5s);
            if (!closed)
                PostMessageW(about, WM_COMMAND, IDCANCEL, 0);  // so that the test goes on
        });
        const int shown = driver.Done() + 1;
        PostMessageW(window->Window(), WM_SYSCOMMAND, ids::kAboutCommand, 0);
        ASSERT_TRUE(PumpUntil([&] { return driver.Done() == shown; }, 10s));
        EXPECT_EQ(texts, std::vector<std::string>({"关于 Tillerby", "Tillerby，版本 1.0",
                                                   "Kestran 空速表表盘更新工具", "确定"}));
        EXPECT_TRUE(icon);
        EXPECT_TRUE(closed) << key;
        EXPECT_FALSE(window->Ended());
    }
}
