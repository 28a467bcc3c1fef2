#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gauge/VirtualGauge.h"

namespace {

using Lines = std::vector<std::string>;

std::string Joined(const Lines& lines) {
    std::string all;
    for (const std::string& line : lines) {
        all += line + "\r\n";
    }
    return all;
}

// Feeds the lines one by one; answers every reply.
Lines Exchange(CVirtualGauge& gauge, const Lines& lines) {
    Lines replies;
    for (const std::string& line : lines) {
        const SGaugeOutput out = gauge.Feed(line + "\r\n");
        replies.insert(replies.end(), out.replies.begin(), out.replies.end());
    }
    return replies;
}

std::vector<uint8_t> PixelOf(const CImage& image, int position) {
    const uint8_t* p = image.PixelAt(position % 230, position / 230);
    return {p[0], p[1], p[2], p[3]};
}

const Lines kPlainDial = {"LOAD=11", "FF000000", "52899|FF000000", "END"};

}  // namespace

TEST(VirtualGauge, AnswersTheSameWhateverTheChunking) {
    const std::string bytes = Joined(kPlainDial);
    CVirtualGauge whole;
    const SGaugeOutput all = whole.Feed(bytes);
    EXPECT_EQ(all.replies, (Lines{"READY", "U", "U"}));
    EXPECT_TRUE(all.uploadEnded);

    CVirtualGauge bytewise;
    Lines replies;
    int ends = 0;
    for (char c : bytes) {
        const SGaugeOutput out = bytewise.Feed(std::string(1, c));
        replies.insert(replies.end(), out.replies.begin(), out.replies.end());
        ends += out.uploadEnded ? 1 : 0;
    }
    EXPECT_EQ(replies, all.replies);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(bytewise.LineCount(), 4);
    EXPECT_EQ(bytewise.UploadsEnded(), 1);
    EXPECT_TRUE(bytewise.Violations().empty());
    ASSERT_NE(bytewise.Dial(1), nullptr);
    EXPECT_EQ(bytewise.Dial(2), nullptr);
    EXPECT_EQ(PixelOf(*bytewise.Dial(1), 52899), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(VirtualGauge, RunsRepeatThePreviousPixelThenPlaceTheirOwn) {
    CVirtualGauge gauge;
    EXPECT_EQ(Exchange(gauge, {"LOAD=21", "00102030", "2|7F405060", "52894|00102030", "1|00102030",
                               "CON", "LOAD=31"}),
              (Lines{"READY", "U", "U", "U", "U", "READY"}));
    EXPECT_TRUE(gauge.Violations().empty()) << gauge.Violations().front();
    const CImage& dial = *gauge.Dial(2);
    EXPECT_EQ(dial.GetWidth(), 230);
    EXPECT_EQ(dial.GetBPP(), 32);
    const std::vector<uint8_t> first = {0x10, 0x20, 0x30, 0xFF}, run = {0x40, 0x50, 0x60, 0x80};
    for (const int at : {0, 2, 52898, 52899})
        EXPECT_EQ(PixelOf(dial, at), first) << at;
    for (const int at : {3, 52897})
        EXPECT_EQ(PixelOf(dial, at), run) << at;

    EXPECT_EQ(Exchange(gauge, {"0A04B0960E112C1F42BC38446A55064A", "END"}), Lines{"f"});
    EXPECT_EQ(gauge.TableTenths(),
              (std::vector<int>{75, 150, 225, 300, 500, 700, 900, 1130, 1360, 1610}));
    EXPECT_DOUBLE_EQ(gauge.TableDegrees().front(), 7.5);
    EXPECT_TRUE(gauge.Violations().empty());
}

TEST(VirtualGauge, BreachesAreNotedAndGetNoAnswer) {
    struct SCase {
        Lines lines;
        std::string violation;  // start of the text after "line N: "
    };
    const std::vector<SCase> cases = {
        {{"LOAD=11", "ff000000"}, "malformed pixel line"},
        {{"LOAD=11", "0|FF000000"}, "malformed pixel line"},
        {{"LOAD=11", "01|FF000000"}, "malformed pixel line"},
        {{"LOAD=11", "FF00000"}, "malformed pixel line"},
        {{"LOAD=11", "1|FF000000"}, "run line before"},
        {{"LOAD=11", "FF000000", "52900|FF000000"}, "run goes beyond"},
        {{"LOAD=11", "FF000000", "52899|00000000"}, "pixel past the end differs"},
        {{"LOAD=11", "FF000000", "52898|FF000000", "00000000"}, "pixel beyond"},
        {{"LOAD=11", "FF000000", "CON"}, "dial cut short after 1 pixels at CON"},
        {{"LOAD=12", "FF000000", "END"}, "dial cut short after 1 pixels at END"},
        {{"LOAD=22"}, "unexpected LOAD=22"},
        {{"LOAD=12", "FF000000", "52899|FF000000", "CON", "LOAD=31"}, "unexpected LOAD=31"},
        {{"LOAD=11", "FF000000", "52899|FF000000", "CON"}, "CON where no stage follows"},
        {{"LOAD=12", "FF000000", "52899|FF000000", "END"}, "END before the second dial"},
        {{"FF000000"}, "line outside an upload"},
        {{"END"}, "END outside an upload"},
        {{"LOAD=41"}, "line outside an upload"},
    };
    for (const SCase& c : cases) {
        CVirtualGauge gauge;
        Exchange(gauge, Lines(c.lines.begin(), c.lines.end() - 1));
        const Lines replies = gauge.Feed(c.lines.back() + "\r\n").replies;
        ASSERT_EQ(gauge.Violations().size(), 1u)
            << c.violation << ": " << testing::PrintToString(gauge.Violations());
        const std::string& noted = gauge.Violations().front();
        EXPECT_EQ(noted.substr(noted.find(": ") + 2, c.violation.size()), c.violation);
        EXPECT_EQ(replies, Lines{}) << c.violation;
    }

    CVirtualGauge table;
    Exchange(table, {"LOAD=21", "FF000000", "52899|FF000000", "CON", "LOAD=31"});
    EXPECT_EQ(Exchange(table, {"0B04B", "0504B0960E112C1F4", "END"}), Lines{});
    EXPECT_EQ(table.Violations().size(), 3u);

    CVirtualGauge framing;
    framing.Feed("LOAD=11\n" + std::string(300, 'A') + "\r\n");
    EXPECT_EQ(framing.Violations(), (Lines{"line 1: line not ended by CR LF: \"LOAD=11\"",
                                           "line 2: line longer than 256 bytes"}));
}

TEST(VirtualGauge, InjectedFaults) {
    CVirtualGauge quiet({.silentAfterLoad = true});
    EXPECT_EQ(Exchange(quiet, {"LOAD=11"}), Lines{});

    CVirtualGauge chatty({.readyWithLineEnd = true});
    EXPECT_EQ(Exchange(chatty, {"LOAD=11"}), Lines{"READY\r\n"});

    CVirtualGauge wrong({.unexpectedByteAtLine = 3, .unexpectedByte = 'Q'});
    EXPECT_EQ(Exchange(wrong, {"LOAD=11", "FF000000", "1|FF000000", "ERR", "LOAD=11"}),
              (Lines{"READY", "U", "Q", "READY"}));
    EXPECT_TRUE(wrong.Violations().empty());

    CVirtualGauge gone({.hangUpAtDialLine = 2});
    const SGaugeOutput out = gone.Feed(Joined(kPlainDial));
    EXPECT_TRUE(out.hangUp);
    EXPECT_EQ(out.replies, (Lines{"READY", "U"}));
    EXPECT_EQ(gone.LineCount(), 3);
    EXPECT_EQ(gone.Dial(1), nullptr);
    // Once: the next upload goes through.
    EXPECT_FALSE(gone.Feed(Joined(kPlainDial)).hangUp);
    EXPECT_NE(gone.Dial(1), nullptr);
    EXPECT_TRUE(gone.Violations().empty());

    // Counted within one stage: the TAS dial's second line, the table line.
    const Lines both = {"LOAD=12",        "FF000000",
                        "52899|FF000000", "CON",
                        "LOAD=22",        "FF000000",
                        "52899|FF000000", "CON",
                        "LOAD=32",        "0A04B0960E112C1F42BC38446A55064A"};
    CVirtualGauge tas({.unexpectedByteAtLine = 2, .faultStage = 2});
    EXPECT_EQ(Exchange(tas, both), (Lines{"READY", "U", "U", "READY", "U", "?", "READY", "f"}));
    EXPECT_EQ(Exchange(tas, both).at(5), "U");  // once
    CVirtualGauge table({.hangUpAtDialLine = 1, .faultStage = 3});
    EXPECT_TRUE(table.Feed(Joined(both)).hangUp);
    EXPECT_EQ(table.LineCount(), 10);

    CVirtualGauge halves({.splitReadyAfter = 3});
    EXPECT_EQ(Exchange(halves, {"LOAD=11"}), (Lines{"REA", "DY"}));

    CVirtualGauge noisy({.babbleAfterLoad = 3});
    EXPECT_EQ(Exchange(noisy, {"LOAD=11"}), (Lines{"~~", "~~", "~~"}));
}

TEST(VirtualGauge, ANewUploadReplacesOneCutShort) {
    // A tool that reconnects in the middle of a dial starts over with a fresh LOAD line.
    CVirtualGauge gauge;
    EXPECT_EQ(Exchange(gauge, {"LOAD=12", "FF000000", "LOAD=11", "FF000000"}),
              (Lines{"READY", "U", "READY", "U"}));
    ASSERT_EQ(gauge.Violations().size(), 1u);
    EXPECT_EQ(gauge.Violations().front(), "line 3: upload cut short by LOAD=11");
    EXPECT_TRUE(gauge.Feed("52899|FF000000\r\nEND\r\n").uploadEnded);
    EXPECT_NE(gauge.Dial(1), nullptr);
    EXPECT_EQ(gauge.Violations().size(), 1u);
}
