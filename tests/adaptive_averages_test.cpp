#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "Histories.h"
#include "kernels/AdaptiveAverages.h"
#include "kernels/Extended.h"

namespace zentrik {
namespace {

constexpr double kUntouched = -7.0;

std::vector<double> Ramp(int count, double start, double step) {
    std::vector<double> x(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) x[i] = start + step * i;
    return x;
}

TEST(AdaptiveAverages, EfficiencyRatioCases) {
    const std::vector<double> line = Ramp(200, 100.0, 0.25);
    std::vector<double> roundTrip(200);
    for (int i = 0; i < 200; ++i) roundTrip[i] = 100.0 + (i % 20 < 10 ? i % 20 : 20 - i % 20);
    struct Case {
        const std::vector<double>* series;
        std::int32_t n, i;
        double expected;
    };
    const Case cases[] = {
        {&line, 20, 100, 0.5},       // straight move: net = path
        {&line, 100, 100, 0.5},      // n = i: window starts at bar 0
        {&line, 101, 100, 0.0},      // n > i
        {&line, 0, 100, 0.0},        // no window
        {&line, -5, 100, 0.0},       // no window
        {&roundTrip, 21, 120, 0.0},  // bars 99 .. 119 return to the start value
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EfficiencyRatio(c.series->data(), nullptr, c.n, c.i), c.expected) << c.n << " " << c.i;
    }
    // Window 1, 3, 2 (bar 3 itself is not read): net 1, path 2 + 1 = 3.
    const std::vector<double> zigzag = {1, 3, 2, 0};
    EXPECT_EQ(EfficiencyRatio(zigzag.data(), nullptr, 3, 3), 0.25);
}

TEST(AdaptiveAverages, KaufmanOfAConstantIsTheConstant) {
    std::vector<double> x(160, 110.37);
    std::vector<double> out(160, kUntouched);
    KaufmanAdaptiveAverage(out.data(), x.data(), 159);
    for (int i = 0; i <= 100; ++i) ASSERT_EQ(out[i], kUntouched) << i;
    for (int i = 101; i < 160; ++i) ASSERT_EQ(out[i], 110.37) << i;
}

TEST(AdaptiveAverages, KaufmanOnAStraightLineRunsAtTheFastConstant) {
    // E = 1 on every bar, so c = (d + s)^2 (about 4/9) and the lag behind the
    // line settles at (1 - c) / c.
    const std::vector<double> x = Ramp(200, 10.0, 1.0);
    std::vector<double> out(200, kUntouched);
    KaufmanAdaptiveAverage(out.data(), x.data(), 199);
    double c = ToDouble(Extended(0.6021505376344085) + 0.06451612903225806);
    c = ToDouble(Extended(c) * c);
    EXPECT_NEAR(c, 4.0 / 9.0, 1e-15);
    EXPECT_EQ(out[100], kUntouched);
    for (int i = 101; i < 200; ++i) EXPECT_NEAR(x[i] - out[i], (1.0 - c) / c, 1e-9) << i;
}

TEST(AdaptiveAverages, KaufmanNeedsOneHundredAndTwoBars) {
    std::vector<double> x = Ramp(101, 1.0, 0.5);  // last = 100: exactly one bar too few
    std::vector<double> out(101, kUntouched);
    KaufmanAdaptiveAverage(out.data(), x.data(), 100);
    for (double v : out) ASSERT_EQ(v, kUntouched);
    x.push_back(51.5);
    out.push_back(kUntouched);
    KaufmanAdaptiveAverage(out.data(), x.data(), 101);
    EXPECT_NE(out[101], kUntouched);
    EXPECT_EQ(out[100], kUntouched);
}

TEST(AdaptiveAverages, MesaWritesFromBarOneHundredAndReadsNothingBeforeBarFifty) {
    std::vector<double> x = testing::Closes(testing::MakeHistory(400, testing::kYenPair));
    std::vector<double> clean(400, kUntouched);
    MesaAdaptiveAverage(clean.data(), x.data(), 399);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(clean[i], kUntouched) << i;
    for (int i = 100; i < 400; ++i) ASSERT_TRUE(std::isfinite(clean[i])) << i;

    for (int i = 0; i < 50; ++i) x[i] = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> poisoned(400, kUntouched);
    MesaAdaptiveAverage(poisoned.data(), x.data(), 399);
    EXPECT_EQ(poisoned, clean);
}

TEST(AdaptiveAverages, MesaFactorStaysBetweenTheLimits) {
    // M = a x + (1 - a) M', so a = (M - M') / (x - M') must lie in 0.05 .. 0.5.
    const std::vector<double> x = testing::Closes(testing::MakeHistory(1001, testing::kEuroPair));
    std::vector<double> out(1001, 0.0);
    MesaAdaptiveAverage(out.data(), x.data(), 1000);
    int checked = 0;
    for (int i = 101; i <= 1000; ++i) {
        const double gap = x[i] - out[i - 1];
        if (std::fabs(gap) < 1e-4) continue;
        const double a = (out[i] - out[i - 1]) / gap;
        ASSERT_GE(a, 0.05 - 1e-6) << i;
        ASSERT_LE(a, 0.5 + 1e-6) << i;
        ++checked;
    }
    EXPECT_GT(checked, 300);
}

TEST(AdaptiveAverages, MesaOfAConstantApproachesTheConstantFromZero) {
    std::vector<double> x(300, 2.5);
    std::vector<double> out(300, kUntouched);
    MesaAdaptiveAverage(out.data(), x.data(), 299);
    EXPECT_GT(out[100], 0.0);
    for (int i = 101; i < 300; ++i) {
        ASSERT_GE(out[i], out[i - 1]) << i;
        ASSERT_LE(out[i], 2.5) << i;
    }
    EXPECT_NEAR(out[299], 2.5, 1e-3);
}

TEST(AdaptiveAverages, MesaWithTooFewBarsWritesNothing) {
    for (const int count : {1, 2, 62, 63, 100}) {
        std::vector<double> x(static_cast<std::size_t>(count), 1.5);
        std::vector<double> out(static_cast<std::size_t>(count), kUntouched);
        MesaAdaptiveAverage(out.data(), x.data(), count - 1);
        for (double v : out) ASSERT_EQ(v, kUntouched) << count;
    }
    std::vector<double> x(101, 1.5);
    std::vector<double> out(101, kUntouched);
    MesaAdaptiveAverage(out.data(), x.data(), 100);
    EXPECT_NE(out[100], kUntouched);
    EXPECT_EQ(out[99], kUntouched);
}

}  // namespace
}  // namespace zentrik
