#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "Histories.h"
#include "kernels/Extended.h"
#include "kernels/MomentumOscillators.h"
#include "kernels/MovingAverages.h"

namespace zentrik {
namespace {

constexpr double kUntouched = -7.0;

std::vector<double> Prefilled(std::size_t size) { return std::vector<double>(size + 3, kUntouched); }

TEST(MomentumOscillators, MomentumPerMilleWorkedExample) {
    const std::vector<double> series = {100, 110, 0, 5, 10, -2, 4};
    auto out = Prefilled(series.size());
    MomentumPerMille(out.data(), series.data(), 1, 6);
    const std::vector<double> expected = {0, 100, -1000, 0, 1000, -1200, 0};
    for (int i = 0; i <= 6; ++i) EXPECT_EQ(out[i], expected[i]) << i;
    EXPECT_EQ(out[7], kUntouched);
    // Period 2 at bar 2: (0 - 100) * 1000 / 100.
    MomentumPerMille(out.data(), series.data(), 2, 6);
    EXPECT_EQ(out[1], 0.0);
    EXPECT_EQ(out[2], -1000.0);
    EXPECT_EQ(out[3], ToDouble((Extended(5) - 110) * 1000.0L / 110));
}

TEST(MomentumOscillators, MomentumPerMilleWithoutAReferenceBar) {
    const std::vector<double> series = {1.1, 1.2, 1.3};
    for (std::int32_t n : {3, 4, 1000, INT32_MAX, 0}) {
        auto out = Prefilled(series.size());
        MomentumPerMille(out.data(), series.data(), n, 2);
        for (int i = 0; i <= 2; ++i) EXPECT_EQ(out[i], 0.0) << "n " << n << " bar " << i;
        EXPECT_EQ(out[3], kUntouched);
    }
    // A reference after the last bar does not exist either.
    auto out = Prefilled(series.size());
    MomentumPerMille(out.data(), series.data(), -1, 2);
    EXPECT_EQ(out[0], ToDouble((Extended(1.1) - 1.2) * 1000.0L / 1.2));
    EXPECT_EQ(out[2], 0.0);
    MomentumPerMille(out.data(), series.data(), INT32_MIN, 2);
    for (int i = 0; i <= 2; ++i) EXPECT_EQ(out[i], 0.0);
}

TEST(MomentumOscillators, MacdLineIsTheDifferenceOfTwoAverages) {
    const auto series = testing::Closes(testing::MakeHistory(200, testing::kYenPair));
    auto out = Prefilled(series.size());
    MacdLine(out.data(), series.data(), 12, 26, 199);
    std::vector<double> fast(200), slow(200);
    ExponentialAverage(fast.data(), series.data(), 12, 199);
    ExponentialAverage(slow.data(), series.data(), 26, 199);
    for (int i = 0; i <= 50; ++i) EXPECT_EQ(out[i], 0.0) << i;
    for (int i = 51; i < 200; ++i) ASSERT_EQ(out[i], ToDouble(Extended(fast[i]) - slow[i])) << i;
    EXPECT_NE(out[199], 0.0);
    EXPECT_EQ(out[200], kUntouched);
    // Fewer than 51 bars: both averages copy the source, the line is 0.
    auto shortOut = Prefilled(20);
    MacdLine(shortOut.data(), series.data(), 12, 26, 19);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(shortOut[i], 0.0);
    EXPECT_EQ(shortOut[20], kUntouched);
}

TEST(MomentumOscillators, MacdSignalSmoothsTheSmoothedDifference) {
    const std::vector<double> constant(80, 1.2345);
    auto flat = Prefilled(constant.size());
    MacdSignal(flat.data(), constant.data(), 79);
    for (int i = 0; i < 80; ++i) EXPECT_EQ(flat[i], 0.0);
    EXPECT_EQ(flat[80], kUntouched);

    const auto series = testing::Closes(testing::MakeHistory(120, testing::kEuroPair));
    auto out = Prefilled(series.size());
    MacdSignal(out.data(), series.data(), 119);
    std::vector<double> e12(120), e26(120), m(120), signal(120);
    ExponentialSmoothing(e12.data(), series.data(), 12, 119);
    ExponentialSmoothing(e26.data(), series.data(), 26, 119);
    for (int i = 0; i < 120; ++i) m[i] = ToDouble(Extended(e12[i]) - e26[i]);
    ExponentialSmoothing(signal.data(), m.data(), 9, 119);
    for (int i = 0; i < 120; ++i) ASSERT_EQ(out[i], signal[i]) << i;
    // One bar: only bar 0 is written.
    auto one = Prefilled(1);
    MacdSignal(one.data(), series.data(), 0);
    EXPECT_EQ(one[0], 0.0);
    EXPECT_EQ(one[1], kUntouched);
}

TEST(MomentumOscillators, RelativeStrengthWorkedExample) {
    const std::vector<double> series = {1, 2, 1};
    auto out = Prefilled(series.size());
    RelativeStrength(out.data(), series.data(), 2, 2);
    EXPECT_EQ(out[0], 0.0);
    EXPECT_EQ(out[1], 100.0);                       // AU 0.5, AD 0
    EXPECT_EQ(out[2], ToDouble(25.0L / 0.75L));     // AU 0.25, AD 0.5
    EXPECT_EQ(out[3], kUntouched);
    // The guard value shows when the moves are as small as itself.
    const std::vector<double> tiny = {0, 1e-20};
    RelativeStrength(out.data(), tiny.data(), 1, 1);
    EXPECT_EQ(out[1], ToDouble(100.0L * 1e-20 / (Extended(1e-20) + kEpsilon)));
    EXPECT_NEAR(out[1], 50.0, 1e-9);
}

TEST(MomentumOscillators, RelativeStrengthConstantAndRisingSeries) {
    const std::vector<double> constant(30, 110.5);
    auto flat = Prefilled(constant.size());
    RelativeStrength(flat.data(), constant.data(), 14, 29);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(flat[i], 0.0);
    std::vector<double> rising(30);
    for (int i = 0; i < 30; ++i) rising[i] = 1.1 + i * 0.001;
    auto up = Prefilled(rising.size());
    RelativeStrength(up.data(), rising.data(), 14, 29);
    for (int i = 1; i < 30; ++i) {
        EXPECT_GE(up[i], up[i - 1]);
        EXPECT_NEAR(up[i], 100.0, 1e-9);
    }
}

// Bars whose high, low and close are all `price`.
struct Flat3 {
    std::vector<double> close, high, low;
    Flat3(int count, double price) : close(count, price), high(count, price), low(count, price) {}
};

TEST(MomentumOscillators, CommodityChannelShortAndConstantHistories) {
    for (int count : {1, 2, 50, 91, 200}) {
        const Flat3 bars(count, 110.25);
        auto out = Prefilled(bars.close.size());
        CommodityChannel(out.data(), bars.close.data(), bars.high.data(), bars.low.data(), 14, 14, count - 1);
        EXPECT_EQ(out[0], kUntouched) << "bar 0 is not written";
        for (int i = 1; i < count; ++i) EXPECT_EQ(out[i], 0.0) << count << " " << i;
        EXPECT_EQ(out[count], kUntouched);
    }
    // Fewer than 91 bars: only zeros, whatever the prices.
    const auto bars = testing::MakeHistory(90, testing::kYenPair);
    std::vector<double> c, h, l;
    for (const Bar& b : bars) {
        c.push_back(b.close);
        h.push_back(b.high);
        l.push_back(b.low);
    }
    auto out = Prefilled(90);
    CommodityChannel(out.data(), c.data(), h.data(), l.data(), 5, 5, 89);
    for (int i = 1; i < 90; ++i) EXPECT_EQ(out[i], 0.0);
}

// The typical price of bar 0 and the deviations of bars 0 .. 89 are never
// computed; they count as 0 in the averages that reach them.
TEST(MomentumOscillators, CommodityChannelCountsUnwrittenEntriesAsZero) {
    const Flat3 bars(120, 3.0);
    const double t = ToDouble(9.0L * kOneThird);
    ASSERT_EQ(t, 3.0);
    const double m90 = ToDouble(270.0L / 91.0L);  // T[0] = 0 inside the 100-bar window
    const double v90 = ToDouble(std::fabs(Extended(t) - m90));
    for (std::int32_t b : {1, 5}) {
        auto out = Prefilled(120);
        CommodityChannel(out.data(), bars.close.data(), bars.high.data(), bars.low.data(), 100, b, 119);
        const double w90 = ToDouble(Extended(v90) / b);  // V[86 .. 89] = 0
        EXPECT_EQ(out[90], ToDouble((Extended(t) - m90) / (0.015L * w90))) << b;
        EXPECT_GT(out[90], 60.0);
        for (int i = 1; i < 90; ++i) EXPECT_EQ(out[i], 0.0);
    }
    auto out = Prefilled(120);
    CommodityChannel(out.data(), bars.close.data(), bars.high.data(), bars.low.data(), 100, 1, 119);
    EXPECT_EQ(out[100], 0.0) << "window 1 .. 100 no longer reaches bar 0";
}

TEST(MomentumOscillators, CommodityChannelOnAHistory) {
    const auto bars = testing::MakeHistory(400, testing::kEuroPair);
    std::vector<double> c, h, l;
    for (const Bar& b : bars) {
        c.push_back(b.close);
        h.push_back(b.high);
        l.push_back(b.low);
    }
    auto out = Prefilled(400);
    CommodityChannel(out.data(), c.data(), h.data(), l.data(), 14, 20, 399);
    int nonZero = 0;
    for (int i = 90; i < 400; ++i) {
        ASSERT_TRUE(std::isfinite(out[i]));
        if (out[i] != 0.0) ++nonZero;
    }
    EXPECT_GT(nonZero, 300);
    EXPECT_EQ(out[400], kUntouched);
}

using GravityKernel = void (*)(double*, const double*, const double*, std::int32_t, std::int32_t);

TEST(MomentumOscillators, CenterOfGravityWorkedExamples) {
    const std::vector<double> high(10, 1.2), low(10, 1.0);  // mid 1.1
    for (GravityKernel kernel : {CenterOfGravity, CenterOfGravityOscillator}) {
        auto out = Prefilled(10);
        kernel(out.data(), high.data(), low.data(), 3, 9);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(out[i], 0.0);
        for (int i = 3; i < 10; ++i) EXPECT_EQ(out[i], -2.5) << i;
        EXPECT_EQ(out[10], kUntouched);
        // Length 0: a window of the current bar alone.
        kernel(out.data(), high.data(), low.data(), 0, 9);
        for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], -1.0);
        // Lengths beyond the history, or negative: zeros everywhere.
        for (std::int32_t n : {10, 1000, INT32_MAX, -1, INT32_MIN}) {
            auto none = Prefilled(10);
            kernel(none.data(), high.data(), low.data(), n, 9);
            for (int i = 0; i < 10; ++i) EXPECT_EQ(none[i], 0.0) << n;
            EXPECT_EQ(none[10], kUntouched);
        }
    }
}

