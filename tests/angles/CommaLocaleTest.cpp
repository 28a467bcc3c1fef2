#include <clocale>
#include <cstdio>
#include <memory>
#include <string>

#include "angles/CNumSpinCtrl.h"
#include "angles/GacFileSupport.h"
#include "angles/NumberText.h"
#include "support/CommaLocale.h"

namespace {

// Runs with a process locale whose decimal separator is a comma. Numbers must still be read
// and written with a point.
class CommaLocaleTest : public GacFixture {
protected:
    static void SetUpTestSuite() { s_locale = std::make_unique<CCommaLocale>(); }
    static void TearDownTestSuite() { s_locale.reset(); }

    void SetUp() override {
        if (!s_locale->Available()) {
            GTEST_SKIP() << CCommaLocale::kName << " is neither installed nor can it be generated "
                         << "(needs localedef and the locale sources of the locales package)";
        }
        ASSERT_NE(std::setlocale(LC_ALL, CCommaLocale::kName), nullptr);
        // The test means something only if the C library now writes a comma.
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 7.5);
        ASSERT_STREQ(text, "7,5");
        GacFixture::SetUp();
    }

    void TearDown() override {
        GacFixture::TearDown();
        std::setlocale(LC_ALL, "C");
    }

    static inline std::unique_ptr<CCommaLocale> s_locale;
};

TEST_F(CommaLocaleTest, ConversionsKeepTheFullStop) {
    EXPECT_EQ(numtext::AtoF("7.5"), 7.5);
    EXPECT_EQ(numtext::AtoF("7,5"), 7.0);
    EXPECT_EQ(numtext::FormatFixed(7.5, 1), "7.5");
    EXPECT_EQ(numtext::FormatG(0.5), "0.5");
    EXPECT_EQ(numtext::FormatExp(1.5e-7, 2), "1.50e-07");

    CNumSpinCtrl trimmed;
    trimmed.SetDecimals(2);
    EXPECT_EQ(trimmed.ValueToText(1.5), "1.5");
    EXPECT_EQ(trimmed.ValueToText(1.5e-7), "1.5e-07");

    ASSERT_TRUE(host.ClickSpin(ids::EntrySpinId(1), 1));
    EXPECT_EQ(Entry(1), "7.6");
    ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck));
    ASSERT_TRUE(host.Click(ids::kLinearIncrement));
    EXPECT_EQ(Entry(1), "15.9");
}

TEST_F(CommaLocaleTest, GaugeFilesKeepTheFullStop) {
    EXPECT_TRUE(LoadText("10|7.5|15.25|22.5e0|30|40|50|60|70|80|90").empty());
    const std::string path = dir.File("out.gac");
    EXPECT_TRUE(Save(path).empty());
    EXPECT_EQ(ReadFileBytes(path), "10|7.5|15.2|22.5|30.0|40.0|50.0|60.0|70.0|80.0|90.0");
}

}  // namespace
