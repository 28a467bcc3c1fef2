#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "angles/GacLine.h"
#include "artwork/ArtworkFiles.h"
#include "artwork/DecodeArtwork.h"
#include "kestran-dial/DialCommands.h"
#include "support/TestImages.h"
#include "upload/UploadCost.h"

namespace {

namespace fs = std::filesystem;

const std::string kExamples = KESTRAN_SOURCE_DIR "/examples/dials/";

class DialCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        art = WriteTestPng(dir, "art.png", 400, 300, 24,
                           [](int x, int y) { return SBgra{uint8_t(x), uint8_t(y), 50, 255}; });
        WriteTestPng(dir, "wide.png", 600, 20, 32, [](int, int) { return SBgra{0, 0, 0, 0}; });
        std::ofstream(dir.File("bad.gac")) << "hello|1|2";
        std::ofstream(dir.File("short.gac")) << "20|7.5|15.0";
        std::ofstream(dir.File("text.png")) << "not a picture";
        std::ofstream(dir.File("cut.png"), std::ios::binary) << "\x89PNG\r\n\x1a\n";
    }

    // Runs kestran-dial with the arguments, `@` standing for the test's folder.
    EDialExit Run(std::vector<std::string> args) {
        for (std::string& a : args) {
            if (a.rfind("@", 0) == 0)
                a = dir.File(a.substr(1));
        }
        std::string error;
        report = {};
        const std::optional<SDialCommand> command = ParseDialCommand(args, &error);
        if (!command) {
            report.err = error;
            return EDialExit::Refused;
        }
        return RunDialCommand(*command, report);
    }

    std::set<std::string> Files() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            names.insert(entry.path().filename().string());
        return names;
    }

    CTempDir dir;
    std::string art;
    SDialReport report;
};

TEST_F(DialCommandsTest, BadInputIsRefusedWithExitTwoAndNothingWritten) {
    const struct {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{"prepare", "@text.png", "-o", "@out.png"}, "text.png: not a picture (not PNG, JPEG, BMP, TIFF or WebP)"},
        {{"prepare", "@cut.png", "-o", "@out.png"}, "cut.png: damaged or unreadable PNG data ("},
        {{"prepare", "@missing.png", "-o", "@out.png"}, "missing.png: No such file or directory"},
        {{"prepare", "@art.png", "-o", "@out.png", "--crop", "300,0,200,200"},
         "art.png: the crop 300,0,200,200 does not lie inside the picture (400 x 300)"},
        {{"prepare", "@art.png", "-o", "@out.png", "--shine"}, "unknown option --shine"},
        {{"prepare", "@art.png", "-o", "@out.png", "--fit", "stretch"},
         "--fit takes contain or cover, not \"stretch\""},
        {{"prepare", "@art.png", "-o", "@out.png", "--background", "12345"},
         "--background takes a colour as RRGGBB"},
        {{"prepare", "@art.png", "-o", "@art.png"}, "art.png: is the picture itself; --force"},
        {{"prepare", "@art.png"}, "-o OUT.png is missing"},
        {{"cost", "@art.png"}, "art.png: Image resolution must be 230 x 230 pixels: art.png is 400 x 300 pixels; the Dial Workshop or kestran-dial prepare"},
        {{"cost", kExamples + "tas.png", kExamples + "ias.png", kExamples + "tas.png"},
         "cost takes one or two dials, not also"},
        {{"cost", kExamples + "tas.png", "--table", "@bad.gac"}, "bad.gac: Not a gauge configuration file"},
        {{"cost", kExamples + "tas.png", "--table", "@short.gac"}, "short.gac: gives 2 angles for 20 entries"},
        {{"preview", "--dial", "@art.png", "--table", "@bad.gac", "-o", "@sheet.png"},
         "bad.gac: Not a gauge configuration file"},
        {{"preview", "--dial", "@art.png", "-o", "@sheet.png", "--at", "210"},
         "--at 210 knots lies beyond the start-up table, which ends at 200 knots"},
        {{"preview", "--dial", "@art.png", "-o", "@sheet.png", "--scale", "9"},
         "--scale takes a whole number from 1 to 8"},
        {{"preview", "--dial", "@wide.png", "-o", "@sheet.png", "--scale", "8"},
         "wide.png: 600 x 20 pixels at --scale 8 make a sheet of more than 4096 pixels a side"},
        {{"table", "--mark", "100:161", "--mark", "200:150", "-o", "@t.gac"},
         "the marks 100:161 and 200:150 do not rise"},
        {{"table", "--mark", "100:161", "--max", "250", "-o", "@t.gac"},
         "--max 250 lies beyond the highest mark, 100 knots"},
        {{"table", "--mark", "155:161", "-o", "@t.gac"}, "the highest mark, 155 knots, is no maximum speed"},
        {{"table", "--mark", "100:161", "--max", "105", "-o", "@t.gac"}, "--max takes a speed from 100 to 500"},
        {{"table", "--mark", "100:161", "--max", "50", "-o", "@t.gac"},
         "--max takes a whole number from 100 to 500"},
        {{"table", "--mark", "100:161"}, "-o FILE.gac is missing"},
        {{"table", "--mark", "100:0.4", "-o", "@t.gac"},
         "Needle angle for 10 knots doesn't seem right: with one decimal"},
        {{"table", "--mark", "100:161", "-o", "@t.gac", "--preview", "@text.png", "@s.png"},
         "text.png: not a picture"},
        {{"table", "--mark", "100", "-o", "@t.gac"}, "--mark takes KNOTS:DEGREES"},
        {{"table", "--mark", "100:161", "-o", "@t.gac", "--preview", kExamples + "tas.png", "@s.png",
          "--at", "110"},
         "--at 110 knots lies beyond the table, which ends at 100 knots"},
        {{"preview", "--dial", "@art.png", "-o", "@sheet.png", "--zero", "360.5"},
         "--zero takes degrees from -360 to 360"},
        {{"-x"}, "unknown option -x"},
    };
    const std::set<std::string> before = Files();
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args), EDialExit::Refused) << c.expected;
        EXPECT_NE(report.err.find(c.expected), std::string::npos) << report.err;
        EXPECT_EQ(Files(), before) << c.expected;
    }
}

