#include "angles/CNumSpinCtrl.h"

#include <cmath>
#include <string>

#include "angles/NumberText.h"
#include "host/DialogHost.h"

CNumSpinCtrl::CNumSpinCtrl() = default;

void CNumSpinCtrl::Attach(IDialogHost* host, int spinId, int buddyId, bool wrap) {
    m_host = host;
    m_spinId = spinId;
    m_buddyId = buddyId;
    m_wrap = wrap;
    SetValueRange(m_minValue, m_maxValue, m_step);
}

void CNumSpinCtrl::SetDecimals(int places) {
    m_decimals = places;
}

void CNumSpinCtrl::SetTrimZeros(bool trim) {
    m_trimZeros = trim;
}

int CNumSpinCtrl::NativePosition(double value) const {
    if (value < m_minValue)
        return 0;
    if (value > m_maxValue)
        return m_stepCount;
    // Halved first, so that a range across most of the doubles does not overflow to
    // infinity; the quotient is the same.
    const double fraction = (value / 2 - m_minValue / 2) / (m_maxValue / 2 - m_minValue / 2);
    const double position = fraction * m_stepCount + 0.5;
    // An infinite bound leaves no proportion (the quotient is not a number): position 0.
    if (!(position >= 0.0))
        return 0;
    return position >= m_stepCount ? m_stepCount : static_cast<int>(position);
}

void CNumSpinCtrl::SetValueRange(double min, double max, double step) {
    m_minValue = min;
    m_maxValue = max;
    m_step = step;
    if (step == 0.0)
        return;
    const double count = std::fabs((max - min) / step);
    // Written so that a quotient that is not a number (an infinite range) is squeezed too.
    m_stepCount = count <= 32767.0 ? static_cast<int>(count) : 32767;
    if (m_host == nullptr)
        return;
    m_host->SetSpinRange(m_spinId, 0, m_stepCount);
    const double value = m_buddyId != 0 ? numtext::AtoF(m_host->GetWindowText(m_buddyId)) : 0.0;
    if (max != min)
        m_host->SetSpinPos(m_spinId, NativePosition(value));
}

void CNumSpinCtrl::SetValue(double value) {
    ShowValue(value);
    if (m_maxValue != m_minValue && m_host != nullptr) {
        m_host->SetSpinPos(m_spinId, NativePosition(value));
    }
}

void CNumSpinCtrl::ShowValue(double value) {
    if (m_host == nullptr || m_buddyId == 0)
        return;
    m_host->SetWindowText(m_buddyId, ValueToText(value));
}

std::string CNumSpinCtrl::ValueToText(double value) const {
    if (m_decimals == -1)
        return numtext::FormatG(value);
    const bool exponential = numtext::FormatG(value).find('e') != std::string::npos;
    std::string text = exponential ? numtext::FormatExp(value, m_decimals)
                                   : numtext::FormatFixed(value, m_decimals);
    if (!m_trimZeros || text.find(m_decimalPoint) == std::string::npos)
        return text;

    const size_t ePos = exponential ? text.find('e') : std::string::npos;
    std::string mantissa = text.substr(0, ePos);
    const std::string exponent = ePos == std::string::npos ? std::string() : text.substr(ePos);
    while (!mantissa.empty() && mantissa.back() == '0')
        mantissa.pop_back();
    if (!mantissa.empty() && mantissa.back() == m_decimalPoint)
        mantissa.pop_back();
    return mantissa + exponent;
}

bool CNumSpinCtrl::OnDeltaPosReflect(int iDelta, long* result) {
    const double value = (m_host != nullptr && m_buddyId != 0)
                             ? numtext::AtoF(m_host->GetWindowText(m_buddyId))
                             : 0.0;
    double next = static_cast<double>(iDelta) * m_step + value;
    if (iDelta < 0) {
        const double tolerance = std::fmax(1e-9, std::fabs(std::fmax(next, m_minValue)) * 1e-9);
        if (m_minValue - next > tolerance)
            next = m_wrap ? m_maxValue : m_minValue;
    } else {
        const double tolerance = std::fmax(1e-9, std::fabs(std::fmax(next, m_maxValue)) * 1e-9);
        if (next - m_maxValue > tolerance)
            next = m_wrap ? m_minValue : m_maxValue;
    }
    ShowValue(next);
    if (result != nullptr)
        *result = 0;
    return false;
}
