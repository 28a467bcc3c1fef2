// The dial workshop's rules on the command line: the ticks found, marks given as points of
// the dial, and the disc cut out of a picture, each as the window does it.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "angles/GacLine.h"
#include "angles/NumberText.h"
#include "artwork/DecodeArtwork.h"
#include "dial/PngWrite.h"
#include "kestran-dial/DialCommands.h"
#include "support/UniqueFolder.h"
#include "workshop/DrawnDial.h"
#include "workshop/FakeWorkshopHost.h"
#include "workshop/PhotoDial.h"
#include "workshop/Workshop.h"

namespace {

EDialExit RunDial(const std::vector<std::string>& args, SDialReport& report) {
    std::string error;
    const std::optional<SDialCommand> command = ParseDialCommand(args, &error);
    if (!command) {
        report.err = error;
        return EDialExit::Refused;
    }
    return RunDialCommand(*command, report);
}

std::string Text(double v) {
    return numtext::FormatG(v);
}

class WorkshopFacesTest : public ::testing::Test {
protected:
    void SetUp() override {
        art = drawn::ScaleDial(scale, art);
        dial = dir.File("dial.png");
        WritePng(dial.c_str(), drawn::DrawDial(art).View());
    }

    CTempDir dir;
    drawn::SScale scale{200, 200};
    drawn::SDialArt art;
    std::string dial;
    SDialReport report;
};

TEST_F(WorkshopFacesTest, TicksListsEachTickInTheGeometryGiven) {
    const struct {
        const char* name;
        std::vector<std::string> options;
        double zero;
        bool clockwise;
    } cases[] = {
        {"from straight up", {}, 0, true},
        {"from the rest", {"--zero", "200"}, 200, true},
        {"counter-clockwise", {"--zero", "200", "--counter-clockwise"}, 200, false},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"ticks", dial};
        args.insert(args.end(), c.options.begin(), c.options.end());
        report = {};
        ASSERT_EQ(RunDial(args, report), EDialExit::Done) << c.name << ": " << report.err;
        std::istringstream lines(report.out);
        std::vector<std::pair<double, std::string>> listed;
        double degrees = 0;
        std::string length;
        while (lines >> degrees >> length)
            listed.emplace_back(degrees, length);
        ASSERT_EQ(listed.size(), art.ticks.size()) << c.name;
        for (size_t i = 0; i + 1 < listed.size(); ++i)
            EXPECT_LT(listed[i].first, listed[i + 1].first) << c.name;
        for (const drawn::STickArt& t : art.ticks) {
            const double want = std::fmod(
                (c.clockwise ? t.clockDegrees - c.zero : c.zero - t.clockDegrees) + 720, 360);
            bool found = false;
            for (const auto& [got, kind] : listed) {
                if (std::fabs(workshop::DirectionDifference(got, want)) <= 0.2) {
                    found = true;
                    EXPECT_EQ(kind, t.isLong ? "long" : "short") << c.name << " " << want;
                }
            }
            EXPECT_TRUE(found) << c.name << " " << want;
        }
    }
}

TEST_F(WorkshopFacesTest, AMarkGivenAsAPointSnapsToItsTickOrStaysWhereItIs) {
    // Points a degree and a half off the ticks of 50, 100 and 200 knots.
    std::vector<std::string> args{"table",  "-o", dir.File("t.gac"), "--dial", dial,
                                  "--zero", "200"};
    for (const double knots : {50.0, 100.0, 200.0}) {
        const workshop::SPoint p = workshop::PointAt({115, 115}, scale.Clock(knots) + 1.5, 90);
        args.insert(args.end(), {"--mark", Text(knots) + "@" + Text(p.x) + "," + Text(p.y)});
    }
    ASSERT_EQ(RunDial(args, report), EDialExit::Done) << report.err;
    EXPECT_NE(report.out.find(", on a tick"), std::string::npos) << report.out;
    std::string why;
    const auto snapped = gacfile::ReadTable(dir.File("t.gac"), &why);
    ASSERT_TRUE(snapped) << why;
    for (const double knots : {50.0, 100.0, 200.0})
        EXPECT_NEAR(numtext::AtoF(snapped->angles[static_cast<size_t>(knots / 10 - 1)]),
                    scale.Degrees(knots), 0.2)
            << knots;

    args.push_back("--no-snap");
    report = {};
    ASSERT_EQ(RunDial(args, report), EDialExit::Done) << report.err;
    const auto loose = gacfile::ReadTable(dir.File("t.gac"), &why);
    ASSERT_TRUE(loose) << why;
    EXPECT_NEAR(numtext::AtoF(loose->angles[9]), scale.Degrees(100) + 1.5, 0.06);

    // Without the dial there is nothing to snap to.
    report = {};
    EXPECT_EQ(RunDial({"table", "-o", dir.File("u.gac"), "--mark", "100@50,60"}, report),
              EDialExit::Refused);
    EXPECT_NE(
        report.err.find("give the dial whose ticks it snaps to (--dial DIAL.png), or --no-snap"),
        std::string::npos)
        << report.err;
    report = {};
    EXPECT_EQ(RunDial({"table", "-o", dir.File("u.gac"), "--mark", "100@50"}, report),
              EDialExit::Refused);
    EXPECT_NE(report.err.find("--mark takes KNOTS@X,Y"), std::string::npos) << report.err;
}

TEST(WorkshopWindowCommandTest, NoCommandOrWindowOpensTheWorkshop) {
    const struct {
        std::vector<std::string> args;
        std::optional<std::string> picture;
        const char* refusal;
    } cases[] = {
        {{}, std::nullopt, nullptr},
        {{"--window"}, std::nullopt, nullptr},
        {{"--window", "photo.jpg"}, "photo.jpg", nullptr},
        {{"--window", "a.jpg", "b.jpg"},
         std::nullopt,
         "--window takes one picture to open, or none"},
        {{"--window", "--help"}, std::nullopt, "--window takes one picture to open, or none"},
    };
    for (const auto& c : cases) {
        std::string error;
        const std::optional<SDialCommand> command = ParseDialCommand(c.args, &error);
        if (c.refusal != nullptr) {
            EXPECT_FALSE(command);
            EXPECT_EQ(error, c.refusal);
            continue;
        }
        ASSERT_TRUE(command) << error;
        const auto* window = std::get_if<SWindowCommand>(&command->command);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->picture, c.picture);
    }
}

TEST_F(WorkshopFacesTest, CropAutoCutsTheDiscOutAsTheWorkshopDoes) {
    const SPhotoDial photo;
    const std::string picture = dir.File("photo.png");
    WritePng(picture.c_str(), photo.picture.View());
    ASSERT_EQ(
        RunDial({"prepare", picture, "-o", dir.File("auto.png"), "--crop", "auto", "--circle"},
                report),
        EDialExit::Done)
        << report.err;
    EXPECT_NE(report.out.find("--crop auto: the disc at 930.0,560.0, radius 430."),
              std::string::npos)
        << report.out;
    SRgbaPicture written;
    std::string why;
    ASSERT_TRUE(artwork::LoadArtwork(dir.File("auto.png"), written, &why)) << why;

    CFakeWorkshopHost host;
    CWorkshop workshop(host);
    workshop.OnInit(picture);
    EXPECT_EQ(written.rgba, workshop.Prepared().dial.rgba);
}

}  // namespace