TEST_F(DialCommandsTest, InputAtTheLimitsIsTaken) {
    WriteTestPng(dir, "edge.png", 512, 16, 32,
                 [](int x, int) { return SBgra{0, uint8_t(x), 0, 255}; });
    // Decoded reduced without a crop: 500 x 460.
    const std::vector<uint8_t> jpeg = EncodeJpeg(SRgbaPicture(1000, 920), {});
    WriteFileBytes(dir.File("big.jpg"), {jpeg.begin(), jpeg.end()});
    const struct {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{"preview", "--dial", "@art.png", "-o", "@s.png", "--zero", "360"}, "20 needles"},
        {{"preview", "--dial", "@art.png", "-o", "@s.png", "--zero", "-360"}, "20 needles"},
        {{"preview", "--dial", "@edge.png", "-o", "@s.png", "--scale", "8"}, "20 needles"},
        {{"table", "--mark", "100:161", "--max", "100", "-o", "@t.gac"}, "t.gac: 10 entries"},
        {{"prepare", "@big.jpg", "--crop", "600,500,400,420", "-o", "@d.png"}, "230 x 230"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args), EDialExit::Done) << c.args.back() << ": " << report.err;
        EXPECT_NE(report.out.find(c.expected), std::string::npos) << report.out;
    }
}

TEST_F(DialCommandsTest, MergeTellsTheLinesItSaved) {
    ASSERT_EQ(Run({"prepare", "@art.png", "-o", "@plain.png"}), EDialExit::Done) << report.err;
    ASSERT_EQ(Run({"prepare", "@art.png", "-o", "@merged.png", "--merge", "6"}), EDialExit::Done)
        << report.err;
    const auto lines = [this](const char* name) {
        CImage dial;
        EXPECT_EQ(dial.Load(dir.File(name).c_str()), ImageLoadResult::Ok) << name;
        return upload::CountDialLines(dial.View()).lines;
    };
    const long long saved = lines("plain.png") - lines("merged.png");
    EXPECT_GT(saved, 0);
    EXPECT_NE(report.out.find("--merge 6: " + std::to_string(saved) + " lines saved"),
              std::string::npos)
        << report.out;
}

