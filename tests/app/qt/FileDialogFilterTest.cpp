#include <gtest/gtest.h>

#include "app/qt/FileDialogFilter.h"

TEST(FileDialogFilterTest, PairsBecomeNameFiltersAndAllFilesMatchesEveryName) {
    EXPECT_EQ(ToQtNameFilters("PNG Files (*.png)|*.png|All File (*.*)|*.*||"),
              QStringList({"PNG Files (*.png)", "All File (*)"}));
    EXPECT_EQ(ToQtNameFilters("Gauge config (*.gac)|*.gac||"),
              QStringList({"Gauge config (*.gac)"}));
    // Several patterns, a name without patterns of its own, and a missing end marker.
    EXPECT_EQ(ToQtNameFilters("Pictures|*.png;*.bmp|Any|*.*"),
              QStringList({"Pictures (*.png *.bmp)", "Any (*)"}));
    EXPECT_TRUE(ToQtNameFilters("").isEmpty());
    EXPECT_TRUE(ToQtNameFilters("||").isEmpty());
}
