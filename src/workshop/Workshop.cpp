// The workshop's window as a whole: its lists, the routing of the controls' notifications,
// and what each control shows of the state.
#include "workshop/Workshop.h"

#include <cmath>

#include "angles/NumberText.h"
#include "base/GaugeFacts.h"
#include "res/WorkshopControls.h"
#include "workshop/ViewPixels.h"
#include "workshop/WorkshopCost.h"

namespace {

std::vector<std::string> MaxSpeedItems() {
    std::vector<std::string> items;
    for (int e = gauge::kMinEntries; e <= gauge::kMaxEntries; ++e)
        items.push_back(std::to_string(e * gauge::kKnotsPerEntry));
    return items;
}

std::string Degrees(double degrees) {
    return numtext::FormatFixed(degrees, 1) + "\xC2\xB0";
}

}  // namespace

CWorkshop::CWorkshop(IWorkshopHost& host, HandOver handOver)
    : m_host(host), m_handOver(std::move(handOver)) {}

void CWorkshop::OnInit(const std::optional<std::string>& picture) {
    m_host.SetCaption(res::WorkshopCaption());
    m_host.SetItems(wsids::kBackground, {"Transparent", "Black", "White"});
    m_host.SetSelection(wsids::kBackground, 0);
    m_host.SetItems(wsids::kMerge, {"Off", "2 levels", "4 levels", "8 levels", "16 levels"});
    m_host.SetSelection(wsids::kMerge, 0);
    m_host.SetItems(wsids::kMaxSpeed, MaxSpeedItems());
    m_host.SetCheck(wsids::kSetRest, 1);
    m_host.Show(wsids::kUseInKestran, static_cast<bool>(m_handOver));
    m_table = workshop::TableThroughMarks(m_calibration);
    if (picture)
        OpenPicture(*picture);
    ShowMarks();
    ShowTexts();
    UpdateControls();
}

bool CWorkshop::Unsaved() const {
    return m_dirty && (m_calibration.restSet || !m_calibration.marks.empty());
}

void CWorkshop::OnCommand(int id) {
    switch (id) {
        case wsids::kOpenPicture:
            ChoosePicture();
            break;
        case wsids::kCircleMask:
        case wsids::kBackground:
        case wsids::kMerge:
            if (HasPicture()) {
                m_dirty = true;
                PrepareDial(true);
                Changed();
            }
            break;
        case wsids::kSetRest:
            ShowTexts();
            break;
        case wsids::kCounterClockwise:
            m_calibration.geometry.clockwise = m_host.GetCheck(wsids::kCounterClockwise) == 0;
            Changed();
            break;
        case wsids::kAddMark:
            AddMark();
            break;
        case wsids::kMarks: {
            const int index = m_host.GetSelection(wsids::kMarks);
            Select(index >= 0 ? std::optional<size_t>(static_cast<size_t>(index)) : std::nullopt);
            break;
        }
        case wsids::kRemoveMark:
            RemoveMark();
            break;
        case wsids::kMaxSpeed: {
            const int index = m_host.GetSelection(wsids::kMaxSpeed);
            if (index >= 0)
                m_calibration.maxKnots = (gauge::kMinEntries + index) * gauge::kKnotsPerEntry;
            Changed();
            break;
        }
        case wsids::kSave:
            Save();
            break;
        case wsids::kUseInKestran:
            UseInKestran();
            break;
        default:
            break;
    }
}

void CWorkshop::OnViewSize(int viewId, int width, int height) {
    if (viewId == wsids::kPictureView) {
        m_pictureView.Resize(width, height);
        ShowPicture();
    } else if (viewId == wsids::kDialView) {
        m_dialViewWidth = width;
        m_dialViewHeight = height;
        ShowDial();
    } else if (viewId == wsids::kCalibrationView) {
        m_calibrationView.Resize(width, height);
        ShowCalibration();
    }
}

void CWorkshop::OnPointer(int viewId, EPointer what, double x, double y) {
    if (viewId == wsids::kPictureView)
        OnPicturePointer(what, {x, y});
    else if (viewId == wsids::kCalibrationView)
        OnDialPointer(what, {x, y});
}

bool CWorkshop::OnKey(int viewId, EWorkshopKey key) {
    if (viewId == wsids::kPictureView)
        return OnPictureKey(key);
    if (viewId == wsids::kCalibrationView || viewId == wsids::kMarks)
        return OnDialKey(key);
    return false;
}

void CWorkshop::OnDrop(const std::string& path) {
    OpenPicture(path);
}

