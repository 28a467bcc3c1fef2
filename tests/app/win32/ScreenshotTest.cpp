// The window as Wine puts it on the X display: the previews blended in where the dialog
// places them, still there after minimising, and a picture of it all for the README.
#include "WindowFixture.h"
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
    for (int y = 0; y < shot.GetHeight(); ++y)
        GetDIBits(copy.get(), bitmap.get(), y, 1, shot.PixelAt(0, shot.GetHeight() - 1 - y), &info,
                  DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
}

}  // namespace

TEST_F(WindowFixture, ThePreviewsShowWhereTheDialogPutsThemAndSurviveMinimising) {
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
            EXPECT_TRUE(WritePng("kestran-windows.png", shot));
        }
    }
}