TEST_F(DialCommandsTest, ForceWritesOverThePictureItself) {
    ASSERT_EQ(Run({"prepare", "@art.png", "-o", "@art.png", "--force"}), EDialExit::Done) << report.err;
    SRgbaPicture dial;
    ASSERT_TRUE(artwork::LoadArtwork(art, dial, nullptr));
    EXPECT_EQ(dial.width, 230);
    EXPECT_EQ(Files(), (std::set<std::string>{"art.png", "bad.gac", "cut.png", "short.gac", "text.png",
                                              "wide.png"}));
}

TEST_F(DialCommandsTest, APictureAloneGoesBesideItNeverOverAFile) {
    // Either file of a pair left alone is a pair taken.
    WriteFileBytes(dir.File("art-dial.png"), "a dial without its sheet");
    WriteFileBytes(dir.File("art-dial-2-needles.png"), "a sheet without its dial");
    ASSERT_EQ(Run({"@art.png"}), EDialExit::Done) << report.err;
    ASSERT_EQ(Run({"@art.png"}), EDialExit::Done) << report.err;
    for (const char* name : {"art-dial-3.png", "art-dial-3-needles.png", "art-dial-4.png",
                             "art-dial-4-needles.png"})
        EXPECT_TRUE(fs::exists(dir.File(name))) << name;
    EXPECT_EQ(ReadFileBytes(dir.File("art-dial.png")), "a dial without its sheet");
    EXPECT_FALSE(fs::exists(dir.File("art-dial-needles.png")));
    EXPECT_EQ(ReadFileBytes(dir.File("art-dial-2-needles.png")), "a sheet without its dial");
    EXPECT_FALSE(fs::exists(dir.File("art-dial-2.png")));
    EXPECT_NE(report.out.find("upload as written: "), std::string::npos);
    // The dial it made is one the window and the cost take.
    ASSERT_EQ(Run({"cost", "@art-dial-4.png"}), EDialExit::Done) << report.err;
    EXPECT_NE(report.out.find("through a USB serial adapter at its usual 16 ms latency: "),
              std::string::npos)
        << report.out;
}

TEST_F(DialCommandsTest, TiffAndWebpArtworkBecomeTheDialItsPngDoes) {
    SRgbaPicture picture;
    ASSERT_TRUE(artwork::LoadArtwork(art, picture, nullptr));
    const std::vector<uint8_t> tiff = EncodeTiff(picture, {}), webp = EncodeWebp(picture, true);
    WriteFileBytes(dir.File("art.tif"), {tiff.begin(), tiff.end()});
    WriteFileBytes(dir.File("art.webp"), {webp.begin(), webp.end()});
    for (const std::string name : {"art.png", "art.tif", "art.webp"})
        ASSERT_EQ(Run({"prepare", "@" + name, "-o", "@" + name + "-dial.png"}), EDialExit::Done)
            << report.err;
    const std::string dial = ReadFileBytes(dir.File("art.png-dial.png"));
    EXPECT_TRUE(ReadFileBytes(dir.File("art.tif-dial.png")) == dial);
    EXPECT_TRUE(ReadFileBytes(dir.File("art.webp-dial.png")) == dial);
}

TEST_F(DialCommandsTest, TableIsWrittenForTheWindowsLoadWithItsSheet) {
    ASSERT_EQ(Run({"table", "--mark", "200:300", "--mark", "100:100", "-o", "@t.gac", "--preview",
                   kExamples + "tas.png", "@t.png", "--at", "150"}),
              EDialExit::Done)
        << report.err;
    EXPECT_NE(report.out.find("\nat 150 knots: 193.8 degrees\n"), std::string::npos) << report.out;
    std::string line;
    std::getline(std::ifstream(dir.File("t.gac")), line);
    const std::optional<gacfile::SGacTable> table = gacfile::ParseLine(line);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->count, 20);
    EXPECT_EQ(table->angles[4], "43.8");
    EXPECT_EQ(table->angles[9], "100.0");
    EXPECT_EQ(table->angles[14], "193.8");
    EXPECT_EQ(table->angles[19], "300.0");
    SRgbaPicture sheet;
    ASSERT_TRUE(artwork::LoadArtwork(dir.File("t.png"), sheet, nullptr));
    EXPECT_GT(sheet.width, 3 * 230);
}

}  // namespace
