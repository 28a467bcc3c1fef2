#pragma once

#include <string>
#include <vector>

// The dial workshop's window: its controls, in tab order, as plain data that each host
// builds its window from, and the ids by which the workshop addresses them.
namespace wsids {

constexpr int kOpenPicture = 2001;
constexpr int kPictureView = 2002;  // the picture, with the disc over it
constexpr int kCircleMask = 2003;
constexpr int kBackgroundLabel = 2004;
constexpr int kBackground = 2005;
constexpr int kMergeLabel = 2006;
constexpr int kMerge = 2007;
constexpr int kDialLabel = 2008;
constexpr int kDialView = 2009;  // the 230 x 230 dial as it will be sent
constexpr int kCost = 2010;
constexpr int kCalibrationView = 2011;  // the dial drawn large with the needles
constexpr int kReadout = 2012;
constexpr int kInstructions = 2013;
constexpr int kSetRest = 2014;
constexpr int kCounterClockwise = 2015;
constexpr int kSpeedLabel = 2016;
constexpr int kSpeed = 2017;
constexpr int kAddMark = 2018;
constexpr int kMarksLabel = 2019;
constexpr int kMarks = 2020;
constexpr int kRemoveMark = 2021;
constexpr int kMaxSpeedLabel = 2022;
constexpr int kMaxSpeed = 2023;
constexpr int kTableStatus = 2024;
constexpr int kSave = 2025;
constexpr int kUseInKestran = 2026;

}  // namespace wsids

namespace res {

enum class EWorkshopKind {
    PushButton,
    DefaultButton,  // Enter in the window presses it
    CheckBox,
    DropDownList,
    Edit,
    Label,      // one line
    Paragraph,  // wraps, `lines` high
    List,       // a list box, one selection
    View,       // pixels drawn by the workshop; takes the pointer and, with `tabStop`, the keys
};

// Which of the window's three columns holds a control, left to right.
enum class EWorkshopColumn { Picture, Dial, Calibration };

struct SWorkshopControl {
    int id;
    EWorkshopKind kind;
    std::string caption;  // UTF-8
    EWorkshopColumn column;
    bool sameRow = false;  // beside the control before it, which is its label
    bool grows = false;    // takes a share of the column's spare height
    int lines = 1;         // a paragraph's height in lines
    bool tabStop = true;
};

// The controls in tab order, which is also their order down each column.
const std::vector<SWorkshopControl>& WorkshopControls();
const SWorkshopControl* FindWorkshopControl(int id);

// The window's caption.
std::string WorkshopCaption();

}  // namespace res