TEST(MomentumOscillators, CenterOfGravityWeightsRunInOppositeDirections) {
    const std::vector<double> mid = {1, 2, 3, 4};
    auto cg = Prefilled(4);
    auto cgo = Prefilled(4);
    CenterOfGravity(cg.data(), mid.data(), mid.data(), 3, 3);
    CenterOfGravityOscillator(cgo.data(), mid.data(), mid.data(), 3, 3);
    EXPECT_EQ(cg[3], -2.0);   // (4*1 + 3*2 + 2*3 + 1*4) / 10
    EXPECT_EQ(cgo[3], -3.0);  // (1*1 + 2*2 + 3*3 + 4*4) / 10
    // A zero sum of mid prices leaves the bar at 0.
    const std::vector<double> up = {1, 2, 3}, down = {-1, -2, -3};
    auto zero = Prefilled(3);
    CenterOfGravity(zero.data(), up.data(), down.data(), 1, 2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(zero[i], 0.0);
}

// Each term is weight * (high + low) * 0.5 in extended precision; the mid
// price is never rounded to a double on its own.
TEST(MomentumOscillators, CenterOfGravityKeepsTheMidPriceExtended) {
    const auto bars = testing::MakeHistory(400, testing::kYenPair);
    std::vector<double> high, low;
    for (const Bar& b : bars) {
        high.push_back(b.high + 1e-13);
        low.push_back(b.low);
    }
    const std::int32_t n = 10;
    for (bool oscillator : {false, true}) {
        auto out = Prefilled(400);
        (oscillator ? CenterOfGravityOscillator : CenterOfGravity)(out.data(), high.data(), low.data(), n, 399);
        int roundedMidDiffers = 0;
        for (int i = n; i < 400; ++i) {
            double weighted = 0, sum = 0, weightedRounded = 0, sumRounded = 0;
            for (int j = i - n; j <= i; ++j) {
                const Extended w = oscillator ? ((j + 1) - i) + n : (i + 1) - j;
                weighted = ToDouble(Extended(weighted) + w * (Extended(high[j]) + low[j]) * 0.5L);
                sum = ToDouble(Extended(sum) + (Extended(high[j]) + low[j]) * 0.5L);
                const double m = ToDouble((Extended(high[j]) + low[j]) * 0.5L);
                weightedRounded = ToDouble(Extended(weightedRounded) + w * m);
                sumRounded = ToDouble(Extended(sumRounded) + m);
            }
            ASSERT_EQ(out[i], ToDouble(-Extended(weighted) / sum)) << i;
            if (ToDouble(-Extended(weightedRounded) / sumRounded) != out[i]) ++roundedMidDiffers;
        }
        EXPECT_GT(roundedMidDiffers, 0);
    }
}

}  // namespace
}  // namespace zentrik
