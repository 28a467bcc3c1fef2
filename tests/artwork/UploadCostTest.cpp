#include <gtest/gtest.h>

#include <optional>

#include "artwork/UploadCost.h"
#include "support/GaugeLink.h"
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
        std::vector<const CImage*> dials;
        std::optional<std::string> table;
    } cases[] = {
        {0, {&ias, &tas}, kStartTable},
        {ids::kIasCheck, {&tas}, kStartTable},
        {ids::kMaxSpeedCheck, {&tas}, std::nullopt},
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

        const artwork::SUploadCost cost = artwork::UploadCost(c.dials, c.table);
        EXPECT_EQ(cost.linesSent, gauge.LineCount());
        EXPECT_EQ(cost.bytesSent, static_cast<long long>(line->written.size() - before));
        // Every reply is one byte but the READY (five) that opens each stage.
        const int stages = static_cast<int>(c.dials.size()) + (c.table ? 1 : 0);
        EXPECT_EQ(cost.bytesReceived, result.replies + 4 * stages);
    }
}

TEST(WireTimeTest, ElevenBitsAByteBothWays) {
    artwork::SUploadCost cost;
    cost.bytesSent = 3490;
    cost.bytesReceived = 1;
    EXPECT_NEAR(cost.WireSeconds(), 3491 * 11 / 38400.0, 1e-12);
    EXPECT_EQ(artwork::WireTimeText(cost.WireSeconds()), "1.0 s");
    EXPECT_EQ(artwork::WireTimeText(83.44), "1 min 23.4 s");
}

}  // namespace
