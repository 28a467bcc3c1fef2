// The workshop's second step: the pivot, the needle's rest and the marks, set by pointing at
// the dial drawn large.
#include <algorithm>
#include <cmath>

#include "angles/NumberText.h"
#include "base/GaugeFacts.h"
#include "res/WorkshopControls.h"
#include "workshop/Workshop.h"

namespace {

// The speed a mark may take.
std::optional<double> Knots(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const size_t last = text.find_last_not_of(" \t");
    const std::string number = text.substr(first, last - first + 1);
    if (number.find_first_not_of("0123456789.") != std::string::npos || number == "." ||
        number.find('.') != number.rfind('.') || number.size() > 9)
        return std::nullopt;
    const double knots = numtext::AtoF(number);
    if (knots > gauge::kKnotsPerEntry * gauge::kMaxEntries)
        return std::nullopt;
    return knots;
}

}  // namespace

void CWorkshop::OnDialPointer(EPointer what, workshop::SPoint at) {
    if (!HasPicture())
        return;
    const workshop::SPoint dial = m_calibrationView.ToDial(at);
    const bool onDial =
        dial.x >= 0 && dial.y >= 0 && dial.x < gauge::kDialSide && dial.y < gauge::kDialSide;
    switch (what) {
        case EPointer::Press: {
            if (!onDial)
                return;
            const double reach = m_calibrationView.Reach();
            if (m_host.GetCheck(wsids::kSetRest) != 0) {
                SetRest(dial);
                return;
            }
            if (workshop::Distance(at, m_calibrationView.ToView(
                                           workshop::PivotOf(m_calibration.geometry))) <= reach) {
                m_dialDrag = EDialDrag::Pivot;
                return;
            }
            for (size_t i = 0; i < m_calibration.marks.size(); ++i) {
                if (workshop::Distance(at, m_calibrationView.ToView(m_calibration.marks[i].at)) <=
                    reach) {
                    m_pending.reset();
                    Select(i);
                    m_dialDrag = EDialDrag::Mark;
                    m_pressedAt = at;
                    m_markMoved = false;
                    return;
                }
            }
            PlaceMark(dial);
            return;
        }
        case EPointer::Move:
            m_pointer = onDial ? std::optional<workshop::SPoint>(dial) : std::nullopt;
            ShowReadout(m_pointer);
            if (m_dialDrag == EDialDrag::Pivot) {
                m_calibration.geometry.pivotX = std::clamp(dial.x, 0.0, double(gauge::kDialSide));
                m_calibration.geometry.pivotY = std::clamp(dial.y, 0.0, double(gauge::kDialSide));
                ShowCalibration();
            } else if (m_dialDrag == EDialDrag::Mark && m_selected) {
                // A click that only chooses the mark leaves it, turned by the keys or not,
                // where it is.
                m_markMoved = m_markMoved || workshop::Distance(at, m_pressedAt) >= kLeastDrag;
                if (!m_markMoved)
                    return;
                const workshop::SWorkshopMark moved = workshop::SnapMark(
                    m_strokes.ticks, workshop::PivotOf(m_calibration.geometry), dial);
                m_calibration.marks[*m_selected].at = moved.at;
                m_calibration.marks[*m_selected].snapped = moved.snapped;
                Changed();
            }
            return;
        case EPointer::Release:
            if (m_dialDrag == EDialDrag::Pivot) {
                // The ticks are found again around the new pivot, and the marks on them kept there.
                PrepareDial(true);
                Changed();
            }
            m_dialDrag = EDialDrag::None;
            return;
        case EPointer::Leave:
            m_pointer.reset();
            ShowReadout(std::nullopt);
            return;
    }
}

bool CWorkshop::OnDialKey(EWorkshopKey key) {
    if (!HasPicture())
        return false;
    switch (key) {
        case EWorkshopKey::Enter:
            // A mark (or the rest) where the pointer is, as a click would place it.
            if (!m_pointer)
                return false;
            if (m_host.GetCheck(wsids::kSetRest) != 0)
                SetRest(*m_pointer);
            else
                PlaceMark(*m_pointer);
            return true;
        case EWorkshopKey::Escape:
            if (!m_pending && m_dialDrag == EDialDrag::None)
                return false;
            m_pending.reset();
            m_dialDrag = EDialDrag::None;
            ShowCalibration();
            ShowTexts();
            return true;
        case EWorkshopKey::Delete:
            if (!m_selected)
                return false;
            RemoveMark();
            return true;
        case EWorkshopKey::Left:
        case EWorkshopKey::Down:
            if (!m_selected)
                return false;
            TurnMark(-0.1);
            return true;
        case EWorkshopKey::Right:
        case EWorkshopKey::Up:
            if (!m_selected)
                return false;
            TurnMark(0.1);
            return true;
    }
    return false;
}

