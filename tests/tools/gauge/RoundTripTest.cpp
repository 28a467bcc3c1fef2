#include <cmath>
#include <memory>
#include <random>

#include "support/GaugeLink.h"
#include "upload/UploadFixture.h"

namespace {

// A round dial face on a transparent surround, with a soft edge and a dark scale ring.
SBgra RoundDial(int i) {
    const double dx = i % 230 - 114.5, dy = i / 230 - 114.5;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r > 113.0) {
        return {0, 0, 0, 0};
    }
    const uint8_t alpha = r > 112.0 ? static_cast<uint8_t>((113.0 - r) * 255) : 255;
    if (r > 100.0 && r < 104.0) {
        return {20, 20, 20, alpha};
    }
    return {static_cast<uint8_t>(200 - r), 230, 250, alpha};
}

// Colour and alpha gradients across the whole picture.
SBgra Gradient(int i) {
    const int x = i % 230, y = i / 230;
    return {static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>((x + y) / 2),
            static_cast<uint8_t>(x * 255 / 229)};
}

// Noise: every pixel its own line.
PixelByIndex Noise(unsigned seed) {
    auto pixels = std::make_shared<std::vector<SBgra>>();
    std::mt19937 random(seed);
    for (int i = 0; i < 230 * 230; ++i) {
        const uint32_t v = random();
        pixels->push_back({static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                           static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)});
    }
    return [pixels](int i) { return (*pixels)[static_cast<size_t>(i)]; };
}

// Positions where the gauge's dial differs from the picture; none when equal.
int Differences(const CImage* dial, const PixelByIndex& expected) {
    if (dial == nullptr) {
        return -1;
    }
    int differences = 0;
    for (int i = 0; i < 230 * 230; ++i) {
        const uint8_t* got = dial->PixelAt(i % 230, i / 230);
        const SBgra want = expected(i);
        if (got[0] != want.b || got[1] != want.g || got[2] != want.r || got[3] != want.a) {
            ++differences;
        }
    }
    return differences;
}

}  // namespace

class RoundTripTest : public UploadFixture {
protected:
    // Presses Update and lets the gauge answer until the line goes quiet. The gauge is
    // made at the first upload, with the faults given then.
    CGaugeLink::SResult Upload(SGaugeFaults faults = {}) {
        if (!gauge) {
            gauge = std::make_unique<CVirtualGauge>(faults);
        }
        Writes();  // what went out before this upload is not the gauge's
        host.Click(ids::kUpdate);
        return CGaugeLink(*line, *dlg, *gauge).RunUntilQuiet();
    }
    // An upload without a fault, which ends once and cleanly on both sides.
    void UploadClean() {
        EXPECT_EQ(Upload().uploadsEnded, 1);
        EXPECT_TRUE(gauge->Violations().empty()) << gauge->Violations().front();
        EXPECT_EQ(Status(), "Update completed.");
        EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
    }

    std::unique_ptr<CVirtualGauge> gauge;
};

TEST_F(RoundTripTest, IasDialOnly) {
    ChooseIas(RoundDial);
    UploadClean();
    EXPECT_EQ(Differences(gauge->Dial(1), RoundDial), 0);
    EXPECT_EQ(gauge->Dial(2), nullptr);
    EXPECT_TRUE(gauge->TableTenths().empty());
}

TEST_F(RoundTripTest, TasDialOnly) {
    ChooseTas(Gradient);
    UploadClean();
    EXPECT_EQ(Differences(gauge->Dial(2), Gradient), 0);
    EXPECT_EQ(gauge->Dial(1), nullptr);
}

TEST_F(RoundTripTest, TasDialAndTable) {
    ChooseTas(RoundDial);
    TickTable();
    ASSERT_TRUE(host.Type(ids::kAngleBox, "300"));
    ASSERT_TRUE(host.SelectItem(ids::kMaxSpeedList, 15));  // 250 knots, 25 entries
    ASSERT_TRUE(host.Click(ids::kLinearIncrement));        // 12 degrees per entry
    UploadClean();
    EXPECT_EQ(Differences(gauge->Dial(2), RoundDial), 0);
    std::vector<int> tenths;
    for (int k = 1; k <= 25; ++k) {
        tenths.push_back(120 * k);
    }
    EXPECT_EQ(gauge->TableTenths(), tenths);
}

TEST_F(RoundTripTest, BothDials) {
    const PixelByIndex noise = Noise(7);
    ChooseIas(noise);
    ChooseTas(RoundDial);
    UploadClean();
    EXPECT_EQ(Differences(gauge->Dial(1), noise), 0);
    EXPECT_EQ(Differences(gauge->Dial(2), RoundDial), 0);
    EXPECT_GT(gauge->LineCount(), 230 * 230);  // noise: a line for nearly every pixel
    EXPECT_EQ(Progress(), 100);
}

TEST_F(RoundTripTest, BothDialsAndTheStartTable) {
    ChooseIas(Gradient);
    ChooseTas(Noise(11));
    TickTable();
    UploadClean();
    EXPECT_EQ(Differences(gauge->Dial(1), Gradient), 0);
    EXPECT_EQ(Differences(gauge->Dial(2), Noise(11)), 0);
    EXPECT_EQ(gauge->TableDegrees(),
              (std::vector<double>{7.5, 15,  22.5, 30,  50,  70,  90,  113, 136, 161,
                                   186, 208, 225,  241, 256, 269, 282, 294, 306, 318}));
    // The gauge keeps what it got; the next upload replaces only what it carries.
    ChooseIas(RoundDial);
    ASSERT_TRUE(host.Click(ids::kTasCheck));
    ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck));
    UploadClean();
    EXPECT_EQ(gauge->UploadsEnded(), 2);
    EXPECT_EQ(Differences(gauge->Dial(1), RoundDial), 0);
    EXPECT_EQ(Differences(gauge->Dial(2), Noise(11)), 0);
    EXPECT_EQ(gauge->TableTenths().size(), 20u);
}

TEST_F(RoundTripTest, SilentGaugeLeavesTheDialogLockedAndWaiting) {
    ChooseIas(RoundDial);
    EXPECT_EQ(Upload({.silentAfterLoad = true}).replies, 0);
    EXPECT_EQ(gauge->LineCount(), 1);
    EXPECT_EQ(Status(), "Ready");
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    EXPECT_FALSE(host.IsWindowEnabled(ids::kConnect));
}

TEST_F(RoundTripTest, UnexpectedByteEndsTheUploadOnBothSides) {
    ChooseIas(Gradient);
    ChooseTas(RoundDial);
    const CGaugeLink::SResult result = Upload({.unexpectedByteAtLine = 40, .unexpectedByte = 'u'});
    EXPECT_EQ(result.replies, 40);
    EXPECT_EQ(result.uploadsEnded, 0);
    EXPECT_EQ(Status(), "Error occurred.  Please try again.");
    EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
    EXPECT_EQ(line->written.substr(line->written.size() - 5), "ERR\r\n");
    EXPECT_EQ(gauge->LineCount(), 41);
    EXPECT_TRUE(gauge->Violations().empty());
    EXPECT_EQ(gauge->Dial(1), nullptr);
}

TEST_F(RoundTripTest, ReadyWithLineEndIsIgnoredAndTheDialogWaits) {
    ChooseTas(RoundDial);
    EXPECT_EQ(Upload({.readyWithLineEnd = true}).replies, 1);
    EXPECT_EQ(gauge->LineCount(), 1);
    EXPECT_EQ(Status(), "Ready");
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
}
