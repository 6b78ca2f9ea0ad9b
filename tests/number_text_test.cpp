// Text of a number in the spreadsheet export.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "export/NumberText.h"

namespace zentrik {
namespace {

TEST(NumberText, Examples) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {90.125, "90.125"},
        {0.1, "0.1"},
        {0.00001, "0.00001"},
        {0.000001, "1E-6"},
        {0.0, "0"},
        {-0.0, "0"},
        {-90.125, "-90.125"},
        {100.0, "100"},
        {0.5, "0.5"},
        {-0.000015, "-0.000015"},
        {0.0000123, "0.0000123"},
        {0.1 + 0.2, "0.3"},                         // 0.30000000000000004
        {1.0 / 3.0, "0.333333333333333"},           // 15 significant digits
        {2.0 / 3.0, "0.666666666666667"},           // rounded, not cut
        {-2.0 / 3.0, "-0.666666666666667"},
        {123.456789012345678, "123.456789012346"},
        {1.0000000000000002, "1"},
        {123456789012345.0, "123456789012345"},     // 15 digits before the point
        {100000000000000.0, "100000000000000"},
        {999999999999999.0, "999999999999999"},
        {1234567890123456.0, "1.23456789012346E15"},  // 16 digits: scientific
        {1e15, "1E15"},
        {999999999999999.9, "1E15"},                // rounds up to 16 digits
        {-2.5e100, "-2.5E100"},
        {1.5e-7, "1.5E-7"},
        {9.99999999999999e-6, "9.99999999999999E-6"},
        {1e308, "1E308"},
        {std::numeric_limits<double>::max(), "1.79769313486232E308"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
        {std::nextafter(0.00001, 0.0), "0.00001"},  // rounds to 1.00000000000000E-5
    };
    for (const Case& c : cases) EXPECT_EQ(NumberText(c.value), c.text) << c.text;
}

TEST(NumberText, ValuesWithoutADecimalForm) {
    EXPECT_EQ(NumberText(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(NumberText(-std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(NumberText(HUGE_VAL), "INF");
    EXPECT_EQ(NumberText(-HUGE_VAL), "-INF");
    double value = 0.0;
    ASSERT_TRUE(ReadNumberText("NAN", value));
    EXPECT_TRUE(std::isnan(value));
    ASSERT_TRUE(ReadNumberText("-INF", value));
    EXPECT_EQ(value, -HUGE_VAL);
    // The largest double's text lies beyond the range and reads as strtod reads it.
    ASSERT_TRUE(ReadNumberText(NumberText(-std::numeric_limits<double>::max()), value));
    EXPECT_EQ(value, -HUGE_VAL);
    ASSERT_TRUE(ReadNumberText(NumberText(std::numeric_limits<double>::denorm_min()), value));
    EXPECT_EQ(value, std::numeric_limits<double>::denorm_min());
    ASSERT_TRUE(ReadNumberText("1E-400", value));
    EXPECT_EQ(value, 0.0);
}

TEST(NumberText, ReadsBackToTheValueRoundedTo15Digits) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        const std::string text = NumberText(value);
        double back = 0.0;
        ASSERT_TRUE(ReadNumberText(text, back)) << text;
        ASSERT_LE(std::fabs(back - value), 5.2e-15 * std::fabs(value)) << text;
        ASSERT_EQ(NumberText(back), text);  // the text is a fixed point
        ASSERT_EQ(text.find(','), std::string::npos);
    }
    double value = 0.0;
    EXPECT_TRUE(ReadNumberText("1E-6", value));
    EXPECT_EQ(value, 0.000001);
    EXPECT_FALSE(ReadNumberText("", value));
    EXPECT_FALSE(ReadNumberText("1.5x", value));
    EXPECT_FALSE(ReadNumberText("1,5", value));
}

// The separator stays a point under a locale that writes decimal commas.
TEST(NumberText, IgnoresTheLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* const commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "ru_RU.UTF-8", "ru_RU.utf8", "fr_FR.UTF-8"};
    const char* chosen = nullptr;
    for (const char* name : commaLocales) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
    const std::string text = NumberText(90.125);
    double value = 0.0;
    const bool read = ReadNumberText("0.5", value);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(text, "90.125");
    EXPECT_TRUE(read);
    EXPECT_EQ(value, 0.5);
}

}  // namespace
}  // namespace zentrik
