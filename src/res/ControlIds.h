#pragma once

#include "base/GaugeFacts.h"

// Control ids of the main dialog (template 102). Hosts and handlers address every
// control by these ids, exactly as the dialog resource numbers them.
namespace ids {

constexpr int kMainDialog = 102;
constexpr int kAboutDialog = 100;

constexpr int kPortList = 1000;
constexpr int kRefresh = 1001;
constexpr int kConnect = 1002;
constexpr int kAngleBox = 1003;
constexpr int kSelectIasDial = 1004;
constexpr int kUpdate = 1017;
constexpr int kSelectTasDial = 1018;
constexpr int kIasCheck = 1019;
constexpr int kTasCheck = 1020;
constexpr int kProgress = 1021;
constexpr int kMaxSpeedCheck = 1022;
constexpr int kMaxSpeedList = 1023;
constexpr int kAngleSpin = 1025;
constexpr int kLoad = 1054;
constexpr int kSave = 1055;
constexpr int kLinearIncrement = 1057;
constexpr int kStatus = 1058;

constexpr int kAboutOk = 1;  // IDOK of the About box
constexpr int kAboutCommand = 0x0010;
constexpr int kWorkshopCommand = 0x0020;  // the system menu's "Dial workshop..."

constexpr int kEntryCount = gauge::kMaxEntries;  // one angle entry per 10 knots

// Id of the edit box of angle entry k (k = 1 for 10 knots ... 50 for 500 knots).
// The resource ids do not run in knot order, hence the piecewise formula.
constexpr int EntryBoxId(int k) {
    if (k <= 12)
        return 1004 + k;
    if (k == 13)
        return 1024;
    if (k == 14)
        return 1041;
    if (k <= 20)
        return 1013 + 2 * k;
    return 1033 + 2 * k;
}

// Id of the spin button of angle entry k.
constexpr int EntrySpinId(int k) {
    if (k <= 12)
        return 1026 + k;
    if (k == 13)
        return 1039;
    if (k == 14)
        return 1040;
    if (k <= 20)
        return 1012 + 2 * k;
    return 1032 + 2 * k;
}

// Entry number (1..50) whose edit box has this id, or 0.
int EntryOfBoxId(int id);
// Entry number (1..50) whose spin button has this id, or 0.
int EntryOfSpinId(int id);

}  // namespace ids
