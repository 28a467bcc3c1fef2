// The dial workshop opened from the main window's system menu, a saved dial dropped on it,
// and "Use in Kestran" taking the dial and its table into the main window as Select TAS Dial
// and Load do.
#include "app/win32/WindowFixture.h"

#include <shlobj.h>

#include <cwchar>

#include "angles/GacLine.h"
#include "angles/NumberText.h"
#include "platform/win32/WinText.h"
#include "res/WorkshopControls.h"
#include "workshop/CalibrationView.h"
#include "workshop/FakeWorkshopHost.h"
#include "workshop/PhotoDial.h"
#include "workshop/Workshop.h"

namespace {

// A dial saved by the workshop with its marks and its table beside it: the rest and the marks
// of 50 and 100 knots clicked through the workshop's own handlers.
void SavePair(const SPhotoDial& photo, const CTempDir& dir) {
    WritePng(dir.File("photo.png").c_str(), photo.picture.View());
    CFakeWorkshopHost host;
    CWorkshop workshop(host);
    workshop.OnInit(dir.File("photo.png"));
    workshop.OnViewSize(wsids::kCalibrationView, 800, 800);
    workshop::CCalibrationView view;
    view.Resize(800, 800);
    const auto click = [&](double knots) {
        const workshop::SPoint at = view.ToView(photo.OnDial(photo.scale.Clock(knots), 0.85));
        workshop.OnPointer(wsids::kCalibrationView, EPointer::Press, at.x, at.y);
        workshop.OnPointer(wsids::kCalibrationView, EPointer::Release, at.x, at.y);
    };
    click(0);
    for (const double knots : {50.0, 100.0}) {
        click(knots);
        host.texts[wsids::kSpeed] = numtext::FormatG(knots);
        workshop.OnCommand(wsids::kAddMark);
    }
    host.files = {dir.File("tas.png"), dir.File("tas.gac")};
    workshop.OnCommand(wsids::kSave);
}

// A file dropped on a window, as Explorer drops one: its path in a DROPFILES block.
void Drop(HWND window, const std::string& path) {
    const std::wstring wide = wintext::Wide(path);
    const size_t bytes = sizeof(DROPFILES) + (wide.size() + 2) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GHND, bytes);
    auto* files = static_cast<DROPFILES*>(GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::wmemcpy(reinterpret_cast<wchar_t*>(files + 1), wide.c_str(), wide.size());
    GlobalUnlock(block);
    PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

}  // namespace

using WorkshopMenuTest = WindowFixture;

TEST_F(WorkshopMenuTest, UseInKestranPutsASavedDialAndItsTableIntoTheMainWindow) {
    HMENU menu = GetSystemMenu(window->Window(), FALSE);
    const int last = GetMenuItemCount(menu) - 1;
    EXPECT_EQ(GetMenuItemID(menu, last - 2), static_cast<UINT>(ids::kWorkshopCommand));
    PostMessageW(window->Window(), WM_SYSCOMMAND, ids::kWorkshopCommand, 0);
    Pump(300ms);
    ASSERT_NE(window->Workshop(), nullptr);
    CWorkshopWindow& workshop = *window->Workshop();
    ASSERT_NE(workshop.Window(), nullptr);
    EXPECT_TRUE(IsWindowVisible(workshop.Control(wsids::kUseInKestran)));

    const SPhotoDial photo;
    SavePair(photo, dir);
    Drop(workshop.Window(), dir.File("tas.png"));
    Pump(500ms);
    ASSERT_TRUE(workshop.Workshop().HasPicture());
    ASSERT_EQ(workshop.Workshop().Calibration().marks.size(), 2u);
    // Saved together and unchanged: handed over without a file dialog.
    PostMessageW(workshop.Control(wsids::kUseInKestran), BM_CLICK, 0, 0);
    Pump(500ms);

    EXPECT_EQ(window->GetCheck(ids::kTasCheck), 1);
    EXPECT_FALSE(window->Dialog().TasUploadImage().IsNull());
    EXPECT_EQ(window->GetCheck(ids::kMaxSpeedCheck), 1);
    EXPECT_EQ(Text(ids::kMaxSpeedList), "100");
    std::string why;
    const auto table = gacfile::ReadTable(dir.File("tas.gac"), &why);
    ASSERT_TRUE(table) << why;
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(Text(ids::EntryBoxId(k)), table->angles[static_cast<size_t>(k - 1)]) << k;
    // The workshop's own dialog keys reach it through the main window's loop: Escape closes it.
    SetFocus(workshop.Control(wsids::kMarks));
    Press(VK_ESCAPE);
    EXPECT_EQ(workshop.Window(), nullptr);
    EXPECT_NE(window->Window(), nullptr);
}
