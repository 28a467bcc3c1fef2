// The main dialog's template against the control table written out by hand, so that every
// host that builds its window from the template is held to these values and not to the
// template itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/DialogTemplate.h"

namespace {

using res::ControlKind;

struct SRow {
    int id;
    ControlKind kind;
    std::string caption;
    int x, y, w, h;
};

// The controls outside the angle table, by their place in the template (1-based).
const std::vector<std::pair<int, SRow>> kFixedRows = {
    {1, {1000, ControlKind::ComboBox, "", 79, 15, 137, 30}},
    {2, {1001, ControlKind::PushButton, "Refresh", 221, 14, 50, 14}},
    {3, {1002, ControlKind::PushButton, "Connect", 276, 14, 50, 14}},
    {4, {-1, ControlKind::Static, "Select COM port", 19, 17, 54, 8}},
    {5, {1004, ControlKind::PushButton, "Select IAS Dial", 43, 36, 58, 14}},
    {6, {1017, ControlKind::PushButton, "Update", 435, 269, 50, 14}},
    {7, {1018, ControlKind::PushButton, "Select TAS Dial", 43, 162, 58, 14}},
    {8, {1019, ControlKind::AutoCheckBox, "", 32, 38, 8, 10}},
    {9, {1020, ControlKind::AutoCheckBox, "", 32, 164, 8, 10}},
    {10, {1021, ControlKind::Progress, "", 148, 269, 267, 14}},
    {11, {1022, ControlKind::AutoCheckBox, "Max Speed(knot) ", 163, 47, 73, 10}},
    {12, {-1, ControlKind::GroupBox, "Speed && Angle", 148, 36, 336, 215}},
    {13, {1023, ControlKind::ComboBox, "", 237, 46, 35, 164}},
    {14, {-1, ControlKind::Static, "Angle                 \u00b0", 283, 47, 67, 8}},
    {15, {1003, ControlKind::Edit, "", 304, 45, 36, 14}},
    {16, {1025, ControlKind::Spin, "", 330, 45, 10, 14}},
    {217, {1054, ControlKind::PushButton, "Load", 408, 14, 36, 14}},
    {218, {1055, ControlKind::PushButton, "Save", 448, 14, 36, 14}},
    {219, {1057, ControlKind::PushButton, "Linear Increment", 354, 45, 64, 14}},
    {220, {1058, ControlKind::Static, "", 149, 258, 338, 8}},
};

// The angle entries, 10 knots first.
const int kBoxIds[50] = {1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1013, 1014,
                         1015, 1016, 1024, 1041, 1043, 1045, 1047, 1049, 1051, 1053,
                         1075, 1077, 1079, 1081, 1083, 1085, 1087, 1089, 1091, 1093,
                         1095, 1097, 1099, 1101, 1103, 1105, 1107, 1109, 1111, 1113,
                         1115, 1117, 1119, 1121, 1123, 1125, 1127, 1129, 1131, 1133};
const int kSpinIds[50] = {1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036,
                          1037, 1038, 1039, 1040, 1042, 1044, 1046, 1048, 1050, 1052,
                          1074, 1076, 1078, 1080, 1082, 1084, 1086, 1088, 1090, 1092,
                          1094, 1096, 1098, 1100, 1102, 1104, 1106, 1108, 1110, 1112,
                          1114, 1116, 1118, 1120, 1122, 1124, 1126, 1128, 1130, 1132};
const int kKnotsX[5] = {157, 219, 286, 353, 418};
const int kBoxX[5] = {169, 235, 302, 369, 434};
const int kSpinX[5] = {190, 256, 323, 390, 455};
const int kUnitX[5] = {202, 268, 335, 402, 467};
const int kRowY[10] = {63, 82, 101, 118, 137, 156, 175, 194, 212, 231};

std::vector<SRow> ExpectedControls() {
    std::vector<SRow> rows(220);
    for (const auto& [place, row] : kFixedRows)
        rows[static_cast<size_t>(place - 1)] = row;
    for (int k = 1; k <= 50; ++k) {
        const int column = (k - 1) / 10;
        const int y = kRowY[(k - 1) % 10];
        const int knots = 10 * k;
        const size_t first = 16 + 4 * static_cast<size_t>(k - 1);
        rows[first] = {-1,        ControlKind::Static, std::to_string(knots),
                       knots == 100 ? 153 : kKnotsX[column],
                       y + 2,     knots < 100 ? 9 : 13,
                       8};
        rows[first + 1] = {-1, ControlKind::Static, " \u00b0", kUnitX[column], y + 2, 12, 8};
        rows[first + 2] = {kBoxIds[k - 1], ControlKind::Edit, "", kBoxX[column], y, 34, 14};
        rows[first + 3] = {kSpinIds[k - 1], ControlKind::Spin, "", kSpinX[column], y, 11, 14};
    }
    return rows;
}

}  // namespace

TEST(DialogTemplateTest, MainDialogHoldsTheControlTableInTemplateOrder) {
    const res::SDialogDef& dialog = res::MainDialog();
    EXPECT_EQ(dialog.caption, "Kestran V0.1");
    EXPECT_EQ(dialog.w, 494);
    EXPECT_EQ(dialog.h, 292);
    const std::vector<SRow> expected = ExpectedControls();
    ASSERT_EQ(dialog.controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const res::SControlDef& got = dialog.controls[i];
        const SRow& want = expected[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.kind, want.kind);
        EXPECT_EQ(got.caption, want.caption);
        EXPECT_EQ((std::vector<int>{got.x, got.y, got.w, got.h}),
                  (std::vector<int>{want.x, want.y, want.w, want.h}));
    }
}

// Windows' dialog units: a quarter of the font's average letter width across, an eighth of
// its height down, rounded to the nearest pixel; widened where a text needs more room.
TEST(DialogTemplateTest, DialogUnitsFollowTheFontAndWidenForTextsThatNeedIt) {
    // MS Shell Dlg 8 at 96 DPI: 52 letters 291 px wide, 13 px high.
    const res::SDialogUnits shellDlg = res::UnitsOfFont(291, 13);
    EXPECT_EQ(shellDlg.baseX, 6);
    EXPECT_EQ(shellDlg.baseY, 13);
    EXPECT_EQ(res::DluToPixelX(494, shellDlg), 741);
    EXPECT_EQ(res::DluToPixelY(292, shellDlg), 475);
    // The template's own pixels: 2 across, 2.25 down.
    EXPECT_EQ(res::DluToPixelX(494), 988);
    EXPECT_EQ(res::DluToPixelY(292), 657);
    EXPECT_EQ(res::DluToPixelY(1), 2);
    // A preview keeps its place relative to the controls and scales with the units down.
    const res::SPixelRect at13 = res::TemplateToWindow(30, 408, 230, 230, shellDlg);
    EXPECT_EQ((std::vector<int>{at13.x, at13.y, at13.w, at13.h}),
              (std::vector<int>{23, 295, 166, 166}));
    // A control 95 px wide whose text needs 97 grows by that proportion and a pixel; one
    // that fits, or has no width, changes nothing.
    EXPECT_EQ(res::WidenedToFit({8, 18}, {{95, 97}}).baseX, 9);
    EXPECT_EQ(res::WidenedToFit({8, 18}, {{95, 95}, {0, 20}}).baseX, 8);
    EXPECT_EQ(res::WidenedToFit({8, 18}, {{100, 130}, {95, 97}}).baseY, 18);
    EXPECT_EQ(res::WidenedToFit({8, 18}, {{100, 130}, {95, 97}}).baseX, 11);
}
