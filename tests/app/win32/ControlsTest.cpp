// The main window's controls as the dialog manager made them from the template: ids,
// classes, captions, styles, buddies, the start-up state, the spin glue and resizing.
#include "platform/win32/WinApi.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/win32/CSpinButton.h"
#include "app/win32/WindowFixture.h"
#include "res/DialogTemplate.h"

namespace {

using res::ControlKind;

// Each kind's class, and the mask and bits of the style that make its type.
struct SKind {
    std::wstring className;
    LONG mask, bits;
};
const std::map<ControlKind, SKind> kKinds = {
    {ControlKind::ComboBox, {L"ComboBox", 0x3, CBS_DROPDOWNLIST}},
    {ControlKind::PushButton, {L"Button", BS_TYPEMASK, BS_PUSHBUTTON}},
    {ControlKind::AutoCheckBox, {L"Button", BS_TYPEMASK, BS_AUTOCHECKBOX}},
    {ControlKind::GroupBox, {L"Button", BS_TYPEMASK, BS_GROUPBOX}},
    {ControlKind::Static, {L"Static", SS_TYPEMASK, SS_LEFT}},
    {ControlKind::Edit, {L"Edit", ES_AUTOHSCROLL, ES_AUTOHSCROLL}},
    {ControlKind::Spin,
     {L"msctls_updown32", UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_WRAP,
      UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS}},
    {ControlKind::Progress, {L"msctls_progress32", 0, 0}},
};

LONG StyleOf(HWND window) {
    return static_cast<LONG>(GetWindowLongPtrW(window, GWL_STYLE));
}
RECT RectIn(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

using ControlsTest = WindowFixture;

TEST_F(ControlsTest, EveryTemplateControlIsANativeControlWithItsClassCaptionAndStyle) {
    HWND dialog = window->Window();
    EXPECT_EQ(TextOf(dialog), "Kestran V0.1");
    EXPECT_EQ(StyleOf(dialog) & (WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_THICKFRAME | WS_SYSMENU);
    EXPECT_NE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

    const auto& defs = res::MainDialog().controls;
    const std::vector<HWND> controls = Children(dialog);
    ASSERT_EQ(controls.size(), 220u);
    for (size_t i = 0; i < defs.size(); ++i) {
        const res::SControlDef& def = defs[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " id " + std::to_string(def.id));
        const SKind& kind = kKinds.at(def.kind);
        EXPECT_EQ(GetDlgCtrlID(controls[i]), def.id);
        EXPECT_TRUE(ClassOf(controls[i]) == kind.className);
        EXPECT_EQ(StyleOf(controls[i]) & kind.mask, kind.bits);
        EXPECT_EQ((StyleOf(controls[i]) & WS_TABSTOP) != 0, (def.style & res::kTabStop) != 0);
        if (!def.caption.empty()) {
            EXPECT_EQ(TextOf(controls[i]), def.caption);
        }
        if (def.kind == ControlKind::Spin) {
            // The control before it is its buddy; it sits on the buddy's right border.
            EXPECT_EQ(CSpinButton(controls[i]).Buddy(), controls[i - 1]);
            EXPECT_NEAR(RectIn(dialog, controls[i]).left, RectIn(dialog, controls[i - 1]).right, 2);
        }
    }
    EXPECT_NE(StyleOf(W(ids::kMaxSpeedList)) & CBS_SORT, 0);
    EXPECT_EQ(StyleOf(W(ids::kPortList)) & CBS_SORT, 0);
    EXPECT_EQ(SendMessageW(W(ids::kProgress), PBM_GETRANGE, FALSE, 0), 100);
}

TEST_F(ControlsTest, StartsCentredWithTheTableLockedAndListsKeepTheirOrder) {
    // On the work area of its monitor, to the pixel that the halving leaves.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(window->Window(), MONITOR_DEFAULTTONEAREST),
                                &monitor));
    RECT frame;
    ASSERT_TRUE(GetWindowRect(window->Window(), &frame));
    const RECT& work = monitor.rcWork;
    EXPECT_LE(std::abs((frame.left - work.left) - (work.right - frame.right)), 1);
    EXPECT_LE(std::abs((frame.top - work.top) - (work.bottom - frame.bottom)), 1);

    for (int id : {ids::kRefresh, ids::kConnect, ids::kPortList, ids::kSelectIasDial,
                   ids::kSelectTasDial, ids::kIasCheck, ids::kTasCheck, ids::kMaxSpeedCheck,
                   ids::kLoad, ids::kAngleSpin, ids::kStatus, ids::kProgress}) {
        EXPECT_TRUE(Enabled(id)) << id;
    }
    for (int id :
         {ids::kUpdate, ids::kMaxSpeedList, ids::kAngleBox, ids::kLinearIncrement, ids::kSave}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    for (int k = 1; k <= ids::kEntryCount; ++k) {
        EXPECT_FALSE(Enabled(ids::EntryBoxId(k))) << k;
        EXPECT_TRUE(Enabled(ids::EntrySpinId(k))) << k;
    }
    EXPECT_EQ(Text(ids::kStatus), "Ready");
    EXPECT_EQ(Text(ids::kPortList), "GAUGE");
    EXPECT_EQ(Text(ids::kMaxSpeedList), "200");
    EXPECT_EQ(Text(ids::EntryBoxId(20)), "318.0");
    EXPECT_EQ(CSpinButton(W(ids::EntrySpinId(1))).Pos(), 75);

    // A sorted list takes a new item where it sorts and keeps its selection; adding to an
    // empty list selects nothing.
    EXPECT_EQ(window->AddString(ids::kMaxSpeedList, "105"), 1);
    EXPECT_EQ(Text(ids::kMaxSpeedList), "200");
    window->ResetContent(ids::kPortList);
    EXPECT_EQ(window->AddString(ids::kPortList, "ttyUSB0"), 0);
    EXPECT_EQ(window->AddString(ids::kPortList, "ttyACM0"), 1);
    EXPECT_EQ(window->GetCurSel(ids::kPortList), -1);
}

TEST_F(ControlsTest, ArrowsAndArrowKeysStepTheBuddyThroughTheDialog) {
    // A native up-down control does nothing while its buddy is disabled: unlock the table.
    Click(ids::kMaxSpeedCheck);
    HWND spin = W(ids::EntrySpinId(1));
    SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));  // the up arrow
    SendMessageW(spin, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(Text(ids::EntryBoxId(1)), "7.6");
    EXPECT_EQ(CSpinButton(spin).Pos(), 76);

    window->SetFocus(ids::kAngleBox);
    Press(VK_DOWN);
    EXPECT_EQ(Text(ids::kAngleBox), "317.9");
}

TEST_F(ControlsTest, ResizingWidensOnlyThePortListAndStopsAtTheTemplateSize) {
    HWND dialog = window->Window();
    std::vector<RECT> before;
    for (HWND control : Children(dialog))
        before.push_back(RectIn(dialog, control));
    RECT start;
    GetWindowRect(dialog, &start);
    const int width = start.right - start.left, height = start.bottom - start.top;
    for (const int delta : {150, 60, -120}) {
        SetWindowPos(dialog, nullptr, 0, 0, width + delta, height + delta,
                     SWP_NOMOVE | SWP_NOZORDER);
        const int widened = std::max(0, delta);
        RECT now;
        GetWindowRect(dialog, &now);
        EXPECT_EQ(now.right - now.left, width + widened);
        const std::vector<HWND> controls = Children(dialog);
        for (size_t i = 0; i < controls.size(); ++i) {
            RECT expected = before[i];
            if (static_cast<int>(i) == res::IndexOfControl(ids::kPortList))
                expected.right += widened;
            const RECT got = RectIn(dialog, controls[i]);
            EXPECT_TRUE(EqualRect(&got, &expected)) << "control #" << i + 1 << ", " << delta;
        }
    }
}

namespace {

// What Explorer hands a window for files dropped on it at a client point.
HGLOBAL DroppedFiles(const std::vector<std::string>& paths, POINT at) {
    std::wstring list;
    for (const std::string& path : paths)
        list += wintext::Wide(path) + L'\0';
    list += L'\0';
    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = at;
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(),
                list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

POINT CentreOf(HWND control, HWND window) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

// A picture dropped on a dial's Select button (or its preview) goes through that Select;
// elsewhere it is refused in a message box, the reason beneath the message.
TEST_F(ControlsTest, PicturesDroppedOnASlotAreTakenAndOthersRefused) {
    const std::string dial = WriteTestPng(dir, "dial.png", 230, 230, 32,
                                          [](int, int) { return SBgra{10, 20, 30, 255}; });
    const auto drop = [this](const std::vector<std::string>& paths, POINT at) {
        PostMessageW(window->Window(), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(DroppedFiles(paths, at)), 0);
        Pump(200ms);
    };
    drop({dial}, CentreOf(W(ids::kSelectIasDial), window->Window()));
    EXPECT_EQ(window->GetCheck(ids::kIasCheck), 1);
    drop({dial}, CentreOf(W(ids::kSelectTasDial), window->Window()));
    EXPECT_EQ(window->GetCheck(ids::kTasCheck), 1);

    std::vector<std::string> boxTexts;
    {
        CModalDriver driver(window->Window());
        driver.Then([&](HWND box) {
            for (HWND child : Children(box))
                boxTexts.push_back(TextOf(child));
            PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
        });
        drop({dir.File("gone.png")}, CentreOf(W(ids::kSelectTasDial), window->Window()));
        PumpUntil([&] { return driver.Done() == 1; }, 5s);
    }
    bool shown = false;
    for (const std::string& text : boxTexts)
        shown = shown || text.rfind("Image load error\n\ngone.png: ", 0) == 0;
    EXPECT_TRUE(shown) << testing::PrintToString(boxTexts);
    EXPECT_EQ(window->GetCheck(ids::kTasCheck), 0);
}
