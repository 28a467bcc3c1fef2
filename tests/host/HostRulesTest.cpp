#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/HostRules.h"
#include "res/ControlIds.h"

TEST(HostRulesTest, EnterClicksOnlyAnEnabledPushButtonWithTheFocus) {
    struct SCase {
        int focus;
        bool enabled;
        bool clicks;
    };
    const SCase cases[] = {
        {ids::kConnect, true, true},       {ids::kUpdate, true, true},
        {ids::kConnect, false, false},     {ids::kIasCheck, true, false},
        {ids::kMaxSpeedList, true, false}, {ids::EntryBoxId(1), true, false},
        {0, true, false},                  {-1, true, false},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(hostrules::EnterClicksFocus(c.focus, c.enabled), c.clicks)
            << c.focus << (c.enabled ? " enabled" : " disabled");
    }
}

TEST(HostRulesTest, SortedInsertGoesAfterEqualItemsAndComparesBytewise) {
    using Items = std::vector<std::string>;
    struct SCase {
        Items items;
        std::string text;
        int index;
    };
    const std::vector<SCase> cases = {
        {{}, "x", 0},
        {{"100", "200", "300"}, "050", 0},
        {{"100", "200", "300"}, "105", 1},
        {{"100", "200", "300"}, "200", 2},
        {{"100", "200", "300"}, "999", 3},
        {{"a", "a", "a", "b"}, "a", 3},
        {{"B", "a"}, "b", 2},  // capitals sort first
        {{"ttyS1", "ttyS10", "ttyS2"}, "ttyS11", 2},
    };
    for (const SCase& c : cases) {
        const auto at = [&c](int i) { return c.items.at(static_cast<size_t>(i)); };
        EXPECT_EQ(hostrules::SortedInsertIndex(static_cast<int>(c.items.size()), at, c.text),
                  c.index)
            << c.text;
    }
}

TEST(HostRulesTest, PortListTakesTheWholeChangeOfWidthButNeverLessThanNothing) {
    struct SCase {
        int clientWidth;
        int width;
    };
    // A 100-pixel list in a 988-pixel client area.
    const SCase cases[] = {{988, 100}, {1138, 250}, {948, 60}, {888, 0}, {0, 0}};
    for (const SCase& c : cases)
        EXPECT_EQ(hostrules::PortListWidth(100, 988, c.clientWidth), c.width) << c.clientWidth;
}
