// The workshop's first step: the picture opened, its disc found and corrected, and the dial
// made from it.
#include <algorithm>
#include <array>
#include <cmath>

#include "angles/TextFile.h"
#include "base/GaugeFacts.h"
#include "res/WorkshopControls.h"
#include "workshop/DialPicture.h"
#include "workshop/DiscSquare.h"
#include "workshop/MarksFile.h"
#include "workshop/Workshop.h"

namespace {

constexpr int kMergeLevels[] = {0, 2, 4, 8, 16};
// Transparent, black, white: the items of the background's list.
const std::optional<std::array<uint8_t, 3>> kBackgrounds[] = {
    std::nullopt, {{0, 0, 0}}, {{255, 255, 255}}};

}  // namespace

void CWorkshop::ChoosePicture() {
    SFileDialogRequest request;
    request.open = true;
    request.flags = kOfnHideReadOnly | kOfnFileMustExist;
    request.filter =
        "Pictures "
        "(*.png;*.jpg;*.jpeg;*.bmp;*.tif;*.tiff;*.webp)|*.png;*.jpg;*.jpeg;*.bmp;*.tif;*.tiff;*."
        "webp|"
        "All File (*.*)|*.*||";
    if (const std::optional<std::string> path = m_host.FileDialog(request))
        OpenPicture(*path);
}

void CWorkshop::OpenPicture(const std::string& path) {
    if (Unsaved() &&
        !m_host.AskYesNo("The calibration is not saved: its marks are lost when another picture "
                         "opens. Open it anyway?"))
        return;
    SRgbaPicture picture;
    std::string why;
    if (!workshop::LoadPicture(path, picture, &why)) {
        m_host.MessageBox(SMessage("The picture cannot be opened: " + path, why));
        return;
    }
    m_picture = std::move(picture);
    m_picturePath = path;
    m_pictureView.SetPicture(&m_picture);
    m_calibration = {};
    m_selected.reset();
    m_pending.reset();
    m_pointer.reset();
    m_notice.clear();
    m_savedDial.reset();
    m_savedTable.reset();
    m_pictureDrag = {};
    m_dialDrag = EDialDrag::None;

    m_disc = workshop::DialDisc(m_picture);
    // A dial already is sent as it is; a photo's corners are not the dial.
    m_host.SetCheck(wsids::kCircleMask, m_disc.source == workshop::EDiscSource::WholeDial ? 0 : 1);
    if (m_disc.source == workshop::EDiscSource::WholeDial) {
        // A dial the workshop saved comes back with its calibration.
        const std::optional<workshop::SCalibration> kept = workshop::ReadMarksBeside(path, &why);
        if (kept) {
            m_calibration = *kept;
        } else if (!why.empty()) {
            m_host.MessageBox(SMessage("The marks saved with the dial cannot be read.", why));
        }
    }
    m_host.SetCheck(wsids::kSetRest, m_calibration.restSet ? 0 : 1);
    PrepareDial(true);
    m_host.SetCaption(res::WorkshopCaption() + " - " + path);
    Changed();
    m_dirty = false;
    // A dial saved with its table beside, unchanged since, goes to Kestran as it is.
    std::string tableLine;
    const std::string table = workshop::TablePathBeside(path);
    if (!m_calibration.marks.empty() && m_table.table &&
        textfile::ReadFirstLine(table, 4096, tableLine) == textfile::EReadResult::Ok &&
        tableLine == m_table.table->line) {
        m_savedDial = path;
        m_savedTable = table;
    }
    ShowPicture();
    ShowDial();
}

artwork::SPrepareOptions CWorkshop::DialOptions() const {
    artwork::SPrepareOptions options;
    options.circle = m_host.GetCheck(wsids::kCircleMask) != 0;
    const int background = m_host.GetSelection(wsids::kBackground);
    if (background >= 0 && background < static_cast<int>(std::size(kBackgrounds)))
        options.background = kBackgrounds[background];
    const int merge = m_host.GetSelection(wsids::kMerge);
    if (merge >= 0 && merge < static_cast<int>(std::size(kMergeLevels)))
        options.merge = kMergeLevels[merge];
    return options;
}

void CWorkshop::PrepareDial(bool findTicks) {
    if (!HasPicture())
        return;
    std::string why;
    if (!artwork::PrepareDial(workshop::DiscSquare(m_picture, m_disc), DialOptions(), m_prepared,
                              &why)) {
        m_prepared = {};
        m_host.MessageBox(SMessage("The dial cannot be made from the picture.", why));
    }
    if (findTicks) {
        const workshop::SPoint pivot = workshop::PivotOf(m_calibration.geometry);
        m_strokes = workshop::FindRadialStrokes(m_prepared.asFitted, pivot);
        workshop::SnapAgain(m_calibration.marks, m_strokes.ticks, pivot);
    }
}

void CWorkshop::OnPicturePointer(EPointer what, workshop::SPoint at) {
    if (!HasPicture())
        return;
    const workshop::SPoint p = m_pictureView.ToPicture(at);
    switch (what) {
        case EPointer::Press:
            m_pictureDrag = {m_pictureView.GripAt(m_disc, at), p, m_disc};
            break;
        case EPointer::Move: {
            const SPictureDrag& d = m_pictureDrag;
            if (d.grip == workshop::EDiscGrip::None)
                return;
            if (d.grip == workshop::EDiscGrip::Move) {
                m_disc.cx = d.disc.cx + (p.x - d.from.x);
                m_disc.cy = d.disc.cy + (p.y - d.from.y);
            } else {
                const double largest = std::max(m_picture.width, m_picture.height);
                m_disc.radius =
                    std::clamp(workshop::Distance(p, {m_disc.cx, m_disc.cy}), 4.0, largest);
            }
            // The dial follows at once; its ticks once the pointer lets go.
            PrepareDial(false);
            ShowPicture();
            ShowDial();
            break;
        }
        case EPointer::Release:
            if (m_pictureDrag.grip != workshop::EDiscGrip::None) {
                m_pictureDrag = {};
                PrepareDial(true);
                Changed();
            }
            break;
        case EPointer::Leave:
            break;
    }
}

bool CWorkshop::OnPictureKey(EWorkshopKey key) {
    if (!HasPicture())
        return false;
    const double step = std::max(1.0, m_pictureView.PicturePerView());
    switch (key) {
        case EWorkshopKey::Left:
            m_disc.cx -= step;
            break;
        case EWorkshopKey::Right:
            m_disc.cx += step;
            break;
        case EWorkshopKey::Up:
            m_disc.cy -= step;
            break;
        case EWorkshopKey::Down:
            m_disc.cy += step;
            break;
        default:
            return false;
    }
    PrepareDial(true);
    ShowPicture();
    ShowDial();
    Changed();
    return true;
}
