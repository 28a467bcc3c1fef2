#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "upload/WireFormat.h"

namespace {

std::optional<std::string> TableOf(const std::vector<std::string>& entries, int* bad = nullptr) {
    return wire::AngleTableLine(
        static_cast<int>(entries.size()),
        [&entries](int k) { return entries.at(static_cast<size_t>(k - 1)); }, bad);
}

}  // namespace

TEST(WireFormat, PixelLinesSendTransparencyThenBlueGreenRed) {
    const std::array<uint8_t, 4> opaque = {0x10, 0x20, 0x30, 0xFF};
    const std::array<uint8_t, 4> clear = {0x00, 0x00, 0x00, 0x00};
    const std::array<uint8_t, 4> half = {0xAB, 0xCD, 0xEF, 0x80};
    EXPECT_EQ(wire::PixelLine({opaque, 0}), "00102030\r\n");
    EXPECT_EQ(wire::PixelLine({clear, 0}), "FF000000\r\n");
    EXPECT_EQ(wire::PixelLine({half, 0}), "7FABCDEF\r\n");
    EXPECT_EQ(wire::PixelLine({opaque, 1}), "1|00102030\r\n");
    EXPECT_EQ(wire::PixelLine({clear, 52899}), "52899|FF000000\r\n");
    EXPECT_EQ(wire::LoadLine(1, 2), "LOAD=12\r\n");
}

TEST(WireFormat, AngleTableLineForTenEntries) {
    EXPECT_EQ(TableOf({"7.5", "15", "22.5", "30", "50", "70", "90", "113", "136", "161"}),
              "0A04B0960E112C1F42BC38446A55064A\r\n");
}

TEST(WireFormat, AngleEntriesRoundHalfUpToTenths) {
    // Decimal fractions are not exact in binary: the double sum x * 10 + 0.5 decides.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0", "000"},    {"318", "C6C"},   {"360", "E10"},   {"7.5", "04B"},   {"0.04", "000"},
        {"0.05", "001"}, {"12.34", "07B"}, {"12.35", "07C"}, {"409.5", "FFF"}, {"409.54", "FFF"},
        {"abc", "000"},  {" 5e1x", "1F4"}, {"", "000"},      {"-0", "000"},
    };
    for (const auto& [text, digits] : cases) {
        std::vector<std::string> entries(10, "1");
        entries[3] = text;
        const auto line = TableOf(entries);
        ASSERT_TRUE(line) << text;
        EXPECT_EQ(line->substr(2 + 9, 3), digits) << text;
    }
}

TEST(WireFormat, AnglesThatDoNotFitThreeDigitsAreRefusedNamingTheFirst) {
    for (const std::string text : {"-0.1", "-5", "409.55", "1000", "1e300", "1e999"}) {
        std::vector<std::string> entries(12, "1");
        entries[6] = text;
        entries[9] = "-1";
        int bad = -1;
        EXPECT_FALSE(TableOf(entries, &bad)) << text;
        EXPECT_EQ(bad, 7) << text;
    }
}

TEST(WireFormat, FiftyEntriesMakeTheLongestLine) {
    const auto line = TableOf(std::vector<std::string>(50, "360"));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->size(), 154u);
    EXPECT_EQ(line->substr(0, 5), "32E10");
    EXPECT_FALSE(wire::AngleTableLine(51, [](int) { return "1"; }));
}