void CWorkshop::SetRest(workshop::SPoint dialPoint) {
    const workshop::SPoint pivot = workshop::PivotOf(m_calibration.geometry);
    m_calibration.geometry.zeroDegrees = workshop::SnapRest(m_strokes, pivot, dialPoint);
    m_calibration.restSet = true;
    m_host.SetCheck(wsids::kSetRest, 0);
    Changed();
}

void CWorkshop::PlaceMark(workshop::SPoint dialPoint) {
    m_pending =
        workshop::SnapMark(m_strokes.ticks, workshop::PivotOf(m_calibration.geometry), dialPoint);
    Select(std::nullopt);
    m_host.SetText(wsids::kSpeed, "");
    ShowCalibration();
    ShowTexts();
    m_host.SetFocus(wsids::kSpeed);
}

void CWorkshop::AddMark() {
    if (!HasPicture())
        return;
    const std::string text = m_host.GetText(wsids::kSpeed);
    const std::optional<double> knots = Knots(text);
    if (!knots) {
        m_host.MessageBox(SMessage(
            "The speed of a mark is a number of knots from 0 to 500, not \"" + text + "\"."));
        m_host.SetFocus(wsids::kSpeed);
        return;
    }
    workshop::SWorkshopMark mark;
    if (m_pending) {
        mark = *m_pending;
    } else if (m_selected) {
        // A new speed for the chosen mark.
        mark = m_calibration.marks[*m_selected];
        m_calibration.marks.erase(m_calibration.marks.begin() + static_cast<long>(*m_selected));
    } else {
        m_notice = "Click the mark on the large dial first, then type its speed.";
        ShowTexts();
        return;
    }
    mark.knots = *knots;
    m_pending.reset();
    m_selected = workshop::PutMark(m_calibration.marks, mark);
    m_host.SetText(wsids::kSpeed, "");
    Changed();
    m_host.SetFocus(wsids::kCalibrationView);
}

void CWorkshop::RemoveMark() {
    if (!m_selected || *m_selected >= m_calibration.marks.size())
        return;
    m_calibration.marks.erase(m_calibration.marks.begin() + static_cast<long>(*m_selected));
    m_selected.reset();
    Changed();
}

void CWorkshop::TurnMark(double degrees) {
    workshop::SWorkshopMark& mark = m_calibration.marks[*m_selected];
    mark.at = workshop::TurnedBy(m_calibration.geometry, mark.at, degrees);
    mark.snapped = false;
    Changed();
}

void CWorkshop::Select(std::optional<size_t> mark) {
    m_selected = mark && *mark < m_calibration.marks.size() ? mark : std::nullopt;
    m_host.SetSelection(wsids::kMarks, m_selected ? static_cast<int>(*m_selected) : -1);
    if (m_selected)
        m_host.SetText(wsids::kSpeed, numtext::FormatG(m_calibration.marks[*m_selected].knots));
    ShowCalibration();
    UpdateControls();
}

void CWorkshop::ShowReadout(std::optional<workshop::SPoint> dialPoint) {
    if (!dialPoint) {
        m_host.SetText(wsids::kReadout, "");
        return;
    }
    const workshop::SPoint pivot = workshop::PivotOf(m_calibration.geometry);
    std::string text;
    if (m_calibration.restSet) {
        text = "Under the pointer: " +
               numtext::FormatFixed(workshop::TableDegrees(m_calibration.geometry, *dialPoint), 1) +
               "\xC2\xB0 from the rest";
    } else {
        text = "Under the pointer: " +
               numtext::FormatFixed(workshop::ClockDegrees(pivot, *dialPoint), 1) +
               "\xC2\xB0 clockwise from straight up";
    }
    if (const auto tick =
            workshop::NearestTick(m_strokes.ticks, workshop::ClockDegrees(pivot, *dialPoint))) {
        const double degrees =
            m_calibration.restSet
                ? workshop::TableDegrees(m_calibration.geometry,
                                         workshop::PointAt(pivot, tick->clockDegrees, 50))
                : tick->clockDegrees;
        text += ", a click takes the tick at " + numtext::FormatFixed(degrees, 1) + "\xC2\xB0";
    }
    m_host.SetText(wsids::kReadout, text);
}
