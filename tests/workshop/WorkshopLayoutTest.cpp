#include <gtest/gtest.h>

#include "res/WorkshopControls.h"
#include "workshop/WorkshopLayout.h"

namespace {

using workshoplayout::SRect;
using workshoplayout::SSize;

bool Overlap(const SRect& a, const SRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

TEST(WorkshopLayoutTest, EveryControlGetsItsRoomAtEveryFontAndScale) {
    const struct {
        const char* name;
        int lineHeight;
        double pixelScale;
        SSize client;
    } cases[] = {
        {"96 DPI", 16, 1.0, {0, 0}},
        {"a 14 pt font", 26, 1.0, {0, 0}},
        {"200 %", 32, 2.0, {0, 0}},
        {"200 % with large fonts, a large window", 52, 2.0, {4000, 2400}},
    };
    for (const auto& c : cases) {
        // Text as wide as its characters at the font's size, with room for a box or an arrow.
        workshoplayout::SMeasures m;
        m.lineHeight = c.lineHeight;
        m.pixelScale = c.pixelScale;
        m.natural = [&](int id) {
            const res::SWorkshopControl* def = res::FindWorkshopControl(id);
            const int chars = static_cast<int>(def->caption.size()) +
                              (def->kind == res::EWorkshopKind::Edit ? 6 : 0) +
                              (def->kind == res::EWorkshopKind::DropDownList ? 12 : 0);
            return SSize{chars * c.lineHeight / 2 + 2 * c.lineHeight, c.lineHeight * 7 / 4};
        };
        const workshoplayout::SLayout layout = workshoplayout::LayOut(m, c.client);
        const SSize area{std::max(c.client.width, layout.minimum.width),
                         std::max(c.client.height, layout.minimum.height)};
        ASSERT_EQ(layout.controls.size(), res::WorkshopControls().size()) << c.name;
        for (const auto& [id, r] : layout.controls) {
            EXPECT_GE(r.x, 0) << c.name << " " << id;
            EXPECT_GE(r.y, 0) << c.name << " " << id;
            EXPECT_LE(r.x + r.width, area.width) << c.name << " " << id;
            EXPECT_LE(r.y + r.height, area.height) << c.name << " " << id;
            const res::SWorkshopControl* def = res::FindWorkshopControl(id);
            if (def->kind != res::EWorkshopKind::View &&
                def->kind != res::EWorkshopKind::Paragraph &&
                def->kind != res::EWorkshopKind::List) {
                EXPECT_GE(r.width, m.natural(id).width) << c.name << " " << id;
                EXPECT_GE(r.height, m.natural(id).height) << c.name << " " << id;
            }
            for (const auto& [other, o] : layout.controls)
                EXPECT_TRUE(id == other || !Overlap(r, o)) << c.name << " " << id << " " << other;
        }
        const SRect dial = layout.controls.at(wsids::kCalibrationView);
        EXPECT_GE(dial.width, workshoplayout::CalibrationViewLeast().width * c.pixelScale)
            << c.name;
        EXPECT_GE(dial.height, workshoplayout::CalibrationViewLeast().height * c.pixelScale)
            << c.name;
        const SRect sent = layout.controls.at(wsids::kDialView);
        EXPECT_EQ(sent.width, static_cast<int>(230 * c.pixelScale)) << c.name;
        EXPECT_EQ(sent.height, static_cast<int>(230 * c.pixelScale)) << c.name;
    }
}

TEST(WorkshopLayoutTest, ALargerWindowGoesToTheViewsAndTheMarks) {
    workshoplayout::SMeasures m;
    m.natural = [](int) { return SSize{100, 24}; };
    const workshoplayout::SLayout least = workshoplayout::LayOut(m, {0, 0});
    const workshoplayout::SLayout large =
        workshoplayout::LayOut(m, {least.minimum.width + 300, least.minimum.height + 200});
    EXPECT_EQ(large.controls.at(wsids::kCalibrationView).width,
              least.controls.at(wsids::kCalibrationView).width + 300);
    EXPECT_EQ(large.controls.at(wsids::kCalibrationView).height,
              least.controls.at(wsids::kCalibrationView).height + 200);
    EXPECT_GT(large.controls.at(wsids::kPictureView).height,
              least.controls.at(wsids::kPictureView).height);
    EXPECT_GT(large.controls.at(wsids::kMarks).height, least.controls.at(wsids::kMarks).height);
    EXPECT_EQ(large.controls.at(wsids::kSave).width, least.controls.at(wsids::kSave).width);
}

}  // namespace
