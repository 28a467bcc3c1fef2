#include "res/DialogTemplate.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "res/ControlIds.h"

namespace res {
namespace {

constexpr unsigned kButton = kTabStop;
constexpr unsigned kEditStyle = kTabStop | kBorder | kAutoHScroll;
constexpr unsigned kSpinStyle = kAlignRight | kAutoBuddy | kArrowKeys;

// Positions of the five columns of ten angle entries.
struct SColumn {
    int knotsX, boxX, spinX, unitX;
};
constexpr SColumn kColumns[5] = {
    {157, 169, 190, 202}, {219, 235, 256, 268}, {286, 302, 323, 335},
    {353, 369, 390, 402}, {418, 434, 455, 467},
};
constexpr int kRowY[10] = {63, 82, 101, 118, 137, 156, 175, 194, 212, 231};

void AddAngleEntries(std::vector<SControlDef>& c) {
    for (int k = 1; k <= ids::kEntryCount; ++k) {
        const int knots = 10 * k;
        const SColumn& col = kColumns[(k - 1) / 10];
        const int y = kRowY[(k - 1) % 10];
        const bool threeDigits = knots >= 100;
        const int knotsX = (knots == 100) ? 153 : col.knotsX;
        c.push_back({-1, ControlKind::Static, std::to_string(knots), knotsX, y + 2,
                     threeDigits ? 13 : 9, 8, kNone});
        c.push_back({-1, ControlKind::Static, " \u00b0", col.unitX, y + 2, 12, 8, kNone});
        c.push_back({ids::EntryBoxId(k), ControlKind::Edit, "", col.boxX, y, 34, 14, kEditStyle});
        c.push_back({ids::EntrySpinId(k), ControlKind::Spin, "", col.spinX, y, 11, 14, kSpinStyle});
    }
}

SDialogDef BuildMainDialog() {
    SDialogDef d{ids::kMainDialog, "Kestran V0.1", 494, 292, {}};
    // No minimise or maximise box.
    d.frame = kPopup | kVisible | kCaption | kSystemMenu | kResizableFrame | kAppWindow;
    auto& c = d.controls;
    c.push_back({ids::kPortList, ControlKind::ComboBox, "", 79, 15, 137, 30,
                 kTabStop | kDropDownList | kVScroll});
    c.push_back({ids::kRefresh, ControlKind::PushButton, "Refresh", 221, 14, 50, 14, kButton});
    c.push_back({ids::kConnect, ControlKind::PushButton, "Connect", 276, 14, 50, 14, kButton});
    c.push_back({-1, ControlKind::Static, "Select COM port", 19, 17, 54, 8, kNone});
    c.push_back(
        {ids::kSelectIasDial, ControlKind::PushButton, "Select IAS Dial", 43, 36, 58, 14, kButton});
    c.push_back({ids::kUpdate, ControlKind::PushButton, "Update", 435, 269, 50, 14, kButton});
    c.push_back({ids::kSelectTasDial, ControlKind::PushButton, "Select TAS Dial", 43, 162, 58, 14,
                 kButton});
    c.push_back({ids::kIasCheck, ControlKind::AutoCheckBox, "", 32, 38, 8, 10, kTabStop});
    c.push_back({ids::kTasCheck, ControlKind::AutoCheckBox, "", 32, 164, 8, 10, kTabStop});
    c.push_back({ids::kProgress, ControlKind::Progress, "", 148, 269, 267, 14, kBorder});
    c.push_back({ids::kMaxSpeedCheck, ControlKind::AutoCheckBox, "Max Speed(knot) ", 163, 47, 73,
                 10, kTabStop});
    c.push_back({-1, ControlKind::GroupBox, "Speed && Angle", 148, 36, 336, 215, kNone});
    c.push_back({ids::kMaxSpeedList, ControlKind::ComboBox, "", 237, 46, 35, 164,
                 kTabStop | kDropDownList | kSorted | kVScroll});
    c.push_back({-1, ControlKind::Static, "Angle                 \u00b0", 283, 47, 67, 8, kNone});
    c.push_back({ids::kAngleBox, ControlKind::Edit, "", 304, 45, 36, 14, kEditStyle});
    c.push_back({ids::kAngleSpin, ControlKind::Spin, "", 330, 45, 10, 14, kSpinStyle});
    AddAngleEntries(c);
    c.push_back({ids::kLoad, ControlKind::PushButton, "Load", 408, 14, 36, 14, kButton});
    c.push_back({ids::kSave, ControlKind::PushButton, "Save", 448, 14, 36, 14, kButton});
    c.push_back({ids::kLinearIncrement, ControlKind::PushButton, "Linear Increment", 354, 45, 64,
                 14, kButton});
    c.push_back({ids::kStatus, ControlKind::Static, "", 149, 258, 338, 8, kNone});
    return d;
}

SDialogDef BuildAboutDialog() {
    SDialogDef d{ids::kAboutDialog, "\u5173\u4e8e Tillerby", 170, 62, {}};
    d.frame = kPopup | kCaption | kSystemMenu | kModalFrame;
    auto& c = d.controls;
    c.push_back(
        {-1, ControlKind::StaticIcon, std::to_string(kIdrMainFrame), 14, 14, 21, 20, kNone});
    c.push_back(
        {-1, ControlKind::Static, "Tillerby\uff0c\u7248\u672c 1.0", 42, 14, 114, 8, kNoPrefix});
    c.push_back({-1, ControlKind::Static,
                 "Kestran \u7a7a\u901f\u8868\u8868\u76d8\u66f4\u65b0\u5de5\u5177", 42, 26, 114, 8,
                 kNone});
    c.push_back({ids::kAboutOk, ControlKind::DefPushButton, "\u786e\u5b9a", 113, 41, 50, 14,
                 kTabStop | kGroupStart});
    return d;
}

}  // namespace

const SDialogDef& MainDialog() {
    static const SDialogDef dialog = BuildMainDialog();
    return dialog;
}

const SDialogDef& AboutDialog() {
    static const SDialogDef dialog = BuildAboutDialog();
    return dialog;
}

int IndexOfControl(int id) {
    const auto& controls = MainDialog().controls;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].id == id)
            return static_cast<int>(i);
    }
    return -1;
}