bool CWorkshop::MayClose() {
    return !Unsaved() || m_host.AskYesNo(
                             "The calibration is not saved: its marks are lost when the workshop "
                             "closes. Close it anyway?");
}

// --- what the window shows ------------------------------------------------------------

void CWorkshop::Changed() {
    m_dirty = true;
    m_notice.clear();
    m_table = workshop::TableThroughMarks(m_calibration);
    ShowMarks();
    ShowCalibration();
    ShowTexts();
    UpdateControls();
}

void CWorkshop::ShowPicture() {
    m_host.ShowPixels(wsids::kPictureView, m_pictureView.Draw(m_disc));
}

void CWorkshop::ShowDial() {
    if (m_dialViewWidth <= 0 || m_dialViewHeight <= 0)
        return;
    SRgbaPicture view = workshop::BlankView(m_dialViewWidth, m_dialViewHeight, {90, 90, 94});
    if (!m_prepared.dial.Empty())
        workshop::LayOver(
            view, workshop::Fitted(m_prepared.dial, m_dialViewWidth, m_dialViewHeight), 0, 0);
    m_host.ShowPixels(wsids::kDialView, view);
}

void CWorkshop::ShowCalibration() {
    workshop::SCalibrationScene scene;
    scene.dial = HasPicture() ? &m_prepared.asFitted : nullptr;
    scene.calibration = &m_calibration;
    scene.needles = m_table.needles;
    scene.selected = m_selected;
    scene.pending = m_pending;
    m_host.ShowPixels(wsids::kCalibrationView, m_calibrationView.Draw(scene));
}

void CWorkshop::ShowMarks() {
    std::vector<std::string> items;
    for (const workshop::SWorkshopMark& m : m_calibration.marks) {
        std::string item = numtext::FormatG(m.knots) + " knots   ";
        item += m_calibration.restSet
                    ? Degrees(workshop::TableDegrees(m_calibration.geometry, m.at))
                    : "(no rest)";
        if (!m.snapped)
            item += "   off the ticks";
        items.push_back(item);
    }
    m_host.SetItems(wsids::kMarks, items);
    m_host.SetSelection(wsids::kMarks, m_selected ? static_cast<int>(*m_selected) : -1);
    m_host.SetSelection(wsids::kMaxSpeed,
                        (m_table.maxKnots / gauge::kKnotsPerEntry) - gauge::kMinEntries);
}

void CWorkshop::ShowTexts() {
    std::string instructions;
    if (!HasPicture()) {
        instructions = "Open a picture of the dial with the button, or drop one on the window.";
    } else if (m_pending) {
        instructions = "Type the speed of the mark at " +
                       Degrees(workshop::TableDegrees(m_calibration.geometry, m_pending->at)) +
                       " and press Enter (Escape drops it).";
    } else if (m_host.GetCheck(wsids::kSetRest) != 0) {
        instructions =
            "If the circle on the picture misses the dial, drag it or its edge. Then click on the "
            "large dial where the needle rests at 0 knots.";
    } else {
        instructions =
            "Click a mark of the scale, then type its speed and press Enter. The arrow keys turn "
            "the "
            "chosen mark by 0.1\xC2\xB0, Delete removes it.";
    }
    if (!m_notice.empty())
        instructions = m_notice;
    m_host.SetText(wsids::kInstructions, instructions);

    std::string status = m_table.refusal;
    if (status.empty() && m_table.table) {
        status = std::to_string(m_table.table->angles.size()) + " entries to " +
                 std::to_string(m_table.maxKnots) + " knots: ready to save.";
    }
    for (const std::string& failing : m_table.failing)
        status += "\n" + failing;
    m_host.SetText(wsids::kTableStatus, HasPicture() ? status : std::string());
    m_host.SetText(wsids::kCost, HasPicture()
                                     ? workshop::DialCostText(workshop::DialCost(m_prepared.dial))
                                     : std::string());
}

void CWorkshop::UpdateControls() {
    const bool picture = HasPicture();
    for (const int id : {wsids::kCircleMask, wsids::kBackground, wsids::kMerge, wsids::kSetRest,
                         wsids::kCounterClockwise, wsids::kSpeed, wsids::kAddMark, wsids::kMaxSpeed,
                         wsids::kSave, wsids::kUseInKestran})
        m_host.Enable(id, picture);
    m_host.Enable(wsids::kRemoveMark, picture && m_selected.has_value());
    m_host.SetCheck(wsids::kCounterClockwise, m_calibration.geometry.clockwise ? 0 : 1);
}
