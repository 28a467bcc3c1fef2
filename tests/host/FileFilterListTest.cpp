#include <gtest/gtest.h>

#include "host/FileFilterList.h"

namespace {
using Patterns = std::vector<std::string>;
}

TEST(FileFilterListTest, PairsOfNameAndPatternsUpToTheFirstEmptyName) {
    const auto dials = ParseFileFilter("PNG Files (*.png)|*.png|All File (*.*)|*.*||");
    ASSERT_EQ(dials.size(), 2u);
    EXPECT_EQ(dials[0].name, "PNG Files (*.png)");
    EXPECT_EQ(dials[0].patterns, Patterns{"*.png"});
    EXPECT_EQ(dials[1].patterns, Patterns{"*.*"});

    // Several patterns with blanks, an empty pattern field, and no end marker.
    const auto mixed = ParseFileFilter("Pictures| *.png ;;*.bmp|None||Any|*.*");
    ASSERT_EQ(mixed.size(), 3u);
    EXPECT_EQ(mixed[0].patterns, Patterns({"*.png", "*.bmp"}));
    EXPECT_TRUE(mixed[1].patterns.empty());
    EXPECT_EQ(mixed[2].name, "Any");

    // A name without its pattern field ends the list, as an empty one does.
    EXPECT_EQ(ParseFileFilter("Tables|*.gac|Orphan").size(), 1u);
    EXPECT_TRUE(ParseFileFilter("").empty());
    EXPECT_TRUE(ParseFileFilter("||").empty());
}
