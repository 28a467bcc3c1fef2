#include "res/WorkshopControls.h"

namespace res {
namespace {

std::vector<SWorkshopControl> BuildControls() {
    using K = EWorkshopKind;
    using C = EWorkshopColumn;
    return {
        {wsids::kOpenPicture, K::PushButton, "Open picture...", C::Picture},
        {wsids::kPictureView, K::View, "Picture", C::Picture, false, true},
        {wsids::kCircleMask, K::CheckBox, "Circle mask", C::Picture},
        {wsids::kBackgroundLabel, K::Label, "Background", C::Picture, false, false, 1, false},
        {wsids::kBackground, K::DropDownList, "", C::Picture, true},
        {wsids::kMergeLabel, K::Label, "Merge near colours", C::Picture, false, false, 1, false},
        {wsids::kMerge, K::DropDownList, "", C::Picture, true},
        {wsids::kDialLabel, K::Label, "The dial as it will be sent", C::Picture, false, false, 1,
         false},
        {wsids::kDialView, K::View, "Dial", C::Picture, false, false, 1, false},
        {wsids::kCost, K::Paragraph, "", C::Picture, false, false, 3, false},
        {wsids::kCalibrationView, K::View, "Calibration", C::Dial, false, true},
        {wsids::kReadout, K::Label, "", C::Dial, false, false, 1, false},
        {wsids::kInstructions, K::Paragraph, "", C::Calibration, false, false, 4, false},
        {wsids::kSetRest, K::CheckBox, "Next click sets the needle's rest (0 knots)",
         C::Calibration},
        {wsids::kCounterClockwise, K::CheckBox, "Speeds rise counter-clockwise", C::Calibration},
        {wsids::kSpeedLabel, K::Label, "Speed of the mark (knots)", C::Calibration, false, false, 1,
         false},
        {wsids::kSpeed, K::Edit, "", C::Calibration, true},
        {wsids::kAddMark, K::DefaultButton, "Add mark", C::Calibration, true},
        {wsids::kMarksLabel, K::Label, "Marks (speed, angle)", C::Calibration, false, false, 1,
         false},
        {wsids::kMarks, K::List, "", C::Calibration, false, true},
        {wsids::kRemoveMark, K::PushButton, "Remove mark", C::Calibration},
        {wsids::kMaxSpeedLabel, K::Label, "Max speed (knots)", C::Calibration, false, false, 1,
         false},
        {wsids::kMaxSpeed, K::DropDownList, "", C::Calibration, true},
        {wsids::kTableStatus, K::Paragraph, "", C::Calibration, false, false, 4, false},
        {wsids::kSave, K::PushButton, "Save dial and table...", C::Calibration},
        {wsids::kUseInKestran, K::PushButton, "Use in Kestran", C::Calibration},
    };
}

}  // namespace

const std::vector<SWorkshopControl>& WorkshopControls() {
    static const std::vector<SWorkshopControl> controls = BuildControls();
    return controls;
}

const SWorkshopControl* FindWorkshopControl(int id) {
    for (const SWorkshopControl& c : WorkshopControls()) {
        if (c.id == id)
            return &c;
    }
    return nullptr;
}

std::string WorkshopCaption() {
    return "Kestran Dial Workshop";
}

}  // namespace res
