// The window as Wine puts it on the X display: the previews blended in where the dialog
// places them, still there after minimising, and a picture of it all for the README.
#include <cstring>
#include <vector>

#include "app/win32/WindowFixture.h"
#include "dial/PngWrite.h"

namespace {

// What the screen shows where `window` is, frame included.
void Screenshot(HWND window, CImage& shot) {
    RECT r;
    GetWindowRect(window, &r);
    shot.Create(r.right - r.left, r.bottom - r.top, 32, false);
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof info.bmiHeader, shot.GetWidth(), -shot.GetHeight(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    const CUniqueMemoryDc copy(CreateCompatibleDC(screen));
    const CUniqueBitmap bitmap(CreateCompatibleBitmap(screen, shot.GetWidth(), shot.GetHeight()));
    {
        const CSelection selected(copy.get(), bitmap.get());
        BitBlt(copy.get(), 0, 0, shot.GetWidth(), shot.GetHeight(), screen, r.left, r.top, SRCCOPY);
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(shot.GetWidth()) * shot.GetHeight() * 4);
    GetDIBits(copy.get(), bitmap.get(), 0, shot.GetHeight(), pixels.data(), &info,
              DIB_RGB_COLORS);  // top row first
    for (int y = 0; y < shot.GetHeight(); ++y) {
        uint8_t* row = shot.PixelAt(0, y);
        std::memcpy(row, &pixels[static_cast<size_t>(y) * shot.GetWidth() * 4],
                    shot.GetWidth() * 4);
        for (int x = 0; x < shot.GetWidth(); ++x)
            row[x * 4 + 3] = 255;  // the screen has no alpha
    }
    ReleaseDC(nullptr, screen);
}

}  // namespace

using PreviewTest = WindowFixture;

TEST_F(PreviewTest, ThePreviewsShowWhereTheDialogPutsThemAndSurviveMinimising) {
    window->files = {KESTRAN_EXAMPLE_DIALS "/ias.png", KESTRAN_EXAMPLE_DIALS "/tas.png"};
    Click(ids::kSelectIasDial);
    Click(ids::kSelectTasDial);
    ASSERT_EQ(window->GetCheck(ids::kIasCheck) + window->GetCheck(ids::kTasCheck), 2);

    // The dialog's client pixels on the screen, through this window's dialog units.
    HWND dialog = window->Window();
    RECT base{0, 0, 4, 8}, frame;
    MapDialogRect(dialog, &base);
    GetWindowRect(dialog, &frame);
    auto gray = [&](const CImage& shot, int x, int y) {
        POINT p{MulDiv(x, base.right, 8), MulDiv(y, base.bottom, 18)};
        ClientToScreen(dialog, &p);
        const uint8_t* c = shot.PixelAt(p.x - frame.left, p.y - frame.top);
        return (c[0] + c[1] + c[2]) / 3;
    };
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    const int background = (GetRValue(face) + GetGValue(face) + GetBValue(face)) / 3;

    for (const bool minimise : {false, true}) {
        SCOPED_TRACE(minimise ? "after minimising" : "as chosen");
        if (minimise) {
            ShowWindow(dialog, SW_MINIMIZE);
            Pump(300ms);
            ShowWindow(dialog, SW_RESTORE);
        }
        Pump(500ms);
        CImage shot;
        Screenshot(dialog, shot);
        // The middle of both dial faces is dark; the space between them is the background.
        EXPECT_LT(gray(shot, 30 + 115, 125 + 115), 60);
        EXPECT_LT(gray(shot, 30 + 115, 408 + 115), 60);
        EXPECT_EQ(gray(shot, 10, 380), background);
        if (!minimise) {
            EXPECT_TRUE(WritePng("kestran-windows.png", shot.View()));
        }
    }
}
