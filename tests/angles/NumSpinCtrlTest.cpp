#include <gtest/gtest.h>

#include <string>

#include "angles/CNumSpinCtrl.h"
#include "dialog/HeadlessHost.h"
#include "res/ControlIds.h"

namespace {

// A spin control on the Angle box of a bare host, set up as the main dialog sets up its 51.
class NumSpinCtrlTest : public ::testing::Test {
protected:
    void SetUp() override { Setup(false); }

    void Setup(bool wrap) {
        spin = CNumSpinCtrl();
        spin.Attach(&host, ids::kAngleSpin, ids::kAngleBox, wrap);
        spin.SetDecimals(1);
        spin.SetTrimZeros(false);
        spin.SetValueRange(0.0, 360.0, 0.1);
    }

    // The buddy holds `typed`; one click by `delta`; what the buddy shows then.
    std::string Step(const std::string& typed, int delta) {
        host.SetWindowText(ids::kAngleBox, typed);
        long result = -1;
        EXPECT_FALSE(spin.OnDeltaPosReflect(delta, &result));  // the dialog sees it too
        EXPECT_EQ(result, 0);
        return host.GetWindowText(ids::kAngleBox);
    }
    int NativePos() const { return host.Control(ids::kAngleSpin).spinPos; }

    CHeadlessHost host;
    CNumSpinCtrl spin;
};

TEST_F(NumSpinCtrlTest, RangeSizesAndPositionsTheNativeControl) {
    EXPECT_EQ(spin.StepCount(), 3600);
    EXPECT_EQ(host.Control(ids::kAngleSpin).spinUpper, 3600);
    spin.SetValue(7.5);
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "7.5");
    EXPECT_EQ(NativePos(), 75);
    spin.SetValue(-3.0);
    EXPECT_EQ(NativePos(), 0);
    spin.SetValue(999.0);
    EXPECT_EQ(NativePos(), 3600);
    spin.ShowValue(100.0);  // text only
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "100.0");
    EXPECT_EQ(NativePos(), 3600);

    host.SetWindowText(ids::kAngleBox, "18.04");
    spin.SetValueRange(0.0, 360.0, 0.1);  // positions from the text, leaves the text
    EXPECT_EQ(NativePos(), 180);
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "18.04");
    host.SetWindowText(ids::kAngleBox, "18.06");  // rounds to 181; truncating would give 180
    spin.SetValueRange(0.0, 360.0, 0.1);
    EXPECT_EQ(NativePos(), 181);

    spin.SetValueRange(0.0, 1e6, 1.0);  // too many steps: squeezed
    EXPECT_EQ(host.Control(ids::kAngleSpin).spinUpper, 32767);
    spin.SetValueRange(5.0, 10.0, 0.0);  // no step: the native control is left alone
    EXPECT_EQ(host.Control(ids::kAngleSpin).spinUpper, 32767);
    EXPECT_EQ(spin.MinValue(), 5.0);
}

TEST_F(NumSpinCtrlTest, StepsFromTheTypedTextAndClampsInTheDirectionOfTravel) {
    EXPECT_EQ(Step("", 1), "0.1");
    EXPECT_EQ(Step("", -1), "0.0");
    EXPECT_EQ(Step("0.0", -1), "0.0");
    EXPECT_EQ(Step("360.0", 1), "360.0");
    EXPECT_EQ(Step("359.95", 1), "360.0");
    EXPECT_EQ(Step("359.9", 1), "360.0");
    EXPECT_EQ(Step("400", -1), "399.9");  // only the bound ahead is checked
    EXPECT_EQ(Step("-5", 1), "-4.9");
    EXPECT_EQ(Step("12abc", 1), "12.1");
    EXPECT_EQ(Step("7.5", 10), "8.5");
    EXPECT_EQ(Step("7.5", -100), "0.0");
    // Within the tolerance of a bound the value is kept, not snapped.
    EXPECT_EQ(Step("0.0999999999995", -1), "-5.0e-13");
    EXPECT_EQ(Step("0.0999999", -1), "0.0");
}

TEST_F(NumSpinCtrlTest, WrapsToTheOtherBound) {
    Setup(true);
    EXPECT_EQ(Step("360.0", 1), "0.0");
    EXPECT_EQ(Step("0.0", -1), "360.0");
    EXPECT_EQ(Step("359.95", 1), "0.0");  // to the bound itself, not by the overshoot
    EXPECT_EQ(Step("180.0", 1), "180.1");
}

TEST_F(NumSpinCtrlTest, AttachingAppliesTheDefaultsAndWorksWithoutBuddy) {
    host.SetWindowText(ids::kAngleBox, "42");
    CNumSpinCtrl control;
    control.Attach(&host, ids::kAngleSpin, ids::kAngleBox);
    EXPECT_EQ(host.Control(ids::kAngleSpin).spinUpper, 100);
    EXPECT_EQ(NativePos(), 42);
    EXPECT_EQ(control.ValueToText(0.5), "0.5");  // general format by default

    CNumSpinCtrl lonely;
    lonely.Attach(&host, ids::kAngleSpin, 0);
    long result = -1;
    EXPECT_FALSE(lonely.OnDeltaPosReflect(1, &result));
    EXPECT_EQ(result, 0);
    lonely.SetValue(50.0);
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "42");
    EXPECT_EQ(NativePos(), 50);
}

TEST(NumSpinCtrlTextTest, ValueToTextChoosesTheFormLikeG) {
    CNumSpinCtrl trimmed;
    trimmed.SetDecimals(2);
    EXPECT_EQ(trimmed.ValueToText(1.5), "1.5");
    EXPECT_EQ(trimmed.ValueToText(2.0), "2");
    EXPECT_EQ(trimmed.ValueToText(100.0), "100");
    EXPECT_EQ(trimmed.ValueToText(0.00000015), "1.5e-07");
    EXPECT_EQ(trimmed.ValueToText(2e6), "2e+06");
    trimmed.SetDecimals(0);
    EXPECT_EQ(trimmed.ValueToText(100.0), "100");  // no point, nothing trimmed

    CNumSpinCtrl plain;
    plain.SetDecimals(1);
    plain.SetTrimZeros(false);
    EXPECT_EQ(plain.ValueToText(15.0), "15.0");
    EXPECT_EQ(plain.ValueToText(0.0), "0.0");
    EXPECT_EQ(plain.ValueToText(360.0), "360.0");
    EXPECT_EQ(plain.ValueToText(0.00001), "1.0e-05");
    EXPECT_EQ(plain.ValueToText(0.0001), "0.0");  // %g keeps 0.0001 in fixed form
    EXPECT_EQ(plain.ValueToText(999999.0), "999999.0");
    EXPECT_EQ(plain.ValueToText(1000000.0), "1.0e+06");
}

}  // namespace
