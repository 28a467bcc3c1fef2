#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "angles/GacLine.h"
#include "angles/NumberText.h"
#include "artwork/ArtworkFiles.h"
#include "artwork/DecodeArtwork.h"
#include "res/WorkshopControls.h"
#include "support/UniqueFolder.h"
#include "workshop/FakeWorkshopHost.h"
#include "workshop/MarksFile.h"
#include "workshop/PhotoDial.h"
#include "workshop/Workshop.h"

namespace {

// The workshop as a person uses it, through its handlers: the views at fixed sizes, clicks
// where the person sees the dial's marks.
class WorkshopTest : public ::testing::Test {
protected:
    void SetUp() override {
        photoPath = dir.File("photo.jpg");
        const std::vector<uint8_t> jpeg = EncodeJpeg(photo.picture, {});
        WriteFileBytes(photoPath, std::string(jpeg.begin(), jpeg.end()));
    }

    void Open(const std::string& picture) {
        workshop.OnInit(picture);
        workshop.OnViewSize(wsids::kPictureView, 400, 300);
        workshop.OnViewSize(wsids::kDialView, 230, 230);
        workshop.OnViewSize(wsids::kCalibrationView, 900, 900);
        view.Resize(900, 900);
    }

    // A click on the large dial at a point of the 230 x 230 dial.
    void Click(workshop::SPoint dial) {
        const workshop::SPoint at = view.ToView(dial);
        workshop.OnPointer(wsids::kCalibrationView, EPointer::Move, at.x, at.y);
        workshop.OnPointer(wsids::kCalibrationView, EPointer::Press, at.x, at.y);
        workshop.OnPointer(wsids::kCalibrationView, EPointer::Release, at.x, at.y);
    }

    // A click a little off the tick of `knots`, and its speed typed.
    void Mark(double knots, double off) {
        Click(photo.OnDial(photo.scale.Clock(knots) + off, 0.8));
        host.texts[wsids::kSpeed] = numtext::FormatG(knots);
        workshop.OnCommand(wsids::kAddMark);
    }

