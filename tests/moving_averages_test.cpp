#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "kernels/Extended.h"
#include "kernels/MovingAverages.h"

namespace zentrik {
namespace {

std::vector<double> Apply(void (*kernel)(double*, const double*, std::int32_t, std::int32_t),
                        const std::vector<double>& src, std::int32_t period, std::int32_t last) {
    std::vector<double> out(src.size() + 5, -7.0);
    kernel(out.data(), src.data(), period, last);
    return out;
}

TEST(MovingAverages, WorkedExamplesOfTheShortWindows) {
    const std::vector<double> src = {1, 2, 3, 4};
    const auto sma = Apply(SimpleAverage, src, 3, 3);
    EXPECT_EQ(sma[0], 1.0);
    EXPECT_EQ(sma[1], 1.5);
    EXPECT_EQ(sma[2], 2.0);
    EXPECT_EQ(sma[3], 3.0);
    const auto wma = Apply(WeightedAverage, src, 3, 3);
    EXPECT_EQ(wma[0], 1.0);
    EXPECT_EQ(wma[1], ToDouble(5.0L / 3.0L));
    EXPECT_EQ(wma[2], ToDouble(14.0L / 6.0L));
    EXPECT_EQ(wma[3], ToDouble(20.0L / 6.0L));
    EXPECT_EQ(wma[4], -7.0) << "nothing beyond last is written";
}

TEST(MovingAverages, ExponentialSmoothingForms) {
    const std::vector<double> src = {2, 4};
    const auto half = Apply(ExponentialSmoothing, src, 3, 1);
    EXPECT_EQ(half[0], 2.0);
    EXPECT_EQ(half[1], 3.0);
    const std::vector<double> ramp = {1.25, 7.5, -3.0, 11.0};
    EXPECT_EQ(Apply(ExponentialSmoothing, ramp, 1, 3), (std::vector<double>{1.25, 7.5, -3.0, 11.0, -7, -7, -7, -7, -7}));
    // last = -1 still writes out[0].
    const auto none = Apply(ExponentialSmoothing, ramp, 3, -1);
    EXPECT_EQ(none[0], 1.25);
    EXPECT_EQ(none[1], -7.0);
}

TEST(MovingAverages, ExponentialAverageLeadIn) {
    std::vector<double> src(60);
    for (int i = 0; i < 60; ++i) src[i] = 100.0 + (i % 7) * 0.37 - (i % 3) * 0.11;
    const auto out = Apply(ExponentialAverage, src, 8, 59);
    for (int k = 0; k <= 50; ++k) EXPECT_EQ(out[k], src[k]) << k;
    const double a = ToDouble(2.0L / 9.0L);
    double e = src[0];
    for (int k = 0; k <= 50; ++k) e = ToDouble(Extended(e) + (Extended(src[k]) - e) * a);
    EXPECT_EQ(out[51], ToDouble(Extended(e) + (Extended(src[51]) - e) * a));
    EXPECT_NE(out[59], -7.0);
    EXPECT_EQ(out[60], -7.0);
}

TEST(MovingAverages, ExponentialAverageOnShortHistoriesStaysInside) {
    const std::vector<double> src = {5, 6, 7, 8, 9};
    std::vector<double> out(5, -1.0);
    ExponentialAverage(out.data(), src.data(), 3, 4);
    EXPECT_EQ(out, src);
}

TEST(MovingAverages, EmptyAndClippedWindows) {
    const std::vector<double> src = {3, 1, 4, 1, 5};
    const auto zero = Apply(SimpleAverage, src, 0, 4);
    for (int i = 0; i <= 4; ++i) EXPECT_EQ(zero[i], 0.0);
    const auto none = Apply(SimpleAverage, src, 3, -1);
    EXPECT_EQ(none[0], -7.0);
    const auto noneW = Apply(WeightedAverage, src, 3, -1);
    EXPECT_EQ(noneW[0], -7.0);
    // A huge period is a window clipped at bar 0, without overflow.
    const auto all = Apply(SimpleAverage, src, INT32_MAX, 4);
    EXPECT_EQ(all[4], 14.0 / 5.0);
    const auto allNegative = Apply(SimpleAverage, src, INT32_MIN, 4);
    EXPECT_EQ(allNegative[4], 0.0);
}

TEST(MovingAverages, WindowExtremesAndSentinels) {
    struct Case {
        std::vector<double> values;
        std::int32_t period;
        std::int32_t index;
        double max, min;
    };
    const Case cases[] = {
        {{5, 7, 7}, 3, 2, 7, 5},
        {{-20000000, -20000000}, 2, 1, 0, -20000000},
        {{10000000, 12000000}, 2, 1, 12000000, 0},
        {{5, 7, 7}, 0, 2, 0, 0},
        {{5, 7, 7}, 3, -1, 0, 0},
        {{9, 2, 4, 3}, 2, 3, 4, 3},
        {{9, 2, 4, 3}, 100, 3, 9, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowMax(c.values.data(), c.period, c.index), c.max);
        EXPECT_EQ(WindowMin(c.values.data(), c.period, c.index), c.min);
    }
}

// Holding the running sums in extended precision and rounding once per
// stored value gives other last bits than double arithmetic throughout.
TEST(MovingAverages, IntermediatesAreExtendedNotDouble) {
    // a*x + (1-a)*prev: the double-only evaluation rounds each product.
    const std::vector<double> src = {0.13, 0.01};
    const auto out = Apply(ExponentialSmoothing, src, 2, 1);
    const double a = 2.0 / 3.0;
    const double doubleOnly = a * 0.01 + (1.0 - a) * 0.13;
    const double extended = ToDouble(Extended(a) * 0.01 + (1.0L - a) * 0.13);
    ASSERT_NE(std::bit_cast<std::uint64_t>(doubleOnly), std::bit_cast<std::uint64_t>(extended));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(out[1]), std::bit_cast<std::uint64_t>(extended));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(out[1]), 0x3FA999999999999Aull);
}

}  // namespace
}  // namespace zentrik
