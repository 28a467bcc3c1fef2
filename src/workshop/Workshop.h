#pragma once

#include <functional>
#include <optional>
#include <string>

#include "artwork/PrepareDial.h"
#include "dial/RgbaPicture.h"
#include "host/WorkshopHost.h"
#include "workshop/Calibration.h"
#include "workshop/CalibrationView.h"
#include "workshop/DiscFinder.h"
#include "workshop/PictureView.h"
#include "workshop/TickFinder.h"
#include "workshop/WorkshopTable.h"

// The pointer over a view, in its pixels.
enum class EPointer { Press, Move, Release, Leave };
// The keys a view or the marks' list passes on.
enum class EWorkshopKey { Enter, Escape, Delete, Left, Right, Up, Down };

// The dial workshop: the picture opened, its disc, the dial made from it, the calibration and
// the table through its marks, and every handler of the window, which it reaches only through
// its host.
class CWorkshop {
public:
    // Hands a saved dial and table to Kestran's main window, as if chosen there with Select
    // TAS Dial and Load; false while the main window cannot take them (during an update).
    using HandOver = std::function<bool(const std::string& dialPath, const std::string& tablePath)>;

    // `handOver` is empty when the workshop runs on its own: then "Use in Kestran" is hidden.
    explicit CWorkshop(IWorkshopHost& host, HandOver handOver = {});

    // Fills the lists and opens the picture, when one is given.
    void OnInit(const std::optional<std::string>& picture);
    // A button, a check box, the new selection of a list, or Enter in the speed box
    // (wsids::kAddMark).
    void OnCommand(int id);
    // A view's size in the screen's pixels, at the start and whenever it changes.
    void OnViewSize(int viewId, int width, int height);
    void OnPointer(int viewId, EPointer what, double x, double y);
    // A key on a view or on the marks' list. False when it is not the workshop's: Escape
    // with nothing to drop closes the window (after MayClose).
    bool OnKey(int viewId, EWorkshopKey key);
    // A file dropped on the window: opened as the picture.
    void OnDrop(const std::string& path);
    // Escape or the close box: whether the window may close; asks first when there are
    // calibration changes not saved.
    bool MayClose();

    // Read-only views for hosts and tests.
    bool HasPicture() const { return !m_picture.Empty(); }
    const workshop::SDisc& Disc() const { return m_disc; }
    const workshop::SCalibration& Calibration() const { return m_calibration; }
    const artwork::SPreparedDial& Prepared() const { return m_prepared; }
    const workshop::SWorkshopTable& Table() const { return m_table; }
    const workshop::SRadialStrokes& Strokes() const { return m_strokes; }
    bool Unsaved() const;

private:
    struct SPictureDrag {
        workshop::EDiscGrip grip = workshop::EDiscGrip::None;
        workshop::SPoint from;  // in the picture's pixels
        workshop::SDisc disc;   // as the press found it
    };
    enum class EDialDrag { None, Pivot, Mark };
    // A mark moves once the pointer has gone this far from where it took hold of it.
    static constexpr double kLeastDrag = 3.0;

    // the picture and its dial (WorkshopPicture.cpp)
    void OpenPicture(const std::string& path);
    void ChoosePicture();
    void PrepareDial(bool findTicks);
    artwork::SPrepareOptions DialOptions() const;
    void OnPicturePointer(EPointer what, workshop::SPoint at);
    bool OnPictureKey(EWorkshopKey key);

    // the calibration (WorkshopMarks.cpp)
    void OnDialPointer(EPointer what, workshop::SPoint at);
    bool OnDialKey(EWorkshopKey key);
    void SetRest(workshop::SPoint dialPoint);
    void PlaceMark(workshop::SPoint dialPoint);
    void AddMark();
    void RemoveMark();
    void TurnMark(double degrees);
    void Select(std::optional<size_t> mark);
    void ShowReadout(std::optional<workshop::SPoint> dialPoint);

    // saving (WorkshopSave.cpp)
    bool Save();
    void UseInKestran();

    // what the window shows (Workshop.cpp)
    void Changed();  // the calibration changed: table, lists, views
    void ShowPicture();
    void ShowDial();
    void ShowCalibration();
    void ShowMarks();
    void ShowTexts();
    void UpdateControls();

    IWorkshopHost& m_host;
    HandOver m_handOver;

    std::string m_picturePath;
    SRgbaPicture m_picture;
    workshop::SDisc m_disc;
    artwork::SPreparedDial m_prepared;
    workshop::SRadialStrokes m_strokes;
    workshop::SCalibration m_calibration;
    workshop::SWorkshopTable m_table;
    bool m_dirty = false;  // calibration changed since it was opened or saved
    std::optional<std::string> m_savedDial, m_savedTable;

    workshop::CPictureView m_pictureView;
    workshop::CCalibrationView m_calibrationView;
    int m_dialViewWidth = 0, m_dialViewHeight = 0;

    SPictureDrag m_pictureDrag;
    EDialDrag m_dialDrag = EDialDrag::None;
    workshop::SPoint m_pressedAt;  // where a mark was taken hold of, in the view's pixels
    bool m_markMoved = false;      // and whether it has moved since
    std::optional<size_t> m_selected;
    std::optional<workshop::SWorkshopMark> m_pending;
    std::optional<workshop::SPoint> m_pointer;  // over the dial, in its pixels
    std::string m_notice;                       // the last save's or hand-over's outcome
};
