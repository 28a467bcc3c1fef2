#pragma once

#include <string>
#include <utility>
#include <vector>

// The dialog resources: templates 100 and 102 and the string table, as plain data that
// every dialog host builds its window from.
namespace res {

enum class ControlKind {
    ComboBox,
    PushButton,
    DefPushButton,
    AutoCheckBox,
    Static,
    StaticIcon,
    GroupBox,
    Edit,
    Spin,
    Progress,
};

// Style bits that matter to a host; they name what the resource script says.
enum Style : unsigned {
    kNone = 0,
    kTabStop = 1u << 0,
    kDropDownList = 1u << 1,
    kSorted = 1u << 2,
    kVScroll = 1u << 3,
    kBorder = 1u << 4,
    kAutoHScroll = 1u << 5,
    kAlignRight = 1u << 6,  // spin: sits at the right edge of its buddy
    kAutoBuddy = 1u << 7,   // spin: takes the previous control as buddy
    kArrowKeys = 1u << 8,   // spin: reacts to the arrow keys
    kNoPrefix = 1u << 9,    // static: '&' is shown as it is
    kGroupStart = 1u << 10,
    kWrap = 1u << 11,  // spin: wraps at the ends of its range
};

struct SControlDef {
    int id;  // -1 for controls without an id of their own
    ControlKind kind;
    std::string caption;  // UTF-8
    int x, y, w, h;       // dialog units
    unsigned style;
};

// The dialog's own window, as the resource script's STYLE and EXSTYLE name it.
enum Frame : unsigned {
    kPopup = 1u << 0,
    kVisible = 1u << 1,
    kCaption = 1u << 2,
    kSystemMenu = 1u << 3,
    kResizableFrame = 1u << 4,
    kModalFrame = 1u << 5,
    kAppWindow = 1u << 6,  // a taskbar button of its own
};

// The font whose size makes the dialog units: 4 units across are its average character
// width, 8 down its height.
struct SDialogFont {
    std::string face;
    int points;
};

struct SDialogDef {
    int id;
    std::string caption;                // UTF-8
    int w, h;                           // dialog units
    std::vector<SControlDef> controls;  // template order = tab order
    unsigned frame = 0;                 // Frame bits
    SDialogFont font{"MS Shell Dlg", 9};
};

// Template 102, the main dialog: 220 controls.
const SDialogDef& MainDialog();
// Template 100, the About box.
const SDialogDef& AboutDialog();

// Index into MainDialog().controls of the control with this id, or -1.
int IndexOfControl(int id);
const SControlDef* FindControl(int id);

// Icon resource 128: the application icon, shown by the windows and the About box.
constexpr int kIdrMainFrame = 128;

// String table.
constexpr int kIdsAboutBox = 101;
constexpr int kIdsDialWorkshop = 103;
constexpr int kIdsAppName = 57344;
std::string LoadString(int id);  // empty for an unknown id

// Name of the application: the caption of every message box.
inline std::string AppName() {
    return LoadString(kIdsAppName);
}

// How large a dialog unit is in a window's pixels. Windows defines it by the dialog's font:
// a quarter of the font's average character width across, an eighth of its height down.
struct SDialogUnits {
    int baseX = 8;  // the average character width
    int baseY = 18;  // the font's height
};
// The template's own pixels, 2 across and 2.25 down to the unit: where the dialog places
// its previews, and the headless host's whole client area.
constexpr SDialogUnits kTemplatePixels{8, 18};

// The units of a font whose 52 letters A-Z and a-z are `lettersWidth` pixels wide and whose
// lines are `height` pixels high, rounded as Windows rounds them.
SDialogUnits UnitsOfFont(int lettersWidth, int height);

// The units widened across so that every text fits its control: the template was drawn for
// Windows' dialog fonts, and a font whose letters are narrow for its digits and capitals
// needs a little more room than its average width gives. Each pair is a control's width in
// pixels of `units` and the pixels its text needs.
SDialogUnits WidenedToFit(SDialogUnits units, const std::vector<std::pair<int, int>>& rooms);

// Dialog units to a window's pixels, rounded to the nearest.
int DluToPixelX(int dluX, const SDialogUnits& units = kTemplatePixels);
int DluToPixelY(int dluY, const SDialogUnits& units = kTemplatePixels);

// Where a picture that the dialog places at (x, y) of the template's pixels, `w` x `h` of
// them, lands in a window of other units: placed through the units, and scaled with the
// units down alone, which decide whether the two dials fit between the controls.
struct SPixelRect {
    int x, y, w, h;
};
SPixelRect TemplateToWindow(int x, int y, int w, int h, const SDialogUnits& units);

}  // namespace res