    CTempDir dir;
    SPhotoDial photo;
    std::string photoPath;
    CFakeWorkshopHost host;
    std::vector<std::pair<std::string, std::string>> handedOver;
    bool kestranBusy = false;
    CWorkshop workshop{host, [this](const std::string& d, const std::string& t) {
                           handedOver.emplace_back(d, t);
                           return !kestranBusy;
                       }};
    workshop::CCalibrationView view;
};

TEST_F(WorkshopTest, APhotoBecomesADialAndATableWhoseNeedlesLandOnTheMarks) {
    Open(photoPath);
    ASSERT_TRUE(workshop.HasPicture());
    ASSERT_EQ(host.checks[wsids::kSetRest], 1);
    // The needle's tip, clicked a degree off: the rest is the needle's own direction.
    Click(photo.OnDial(photo.scale.Clock(0) + 1.0, 0.8));
    EXPECT_EQ(host.checks[wsids::kSetRest], 0);
    EXPECT_NEAR(workshop::DirectionDifference(photo.scale.zeroClock,
                                              workshop.Calibration().geometry.zeroDegrees),
                0, 0.3);
    const double marks[][2] = {{40, 1.2}, {80, -1.5}, {100, 0.8}, {150, -2.0}, {200, 1.0}};
    for (const auto& [knots, off] : marks)
        Mark(knots, off);
    ASSERT_EQ(workshop.Calibration().marks.size(), 5u);
    for (const workshop::SWorkshopMark& m : workshop.Calibration().marks)
        EXPECT_TRUE(m.snapped) << m.knots;
    EXPECT_EQ(workshop.Table().maxKnots, 200);  // following the highest mark
    EXPECT_EQ(host.items[wsids::kMarks].size(), 5u);
    EXPECT_TRUE(workshop.Unsaved());

    host.files = {dir.File("tas.png"), dir.File("tas.gac")};
    workshop.OnCommand(wsids::kSave);
    ASSERT_TRUE(host.messages.empty())
        << host.messages.front().text << ": " << host.messages.front().reason;
    EXPECT_FALSE(workshop.Unsaved());
    EXPECT_EQ(host.fileRequests[1].fileName, dir.File("tas.gac"));  // offered beside the dial
    std::string why;
    const auto table = gacfile::ReadTable(dir.File("tas.gac"), &why);
    ASSERT_TRUE(table) << why;
    ASSERT_EQ(table->count, 20);
    // Drawn with the saved geometry, each entry at a mark's speed points at the mark's tick.
    for (const auto& [knots, off] : marks) {
        const double entry = numtext::AtoF(table->angles[static_cast<size_t>(knots / 10) - 1]);
        EXPECT_NEAR(entry, photo.scale.Degrees(knots), 0.5) << knots;
    }
    EXPECT_TRUE(std::filesystem::exists(dir.File("tas.marks")));

    // The saved dial opens again with its calibration.
    CFakeWorkshopHost again;
    CWorkshop reopened(again);
    reopened.OnInit(dir.File("tas.png"));
    ASSERT_EQ(reopened.Calibration().marks.size(), 5u);
    EXPECT_TRUE(reopened.Calibration().restSet);
    EXPECT_NEAR(reopened.Calibration().geometry.zeroDegrees,
                workshop.Calibration().geometry.zeroDegrees, 1e-3);
    ASSERT_TRUE(reopened.Table().table);
    EXPECT_EQ(reopened.Table().table->line, workshop.Table().table->line);
    // A dial already, it is sent as it was saved.
    SRgbaPicture saved;
    ASSERT_TRUE(artwork::LoadArtwork(dir.File("tas.png"), saved, &why)) << why;
    EXPECT_EQ(reopened.Prepared().dial.rgba, saved.rgba);
    EXPECT_EQ(again.shown[wsids::kUseInKestran], false);  // alone: nothing to hand over to
}

TEST_F(WorkshopTest, UnsavedMarksAreNeverLostWithoutAsking) {
    Open(photoPath);
    EXPECT_TRUE(workshop.MayClose());  // nothing to lose yet
    Click(photo.OnDial(photo.scale.Clock(0), 0.8));
    Mark(100, 0);
    // Escape first drops a mark whose speed is not typed, without a question.
    Click(photo.OnDial(photo.scale.Clock(150), 0.8));
    EXPECT_TRUE(workshop.OnKey(wsids::kCalibrationView, EWorkshopKey::Escape));
    EXPECT_TRUE(host.questions.empty());
    // Then it closes the window, after asking; No keeps it open, Yes lets it close.
    EXPECT_FALSE(workshop.OnKey(wsids::kCalibrationView, EWorkshopKey::Escape));
    host.answers = {false, true};
    EXPECT_FALSE(workshop.MayClose());
    EXPECT_TRUE(workshop.MayClose());
    EXPECT_EQ(host.questions.size(), 2u);
    // Another picture too asks before the marks go.
    host.answers = {false};
    workshop.OnDrop(photoPath);
    EXPECT_EQ(workshop.Calibration().marks.size(), 1u);
}

TEST_F(WorkshopTest, ArrowKeysTurnTheChosenMarkByATenthOfADegree) {
    Open(photoPath);
    Click(photo.OnDial(photo.scale.Clock(0), 0.8));
    for (const bool counterClockwise : {false, true}) {
        SCOPED_TRACE(counterClockwise ? "counter-clockwise" : "clockwise");
        host.checks[wsids::kCounterClockwise] = counterClockwise ? 1 : 0;
        workshop.OnCommand(wsids::kCounterClockwise);
        Mark(100, 0);
        const auto degrees = [&] {
            return workshop::TableDegrees(workshop.Calibration().geometry,
                                          workshop.Calibration().marks[0].at);
        };
        const double before = degrees();
        EXPECT_TRUE(workshop.OnKey(wsids::kMarks, EWorkshopKey::Right));
        EXPECT_TRUE(workshop.OnKey(wsids::kMarks, EWorkshopKey::Right));
        EXPECT_NEAR(degrees(), before + 0.2, 1e-9);
        EXPECT_TRUE(workshop.OnKey(wsids::kMarks, EWorkshopKey::Left));
        EXPECT_NEAR(degrees(), before + 0.1, 1e-9);
        EXPECT_FALSE(workshop.Calibration().marks[0].snapped);
        // Chosen again by a click that trembles a pixel, it stays where the keys put it.
        const workshop::SPoint turned = workshop.Calibration().marks[0].at;
        const workshop::SPoint on = view.ToView(turned);
        workshop.OnPointer(wsids::kCalibrationView, EPointer::Press, on.x, on.y);
        workshop.OnPointer(wsids::kCalibrationView, EPointer::Move, on.x + 1, on.y);
        workshop.OnPointer(wsids::kCalibrationView, EPointer::Release, on.x + 1, on.y);
        EXPECT_EQ(workshop.Calibration().marks[0].at.x, turned.x);
        EXPECT_TRUE(workshop.OnKey(wsids::kMarks, EWorkshopKey::Delete));
        EXPECT_TRUE(workshop.Calibration().marks.empty());
    }
}

TEST_F(WorkshopTest, TheDiscAndThePivotFollowThePointer) {
    Open(photoPath);
    workshop::CPictureView picture;
    picture.SetPicture(&photo.picture);
    picture.Resize(400, 300);
    const workshop::SDisc found = workshop.Disc();
    const auto drag = [&](workshop::SPoint from, workshop::SPoint to) {
        workshop.OnPointer(wsids::kPictureView, EPointer::Press, from.x, from.y);
        workshop.OnPointer(wsids::kPictureView, EPointer::Move, to.x, to.y);
        workshop.OnPointer(wsids::kPictureView, EPointer::Release, to.x, to.y);
    };
    // The edge's handle on the right, dragged 10 view pixels out: the radius grows by that
    // many of the picture's pixels; the centre stays.
    const workshop::SPoint edge = picture.ToView({found.cx + found.radius, found.cy});
    drag(edge, {edge.x + 10, edge.y});
    EXPECT_NEAR(workshop.Disc().radius, found.radius + 10 * picture.PicturePerView(), 0.01);
    EXPECT_EQ(workshop.Disc().cx, found.cx);
    // Inside, it moves the whole circle; outside, nothing.
    const workshop::SPoint middle = picture.ToView({found.cx, found.cy});
    drag(middle, {middle.x - 5, middle.y + 3});
    EXPECT_NEAR(workshop.Disc().cx, found.cx - 5 * picture.PicturePerView(), 0.01);
    EXPECT_NEAR(workshop.Disc().cy, found.cy + 3 * picture.PicturePerView(), 0.01);
    const workshop::SDisc moved = workshop.Disc();
    drag({2, 2}, {50, 50});
    EXPECT_EQ(workshop.Disc().cx, moved.cx);
    EXPECT_TRUE(workshop.Unsaved() == false);  // no marks yet: nothing to lose

    // The pivot's cross, dragged: the pivot follows, and a mark on a tick stays on it.
    Open(photoPath);
    Click(photo.OnDial(photo.scale.Clock(0), 0.8));
    Mark(100, 1.0);
    const double before = workshop::ClockDegrees({115, 115}, workshop.Calibration().marks[0].at);
    const workshop::SPoint pivot = view.ToView({115, 115});
    const workshop::SPoint to = view.ToView({117, 114});
    workshop.OnPointer(wsids::kCalibrationView, EPointer::Press, pivot.x, pivot.y);
    workshop.OnPointer(wsids::kCalibrationView, EPointer::Move, to.x, to.y);
    workshop.OnPointer(wsids::kCalibrationView, EPointer::Release, to.x, to.y);
    const artwork::SNeedleGeometry& g = workshop.Calibration().geometry;
    EXPECT_NEAR(g.pivotX, 117, 0.01);
    EXPECT_NEAR(g.pivotY, 114, 0.01);
    const workshop::SWorkshopMark& mark = workshop.Calibration().marks[0];
    EXPECT_TRUE(mark.snapped);
    // Still on the tick it was on, which the new pivot sees at another angle.
    EXPECT_NEAR(workshop::ClockDegrees({115, 115}, mark.at), before, 0.6);
    EXPECT_NEAR(workshop::DirectionDifference(
                    workshop::ClockDegrees({117, 114}, mark.at),
                    workshop::NearestTick(workshop.Strokes().ticks,
                                          workshop::ClockDegrees({117, 114}, mark.at))
                        ->clockDegrees),
                0, 1e-9);
}

TEST_F(WorkshopTest, MarksThatCannotBeReadAreSaidAndTheDialOpensWithout) {
    Open(photoPath);
    Click(photo.OnDial(photo.scale.Clock(0), 0.8));
    Mark(100, 0);
    host.files = {dir.File("tas.png"), dir.File("tas.gac")};
    workshop.OnCommand(wsids::kSave);
    ASSERT_TRUE(host.messages.empty());
    std::ofstream(dir.File("tas.marks")) << "Kestran dial marks\nmark 100 1 2 somewhere\n";
    CFakeWorkshopHost again;
    CWorkshop reopened(again);
    reopened.OnInit(dir.File("tas.png"));
    EXPECT_TRUE(reopened.HasPicture());
    EXPECT_TRUE(reopened.Calibration().marks.empty());
    ASSERT_EQ(again.messages.size(), 1u);
    EXPECT_EQ(
        again.messages[0].reason,
        dir.File("tas.marks") + ": line 2: a mark takes its speed (0 to 500 knots) and its place");
}

TEST_F(WorkshopTest, UseInKestranSavesFirstAndHandsTheFilesOver) {
    Open(photoPath);
    EXPECT_EQ(host.shown[wsids::kUseInKestran], true);
    Click(photo.OnDial(photo.scale.Clock(0), 0.8));
    for (const double knots : {50.0, 100.0})
        Mark(knots, 0);
    host.files = {dir.File("tas.png"), dir.File("tas.gac")};
    workshop.OnCommand(wsids::kUseInKestran);
    ASSERT_EQ(handedOver.size(), 1u);
    EXPECT_EQ(handedOver[0].first, dir.File("tas.png"));
    EXPECT_EQ(handedOver[0].second, dir.File("tas.gac"));
    // Saved and unchanged: handed over again without a file dialog; refused while Kestran is busy.
    kestranBusy = true;
    workshop.OnCommand(wsids::kUseInKestran);
    EXPECT_EQ(handedOver.size(), 2u);
    EXPECT_EQ(host.fileRequests.size(), 2u);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Kestran is busy with an update.");
}

TEST_F(WorkshopTest, AMaxSpeedBeyondTheHighestMarkIsRefusedBeforeSaving) {
    Open(photoPath);
    Click(photo.OnDial(photo.scale.Clock(0), 0.8));
    Mark(150, 0);
    host.selections[wsids::kMaxSpeed] = 10;  // 200 knots
    workshop.OnCommand(wsids::kMaxSpeed);
    EXPECT_EQ(workshop.Table().maxKnots, 200);
    EXPECT_EQ(workshop.Table().needles.size(), 15u);  // drawn as far as the marks reach
    host.files = {dir.File("tas.png"), dir.File("tas.gac")};
    workshop.OnCommand(wsids::kSave);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].reason.find("lies beyond the highest mark"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("tas.png")));
}

}  // namespace
