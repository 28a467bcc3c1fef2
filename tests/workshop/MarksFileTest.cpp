#include <gtest/gtest.h>

#include "workshop/MarksFile.h"

namespace {

TEST(MarksFileTest, ACalibrationComesBackAsItWasSaved) {
    workshop::SCalibration c;
    c.geometry = {113.5, 116.25, 212.125, false};
    c.restSet = true;
    c.maxKnots = 180;
    c.marks = {{40, {60.25, 180.5}, true}, {62.5, {50.125, 150.75}, false}, {180, {170, 40}, true}};
    std::string why;
    const auto back = workshop::ParseMarks(workshop::MarksText(c), &why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(back->geometry.pivotX, 113.5);
    EXPECT_EQ(back->geometry.pivotY, 116.25);
    EXPECT_EQ(back->geometry.zeroDegrees, 212.125);
    EXPECT_FALSE(back->geometry.clockwise);
    EXPECT_TRUE(back->restSet);
    EXPECT_EQ(back->maxKnots, 180);
    ASSERT_EQ(back->marks.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back->marks[i].knots, c.marks[i].knots);
        EXPECT_EQ(back->marks[i].at.x, c.marks[i].at.x);
        EXPECT_EQ(back->marks[i].at.y, c.marks[i].at.y);
        EXPECT_EQ(back->marks[i].snapped, c.marks[i].snapped);
    }
    EXPECT_EQ(workshop::MarksPathBeside("/some/where/tas.png"), "/some/where/tas.marks");
}

TEST(MarksFileTest, AFileThatIsNotOneIsRefusedWithItsLine) {
    const struct {
        const char* text;
        const char* why;
    } cases[] = {
        {"", "line 1: not a file of dial marks"},
        {"20|7.5|15.0\n", "line 1: not a file of dial marks"},
        {"Kestran dial marks\npivot 115,115\n", "line 2: the pivot takes two numbers"},
        {"Kestran dial marks\nrest 400\n", "line 2: the rest takes degrees from 0 to below 360"},
        {"Kestran dial marks\n\nmax 205\n", "line 3: the max speed takes 100 to 500 knots in tens"},
        {"Kestran dial marks\nmark 40 1e3 2 tick\n", "line 2: a mark takes its speed"},
        {"Kestran dial marks\nmark 600 1 2 tick\n", "line 2: a mark takes its speed"},
        {"Kestran dial marks\nneedle 3\n", "line 2: not understood: needle 3"},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(workshop::ParseMarks(c.text, &why)) << c.text;
        EXPECT_EQ(why.rfind(c.why, 0), 0u) << c.text << " -> " << why;
    }
}

}  // namespace
