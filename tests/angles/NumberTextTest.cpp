#include "angles/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace {

TEST(NumberTextTest, AtoFReadsTheLongestNumberPrefix) {
    struct SCase {
        const char* text;
        double value;
    };
    const SCase cases[] = {
        {"7.5", 7.5},      {"  \t\n\v\f\r15.0", 15.0},
        {"+2.5", 2.5},     {"-5", -5.0},
        {".5", 0.5},       {"5.", 5.0},
        {"5e1", 50.0},     {"2.5E-1", 0.25},
        {"1e+2", 100.0},   {"12abc", 12.0},
        {"7.50\n", 7.5},   {"3.2.1", 3.2},
        {"5e", 5.0},       {"5e+", 5.0},
        {"5ex", 5.0},      {"", 0.0},
        {"abc", 0.0},      {".", 0.0},
        {"-", 0.0},        {"+.e5", 0.0},
        {"- 5", 0.0},      {"0x1A", 0.0},
        {"inf", 0.0},      {"nan", 0.0},
        {"infinity", 0.0}, {"7,5", 7.0},
        {"1e-400", 0.0},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(numtext::AtoF(c.text), c.value) << '"' << c.text << '"';

    EXPECT_EQ(numtext::AtoF("1e400"), HUGE_VAL);
    EXPECT_EQ(numtext::AtoF("-1e99999999999999999999"), -HUGE_VAL);
    EXPECT_EQ(numtext::AtoF("0e99999999999999999999"), 0.0);
    EXPECT_TRUE(std::signbit(numtext::AtoF("-0")));
    EXPECT_EQ(numtext::AtoF("1e-310"), 1e-310);  // subnormal results are kept
    // Many digits round correctly rather than piecewise.
    EXPECT_EQ(numtext::AtoF("0.1000000000000000055511151231257827021181583404541015625"), 0.1);
}

TEST(NumberTextTest, AtoIReadsSignedDecimalDigits) {
    EXPECT_EQ(numtext::AtoI(" 20|7.5"), 20);
    EXPECT_EQ(numtext::AtoI("+7"), 7);
    EXPECT_EQ(numtext::AtoI("-12x"), -12);
    EXPECT_EQ(numtext::AtoI("20.9"), 20);
    EXPECT_EQ(numtext::AtoI("0x20"), 0);
    EXPECT_EQ(numtext::AtoI(""), 0);
    EXPECT_EQ(numtext::AtoI("- 3"), 0);
    EXPECT_EQ(numtext::AtoI("99999999999999999999"), 2147483647);
    EXPECT_EQ(numtext::AtoI("-99999999999999999999"), -2147483647 - 1);
}

TEST(NumberTextTest, FormattingMatchesPrintfInTheCLocale) {
    EXPECT_EQ(numtext::FormatFixed(7.5, 1), "7.5");
    EXPECT_EQ(numtext::FormatFixed(0.25, 1), "0.2");  // exact ties go to even, as printf does
    EXPECT_EQ(numtext::FormatFixed(0.35, 1), "0.3");  // 0.35 is just below its decimal text
    EXPECT_EQ(numtext::FormatFixed(-0.0, 1), "-0.0");
    EXPECT_EQ(numtext::FormatFixed(1e300, 1).size(), 303u);
    EXPECT_EQ(numtext::FormatFixed(HUGE_VAL, 1), "inf");
    EXPECT_EQ(numtext::FormatExp(1.5e-7, 2), "1.50e-07");
    EXPECT_EQ(numtext::FormatG(1e-5), "1e-05");
    EXPECT_EQ(numtext::FormatG(123456789.0), "1.23457e+08");
    EXPECT_EQ(numtext::FormatG(100.0), "100");

    // The process runs in the "C" locale here, so printf is the reference.
    ASSERT_STREQ(std::localeconv()->decimal_point, ".");
    std::mt19937_64 random(20240601);
    char expected[512];
    for (int i = 0; i < 20000; ++i) {
        double v;
        if (i % 2 == 0) {
            v = static_cast<double>(static_cast<int64_t>(random() % 8000001) - 4000000) / 2000.0;
        } else {
            const uint64_t bits = random();
            std::memcpy(&v, &bits, sizeof v);
            if (!std::isfinite(v))
                continue;
        }
        std::snprintf(expected, sizeof expected, "%.1f", v);
        ASSERT_EQ(numtext::FormatFixed(v, 1), expected);
        std::snprintf(expected, sizeof expected, "%g", v);
        ASSERT_EQ(numtext::FormatG(v), expected);
        std::snprintf(expected, sizeof expected, "%.3e", v);
        ASSERT_EQ(numtext::FormatExp(v, 3), expected);
        std::snprintf(expected, sizeof expected, "%.17g", v);
        ASSERT_EQ(numtext::AtoF(expected), v) << expected;
    }
}

}  // namespace
