#include <gtest/gtest.h>

#include "artwork/MonotoneTable.h"

namespace {

using artwork::SMark;

TEST(MonotoneTableTest, FillsBetweenTheMarksAsComputedByHand) {
    // Secants 1 and 2 degrees a knot; tangents 1, 1.5 and 2 need no limiting.
    std::string why;
    const std::vector<SMark> marks = artwork::OrderMarks({{200, 300}, {100, 100}}, &why);
    ASSERT_EQ(marks.size(), 3u) << why;  // 0:0 added
    const std::vector<double> table = artwork::FillTable(marks, 200);
    ASSERT_EQ(table.size(), 20u);
    EXPECT_NEAR(table[0], 9.55, 1e-9);
    EXPECT_NEAR(table[4], 43.75, 1e-9);
    EXPECT_DOUBLE_EQ(table[9], 100.0);
    EXPECT_NEAR(table[14], 193.75, 1e-9);
    EXPECT_DOUBLE_EQ(table[19], 300.0);
}

TEST(MonotoneTableTest, AStepInTheMarksGivesNoOvershoot) {
    std::string why;
    const std::vector<SMark> marks =
        artwork::OrderMarks({{0, 5}, {100, 10}, {110, 200}, {200, 210}}, &why);
    ASSERT_EQ(marks.size(), 4u);  // 0 knots given by a mark of its own
    const std::vector<double> table = artwork::FillTable(marks, 200);
    double previous = 5;
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_GT(table[i], previous) << 10 * (i + 1);
        EXPECT_LE(table[i], 210.0) << 10 * (i + 1);
        previous = table[i];
    }
    EXPECT_LE(table[8], 10.0);  // 90 knots stays below the 100-knot mark
    EXPECT_GE(table[11], 200.0);
}

TEST(MonotoneTableTest, MarksThatDoNotRiseAreRefusedByName) {
    const struct {
        std::vector<SMark> marks;
        const char* expected;
    } cases[] = {
        {{{100, 161}, {200, 150}},
         "the marks 100:161 and 200:150 do not rise: each angle must be above the one at a "
         "lower speed"},
        {{{100, 161}, {100, 170}}, "the marks 100:161 and 100:170 give the same speed"},
        {{{50, 0}}, "the marks 0:0 and 50:0 do not rise: each angle must be above the one at "
                    "a lower speed"},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_TRUE(artwork::OrderMarks(c.marks, &why).empty());
        EXPECT_EQ(why, c.expected);
    }
}

}  // namespace
