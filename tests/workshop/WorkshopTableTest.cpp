#include <gtest/gtest.h>

#include "angles/NumberText.h"
#include "angles/TextFile.h"
#include "kestran-dial/DialCommands.h"
#include "support/UniqueFolder.h"
#include "workshop/WorkshopTable.h"

namespace {

// A calibration whose marks lie at the given table angles, 90 pixels from the pivot.
workshop::SCalibration At(const artwork::SNeedleGeometry& geometry,
                          const std::vector<artwork::SMark>& marks,
                          std::optional<int> maxKnots = std::nullopt) {
    workshop::SCalibration c;
    c.geometry = geometry;
    c.restSet = true;
    c.maxKnots = maxKnots;
    for (const artwork::SMark& m : marks) {
        const double clock = workshop::ClockOfTable(geometry, m.degrees);
        workshop::PutMark(
            c.marks, {m.knots, workshop::PointAt(workshop::PivotOf(geometry), clock, 90), true});
    }
    return c;
}

TEST(WorkshopTableTest, TheTableThroughTheMarksIsTheOneKestranDialTableWrites) {
    const struct {
        const char* name;
        artwork::SNeedleGeometry geometry;
        std::vector<artwork::SMark> marks;
        std::optional<int> max;
    } cases[] = {
        {"five marks",
         {115, 115, 210, true},
         {{40, 30}, {80, 95.3}, {100, 161}, {150, 240.2}, {200, 318}},
         {}},
        {"counter-clockwise", {115, 115, 150, false}, {{50, 40}, {120, 150}, {250, 300}}, {}},
        {"a lower max", {100, 120, 0, true}, {{60, 50}, {110, 140}, {200, 260}}, 150},
        {"a mark at 0 knots", {115, 115, 200, true}, {{0, 4}, {100, 150}, {300, 330}}, {}},
    };
    for (const auto& c : cases) {
        const workshop::SWorkshopTable got =
            workshop::TableThroughMarks(At(c.geometry, c.marks, c.max));
        ASSERT_TRUE(got.table) << c.name << ": " << got.refusal;
        EXPECT_TRUE(got.refusal.empty()) << c.name;

        CTempDir dir;
        STableCommand command;
        command.marks = c.marks;
        command.maxKnots = c.max;
        command.output = dir.File("table.gac");
        SDialReport report;
        ASSERT_EQ(dialcommands::Table(command, report), EDialExit::Done)
            << c.name << ": " << report.err;
        std::string line;
        ASSERT_EQ(textfile::ReadFirstLine(command.output, 4096, line), textfile::EReadResult::Ok);
        EXPECT_EQ(got.table->line, line) << c.name;
        EXPECT_EQ(got.needles, got.table->angles) << c.name;
    }
}

TEST(WorkshopTableTest, WhatKeepsATableFromBeingSavedIsSaid) {
    const artwork::SNeedleGeometry g{115, 115, 210, true};
    workshop::SCalibration noRest = At(g, {{100, 120}});
    noRest.restSet = false;
    const struct {
        const char* name;
        workshop::SCalibration calibration;
        const char* refusal;
        size_t needles;
    } cases[] = {
        {"no rest", noRest, "Click where the needle rests", 0},
        {"no marks", At(g, {}), "Click the marks of the scale", 0},
        {"marks that fall", At(g, {{100, 120}, {150, 110}}),
         "The marks do not make a table: the marks 100:120 and 150:110", 0},
        {"a max beyond the marks", At(g, {{100, 120}, {165, 200}}, 200),
         "The max speed, 200 knots, lies beyond the highest mark (165 knots)", 16},
    };
    for (const auto& c : cases) {
        const workshop::SWorkshopTable got = workshop::TableThroughMarks(c.calibration);
        EXPECT_EQ(got.refusal.rfind(c.refusal, 0), 0u) << c.name << ": " << got.refusal;
        EXPECT_EQ(got.needles.size(), c.needles) << c.name;
    }
    // Until one is chosen, the max speed follows the highest mark in whole tens.
    EXPECT_EQ(workshop::TableThroughMarks(At(g, {{100, 120}, {165, 200}})).maxKnots, 160);
    EXPECT_EQ(workshop::TableThroughMarks(At(g, {{60, 120}})).maxKnots, 100);
}

}  // namespace
