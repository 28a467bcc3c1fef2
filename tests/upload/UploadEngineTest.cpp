// The upload engine alone, without a dialog: each reply it is given makes the lines of
// the state table and ends the upload as the table says.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "support/TestImages.h"
#include "upload/UploadEngine.h"

namespace {

const std::string kTable = "0A04B0960E112C1F42BC38446A55064A\r\n";

// The choices a user made, as plain values.
struct SChoices : upload::IUploadChoices {
    bool ias = true, tas = true, table = true;
    CImage dial;  // serves both stages: pixel 0 grey, every other one black
    std::optional<std::string> tableLine = kTable;

    SChoices() {
        FillImage(dial, 230, 230, 32, [](int x, int y) -> SBgra {
            return x + y == 0 ? SBgra{0x80, 0x80, 0x80, 0xFF} : SBgra{0, 0, 0, 0xFF};
        });
    }
    bool DialChosen(int stage) const override { return stage == 1 ? ias : tas; }
    bool TableChosen() const override { return table; }
    SPixelView StageDial(int) const override { return dial.View(); }
    std::optional<std::string> TableLine() const override { return tableLine; }
};

// The three lines of the dial: its first pixel, the second, then the run to the end that
// carries the last pixel again.
const std::string kDial = "00808080\r\n" "00000000\r\n" "52898|00000000\r\n";

struct SCase {
    const char* what;
    bool ias, tas, table;
    bool tableSendable;
    std::vector<std::string> replies;  // "!" abandons the upload as no answer
    std::string lines;                 // every line made, the first LOAD line included
    std::optional<EUploadResult> result;
};

}  // namespace

TEST(UploadEngineTest, RepliesMakeTheLinesOfTheStateTable) {
    const std::vector<SCase> cases = {
        {"IAS dial", true, false, false, true, {"READY", "U", "U", "U"},
         "LOAD=11\r\n" + kDial + "END\r\n", EUploadResult::Completed},
        {"both dials and the table", true, true, true, true,
         {"READY", "U", "U", "U", "READY", "U", "U", "U", "READY", "f"},
         "LOAD=12\r\n" + kDial + "CON\r\nLOAD=22\r\n" + kDial + "CON\r\nLOAD=32\r\n" + kTable +
             "END\r\n",
         EUploadResult::Completed},
        {"TAS dial, the table unticked", false, true, false, true, {"READY", "U", "U", "U"},
         "LOAD=21\r\n" + kDial + "END\r\n", EUploadResult::Completed},
        {"U in the table stage", false, true, true, true,
         {"READY", "U", "U", "U", "READY", "U"},
         "LOAD=21\r\n" + kDial + "CON\r\nLOAD=31\r\n" + kTable + "END\r\n",
         EUploadResult::Completed},
        {"f in a dial stage", true, false, false, true, {"READY", "f"},
         "LOAD=11\r\n00808080\r\nERR\r\n", EUploadResult::GaugeError},
        {"U before READY", true, false, false, true, {"U"}, "LOAD=11\r\nERR\r\n",
         EUploadResult::GaugeError},
        {"an unexpected byte", true, false, false, true, {"READY", "x"},
         "LOAD=11\r\n00808080\r\nERR\r\n", EUploadResult::GaugeError},
        {"longer messages are ignored", true, false, false, true,
         {"READY\r\n", "UU", "READ", "READY", "U"}, "LOAD=11\r\n00808080\r\n00000000\r\n",
         std::nullopt},
        {"READY restarts the dial", true, false, false, true, {"READY", "U", "READY"},
         "LOAD=11\r\n00808080\r\n00000000\r\n00808080\r\n", std::nullopt},
        {"a table that cannot be sent", false, true, true, false,
         {"READY", "U", "U", "U", "READY"},
         "LOAD=21\r\n" + kDial + "CON\r\nLOAD=31\r\nERR\r\n", EUploadResult::GaugeError},
        {"abandoned", true, false, false, true, {"READY", "!", "U", "!"},
         // After the end the dial goes on from where it was, and a second abandon is nothing.
         "LOAD=11\r\n00808080\r\nERR\r\n00000000\r\n", EUploadResult::NoAnswer},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        SChoices choices;
        choices.ias = c.ias;
        choices.tas = c.tas;
        choices.table = c.table;
        if (!c.tableSendable)
            choices.tableLine.reset();
        upload::CUploadEngine engine;
        EXPECT_TRUE(engine.Reply("U", 1, choices).lines.empty());  // before any Update
        engine.Begin(c.ias ? 1 : 2);
        std::string lines = engine.LoadLine(choices);
        for (const std::string& reply : c.replies) {
            const upload::SUploadStep step =
                reply == "!" ? engine.Abandon(EUploadResult::NoAnswer)
                             : engine.Reply(reply.c_str(), static_cast<int>(reply.size()), choices);
            for (const std::string& line : step.lines)
                lines += line;
            EXPECT_EQ(step.ended, !engine.Running() && !step.lines.empty() &&
                                      (step.lines.back() == "END\r\n" ||
                                       step.lines.back() == "ERR\r\n"));
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(engine.LastResult(), c.result);
        EXPECT_EQ(engine.Running(), !c.result.has_value());
        EXPECT_EQ(engine.LinesMade(), std::count(lines.begin(), lines.end(), '\n'));
    }
}
