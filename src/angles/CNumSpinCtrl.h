#pragma once

#include <string>

class IDialogHost;

// A spin button that steps a floating-point value held as text in its buddy edit box.
// The buddy's text is the value; the native integer position only follows it roughly.
class CNumSpinCtrl {
public:
    CNumSpinCtrl();

    // Bind to the spin button `spinId` whose buddy is the edit box `buddyId` (0: none), and
    // apply the current range to the native control. `wrap` is the button's wrap style.
    void Attach(IDialogHost* host, int spinId, int buddyId, bool wrap = false);

    void SetDecimals(int places);  // -1: the general format "%g"
    void SetTrimZeros(bool trim);
    void SetValueRange(double min, double max, double step);
    void SetValue(double value);   // text and native position
    void ShowValue(double value);  // text only
    std::string ValueToText(double value) const;

    // The button was clicked (iDelta +1 up, -1 down, or more when repeated). Steps the
    // buddy's text. Sets *result to 0 (let the native control move) and answers whether
    // the notification is consumed (false: the dialog sees it too).
    bool OnDeltaPosReflect(int iDelta, long* result);

    double MinValue() const { return m_minValue; }
    int StepCount() const { return m_stepCount; }

private:
    int NativePosition(double value) const;

    double m_minValue = 0.0;
    double m_maxValue = 100.0;
    double m_step = 1.0;
    int m_stepCount = 100;
    int m_decimals = -1;
    bool m_trimZeros = true;
    char m_decimalPoint = '.';

    IDialogHost* m_host = nullptr;
    int m_spinId = 0;
    int m_buddyId = 0;
    bool m_wrap = false;
};