const SControlDef* FindControl(int id) {
    const int i = IndexOfControl(id);
    return i < 0 ? nullptr : &MainDialog().controls[static_cast<size_t>(i)];
}

std::string LoadString(int id) {
    switch (id) {
        case kIdsAboutBox:
            return "\u5173\u4e8e Kestran(&A)...";
        case kIdsDialWorkshop:
            return "Dial workshop...";
        case kIdsAppName:
            return "Kestran";
        default:
            return {};
    }
}

namespace {

// a * b / c rounded to the nearest, as Windows' MulDiv.
int MulDiv(int a, int b, int c) {
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

}  // namespace

SDialogUnits UnitsOfFont(int lettersWidth, int height) {
    return {(lettersWidth / 26 + 1) / 2, height};
}

SDialogUnits WidenedToFit(SDialogUnits units, const std::vector<std::pair<int, int>>& rooms) {
    const int baseX = units.baseX;
    for (const auto& [width, needed] : rooms) {
        // One pixel more than the proportion asks, for the rounding of every edge.
        if (width > 0 && needed > width)
            units.baseX = std::max(units.baseX, (baseX * (needed + 1) + width - 1) / width);
    }
    return units;
}

int DluToPixelX(int dluX, const SDialogUnits& units) {
    return MulDiv(dluX, units.baseX, 4);
}
int DluToPixelY(int dluY, const SDialogUnits& units) {
    return MulDiv(dluY, units.baseY, 8);
}

SPixelRect TemplateToWindow(int x, int y, int w, int h, const SDialogUnits& units) {
    return {MulDiv(x, units.baseX, kTemplatePixels.baseX),
            MulDiv(y, units.baseY, kTemplatePixels.baseY),
            MulDiv(w, units.baseY, kTemplatePixels.baseY),
            MulDiv(h, units.baseY, kTemplatePixels.baseY)};
}

}  // namespace res
