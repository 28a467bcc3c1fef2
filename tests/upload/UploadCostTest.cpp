#include <gtest/gtest.h>

#include <optional>

#include "support/TestImages.h"
#include "support/GaugeLink.h"
#include "upload/UploadCost.h"
#include "upload/UploadFixture.h"

namespace {

const std::string kExamples = KESTRAN_SOURCE_DIR "/examples/dials/";

class UploadCostTest : public UploadFixture {};

// The figures are those of the real exchange: every line the gauge received, every byte the
// dialog wrote and every byte the gauge answered, for the example dials with the table.
TEST_F(UploadCostTest, CostMatchesWhatTheGaugeReceivesForTheExampleDials) {
    CImage ias, tas;
    ASSERT_EQ(ias.Load((kExamples + "ias.png").c_str()), ImageLoadResult::Ok);
    ASSERT_EQ(tas.Load((kExamples + "tas.png").c_str()), ImageLoadResult::Ok);
    const auto pixels = [](const CImage& image) {
        return [&image](int i) {
            const uint8_t* p = image.PixelAt(i % 230, i / 230);
            return SBgra{p[0], p[1], p[2], p[3]};
        };
    };
    ChooseIas(pixels(ias));
    ChooseTas(pixels(tas));
    TickTable();
    const struct {
        int untick;  // the check box cleared before this upload, 0 for none
        std::vector<SPixelView> dials;
        std::optional<std::string> table;
    } cases[] = {
        {0, {ias.View(), tas.View()}, kStartTable},
        {ids::kIasCheck, {tas.View()}, kStartTable},
        {ids::kMaxSpeedCheck, {tas.View()}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dials.size());
        if (c.untick != 0) {
            ASSERT_TRUE(host.Click(c.untick));
        }
        Writes();
        const size_t before = line->written.size();
        CVirtualGauge gauge;
        host.Click(ids::kUpdate);
        const CGaugeLink::SResult result = CGaugeLink(*line, *dlg, gauge).RunUntilQuiet();
        ASSERT_EQ(result.uploadsEnded, 1);

        const upload::SUploadCost cost = upload::UploadCost(c.dials, c.table);
        EXPECT_EQ(cost.linesSent, gauge.LineCount());
        EXPECT_EQ(cost.replies, result.replies);
        EXPECT_EQ(cost.bytesSent, static_cast<long long>(line->written.size() - before));
        // Every reply is one byte but the READY (five) that opens each stage.
        const int stages = static_cast<int>(c.dials.size()) + (c.table ? 1 : 0);
        EXPECT_EQ(cost.bytesReceived, result.replies + 4 * stages);
    }
}

// Counted by hand: pixels J J J K L L M, then one colour to the end give J, 2|K, L, 1|M and
// the run to the last pixel; no pixel like its neighbour gives a line for each.
TEST(DialLinesTest, RunsFoldAndTheLastRunCarriesTheLastPixelAgain) {
    CImage dial;
    FillImage(dial, 230, 230, 32, [](int x, int y) -> SBgra {
        const int i = y * 230 + x;
        const uint8_t shade = i < 3 ? 1 : i < 4 ? 2 : i < 6 ? 3 : 4;
        return {shade, 0, 0, 255};
    });
    EXPECT_EQ(upload::CountDialLines(dial.View()).lines, 5);
    EXPECT_EQ(upload::CountDialLines(dial.View()).bytes, 10 + 12 + 10 + 12 + 16);
    FillImage(dial, 230, 230, 32, [](int x, int) -> SBgra {
        return {static_cast<uint8_t>(x % 2), 0, 0, 255};
    });
    EXPECT_EQ(upload::CountDialLines(dial.View()).lines, 230 * 230);
    FillImage(dial, 229, 230, 32, [](int, int) -> SBgra { return {}; });
    EXPECT_EQ(upload::CountDialLines(dial.View()).lines, 0);  // no dial
}

TEST(WireTimeTest, ElevenBitsAByteBothWays) {
    upload::SUploadCost cost;
    cost.bytesSent = 3490;
    cost.bytesReceived = 1;
    EXPECT_NEAR(cost.WireSeconds(), 3491 * 11 / 38400.0, 1e-12);
    EXPECT_EQ(upload::WireTimeText(cost.WireSeconds()), "1.0 s");
    // Minutes from the first tenth that rounds to a whole minute.
    const struct {
        double seconds;
        const char* text;
    } cases[] = {{59.94, "59.9 s"},        {59.96, "1 min 0.0 s"},    {60.0, "1 min 0.0 s"},
                 {83.44, "1 min 23.4 s"},  {119.96, "2 min 0.0 s"}};
    for (const auto& c : cases)
        EXPECT_EQ(upload::WireTimeText(c.seconds), c.text) << c.seconds;
}

}  // namespace
