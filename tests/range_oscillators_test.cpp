#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Histories.h"
#include "kernels/Extended.h"
#include "kernels/RangeOscillators.h"

namespace zentrik {
namespace {

constexpr double kUntouched = -7.0;

struct Prices {
    std::vector<double> high, low, close;
    int last() const { return static_cast<int>(close.size()) - 1; }
};

Prices FromBars(const std::vector<Bar>& bars) {
    Prices p;
    for (const Bar& b : bars) {
        p.high.push_back(b.high);
        p.low.push_back(b.low);
        p.close.push_back(b.close);
    }
    return p;
}

Prices Flat(int count, double high, double low, double close) {
    return Prices{std::vector<double>(count, high), std::vector<double>(count, low),
                  std::vector<double>(count, close)};
}

using TwoLengthKernel = void (*)(double*, const double*, const double*, const double*, std::int32_t,
                                 std::int32_t, std::int32_t);

std::vector<double> RunKernel(TwoLengthKernel kernel, const Prices& p, int n, int m) {
    std::vector<double> out(p.close.size() + 3, kUntouched);
    kernel(out.data(), p.high.data(), p.low.data(), p.close.data(), n, m, p.last());
    return out;
}

std::vector<double> RunKernel(void (*kernel)(double*, const double*, const double*, const double*, std::int32_t),
                        const Prices& p) {
    std::vector<double> out(p.close.size() + 3, kUntouched);
    kernel(out.data(), p.high.data(), p.low.data(), p.close.data(), p.last());
    return out;
}

// Four bars: window highs (n = 2) 10, 12, 12, 13; window lows 8, 8, 7, 7.
const Prices kFourBars{{10, 12, 11, 13}, {8, 9, 7, 10}, {9, 11, 8, 12}};

TEST(RangeOscillators, SlowStochasticWorkedExample) {
    // num = 1, 3, 1, 5; den = 2, 4, 5, 6; their 3-bar averages
    // A = 1, 2, 5/3, 3 and B = 2, 3, 11/3, 5.
    const auto k = RunKernel(SlowStochastic, kFourBars, 2, 1);
    EXPECT_EQ(k[0], 1.0) << "bar 0 keeps the averaged numerator";
    EXPECT_EQ(k[1], 2.0) << "bar 1 keeps the averaged numerator";
    const double k2 = ToDouble(Extended(ToDouble(5.0L / 3.0L)) * 100.0L / ToDouble(11.0L / 3.0L));
    EXPECT_EQ(k[2], k2);
    EXPECT_EQ(k[3], 60.0);
    EXPECT_EQ(k[4], kUntouched);
    const auto slow = RunKernel(SlowStochastic, kFourBars, 2, 2);
    EXPECT_EQ(slow[0], 1.0);
    EXPECT_EQ(slow[1], 1.5);
    EXPECT_EQ(slow[3], ToDouble((Extended(k2) + 60.0) / 2.0));
}

TEST(RangeOscillators, FastStochasticWithLengthOneIsTheRawLine) {
    const auto k = RunKernel(FastStochastic, kFourBars, 2, 1);
    EXPECT_EQ(k[0], 10.0) << "bar 0 carries the window high";
    EXPECT_EQ(k[1], 12.0) << "bar 1 carries the window high";
    EXPECT_EQ(k[2], 20.0);  // (8 - 7) * 100 / (12 - 7)
    EXPECT_EQ(k[3], ToDouble(500.0L / 6.0L));
    EXPECT_EQ(k[4], kUntouched);
    const auto fast = RunKernel(FastStochastic, kFourBars, 2, 3);
    EXPECT_EQ(fast[2], 14.0);  // (10 + 12 + 20) / 3
}

TEST(RangeOscillators, StochasticsOnFlatBarsDivideByEpsilon) {
    const Prices flat = Flat(8, 1.5, 1.5, 1.5);
    const auto slow = RunKernel(SlowStochastic, flat, 3, 3);
    for (int i = 0; i <= 7; ++i) EXPECT_EQ(slow[i], 0.0) << i;
    const auto fast = RunKernel(FastStochastic, flat, 3, 1);
    EXPECT_EQ(fast[0], 1.5);
    EXPECT_EQ(fast[1], 1.5);
    for (int i = 2; i <= 7; ++i) EXPECT_EQ(fast[i], 0.0) << i;
    // A close away from a zero range: (close - low) * 100 / epsilon.
    const Prices gap = Flat(5, 1.0, 1.0, 1.5);
    const double huge = ToDouble(Extended(0.5) * 100.0L / kEpsilon);
    EXPECT_EQ(RunKernel(FastStochastic, gap, 3, 1)[4], huge);
    EXPECT_EQ(RunKernel(SlowStochastic, gap, 3, 1)[4], huge);
}

TEST(RangeOscillators, CloseAtTheTopOfTheRange) {
    Prices rising;
    for (int i = 0; i < 30; ++i) {
        rising.high.push_back(100.0 + i);
        rising.low.push_back(99.0 + i * 0.5);
        rising.close.push_back(100.0 + i);
    }
    const auto slow = RunKernel(SlowStochastic, rising, 3, 3);
    for (int i = 4; i <= rising.last(); ++i) EXPECT_EQ(slow[i], 100.0) << i;
    std::vector<double> pcr(33, kUntouched);
    PriceChannelRange(pcr.data(), rising.high.data(), rising.low.data(), rising.close.data(), 5, rising.last());
    for (int i = 5; i <= rising.last(); ++i) EXPECT_EQ(pcr[i], 0.0) << i;
}

TEST(RangeOscillators, PriceChannelRangeWritesFromBarN) {
    // Channel of bars 1 .. 3 at bar 3: high 14, low 4; close at the bottom.
    const Prices p{{10, 12, 14, 9}, {5, 6, 7, 4}, {8, 9, 10, 4}};
    std::vector<double> out(7, kUntouched);
    PriceChannelRange(out.data(), p.high.data(), p.low.data(), p.close.data(), 3, 3);
    EXPECT_EQ(out[0], kUntouched);
    EXPECT_EQ(out[1], kUntouched);
    EXPECT_EQ(out[2], kUntouched);
    EXPECT_EQ(out[3], 100.0);
    EXPECT_EQ(out[4], kUntouched);
    // n = 2 at bar 2: high 14, low 6, close 10 -> (14 - 10) * 100 / 8 = 50.
    PriceChannelRange(out.data(), p.high.data(), p.low.data(), p.close.data(), 2, 3);
    EXPECT_EQ(out[1], kUntouched);
    EXPECT_EQ(out[2], 50.0);
    // Zero range and the empty channel of n = 0 give 0; n beyond the history writes nothing.
    const Prices flat = Flat(6, 2.0, 2.0, 2.0);
    std::vector<double> f(6, kUntouched);
    PriceChannelRange(f.data(), flat.high.data(), flat.low.data(), flat.close.data(), 2, 5);
    EXPECT_EQ(f[1], kUntouched);
    for (int i = 2; i <= 5; ++i) EXPECT_EQ(f[i], 0.0);
    std::vector<double> z(4, kUntouched);
    PriceChannelRange(z.data(), p.high.data(), p.low.data(), p.close.data(), 0, 3);
    for (double v : z) EXPECT_EQ(v, 0.0);
    std::vector<double> none(4, kUntouched);
    PriceChannelRange(none.data(), p.high.data(), p.low.data(), p.close.data(), INT32_MAX, 3);
    for (double v : none) EXPECT_EQ(v, kUntouched);
}

// The Williams range of bar i from a plain scan of bars i - 13 .. i, with
// the factor -0.01 given as `factor`.
double WilliamsByScan(const Prices& p, int i, Extended factor) {
    double hh = p.high[i - 13];
    double ll = p.low[i - 13];
    for (int k = i - 13; k <= i; ++k) {
        hh = std::max(hh, p.high[k]);
        ll = std::min(ll, p.low[k]);
    }
    const double s = ToDouble((Extended(hh) - ll) * factor);
    return s == 0.0 ? 0.0 : ToDouble((Extended(p.close[i]) - hh) / s);
}

TEST(RangeOscillators, WilliamsR14TracksTheWindowExtremes) {
    for (const auto& shape : {testing::kYenPair, testing::kEuroPair}) {
        Prices p = FromBars(testing::MakeHistory(600, shape));
        // Repeated extremes that leave the window one after the other.
        for (int k = 200; k < 230; k += 3) {
            p.low[k] = 90.0;
            p.high[k + 1] = 200.0;
        }
        const auto out = RunKernel(WilliamsR14, p);
        int doubleFactorDiffers = 0;
        for (int i = 0; i < 100; ++i) ASSERT_EQ(out[i], kUntouched) << i;
        for (int i = 100; i <= p.last(); ++i) {
            ASSERT_EQ(out[i], WilliamsByScan(p, i, -0.01L)) << i;
            if (WilliamsByScan(p, i, -0.01) != out[i]) ++doubleFactorDiffers;
        }
        EXPECT_GT(doubleFactorDiffers, 0) << "the extended factor must be visible";
        EXPECT_EQ(out[p.last() + 1], kUntouched);
    }
}

TEST(RangeOscillators, WilliamsR14ScaleAndShortHistories) {
    Prices p = Flat(120, 2.0, 1.0, 1.5);
    p.close[110] = 2.0;  // at the 14-bar high
    p.close[111] = 1.0;  // at the 14-bar low
    const auto out = RunKernel(WilliamsR14, p);
    EXPECT_EQ(out[110], 0.0);
    EXPECT_EQ(out[111], ToDouble((Extended(1.0) - 2.0) / ToDouble(1.0L * -0.01L)));
    EXPECT_NEAR(out[111], 100.0, 1e-12);
    EXPECT_NEAR(out[105], 50.0, 1e-12);
    const auto flat = RunKernel(WilliamsR14, Flat(150, 3.0, 3.0, 3.0));
    for (int i = 100; i < 150; ++i) EXPECT_EQ(flat[i], 0.0);
    const auto shortHistory = RunKernel(WilliamsR14, Flat(100, 2.0, 1.0, 1.5));
    for (double v : shortHistory) EXPECT_EQ(v, kUntouched) << "fewer than 101 bars: nothing written";
}

TEST(RangeOscillators, TripleStochasticBlend) {
    const Prices p = FromBars(testing::MakeHistory(300, testing::kYenPair));
    const auto out = RunKernel(TripleStochastic, p);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(out[i], kUntouched) << i;
    auto raw = [&](int length, int i) {
        const int start = std::max(0, i - length + 1);
        const double lo = *std::min_element(p.low.begin() + start, p.low.begin() + i + 1);
        const double hi = *std::max_element(p.high.begin() + start, p.high.begin() + i + 1);
        return lo == hi ? 0.0 : ToDouble((Extended(p.close[i]) - lo) / (Extended(hi) - lo));
    };
    int doubleFactorDiffers = 0;
    for (int i = 15; i <= p.last(); ++i) {
        const Extended sum = Extended(raw(7, i)) * 0.25L + Extended(raw(14, i)) * 0.5L + raw(28, i);
        ASSERT_EQ(out[i], ToDouble(sum * 100.0L * (4.0L / 7.0L))) << i;
        if (ToDouble(sum * 100.0L * (4.0 / 7.0)) != out[i]) ++doubleFactorDiffers;
        ASSERT_GE(out[i], 0.0);
        ASSERT_LE(out[i], 100.0 + 1e-9);
    }
    EXPECT_GT(doubleFactorDiffers, 0) << "4/7 is an extended factor, not a double one";
    EXPECT_EQ(out[p.last() + 1], kUntouched);
}

TEST(RangeOscillators, TripleStochasticFlatAndShort) {
    const auto flat = RunKernel(TripleStochastic, Flat(40, 5.0, 5.0, 5.0));
    for (int i = 15; i < 40; ++i) EXPECT_EQ(flat[i], 0.0);
    const auto shortHistory = RunKernel(TripleStochastic, Flat(15, 2.0, 1.0, 1.5));
    for (double v : shortHistory) EXPECT_EQ(v, kUntouched) << "fewer than 16 bars: nothing written";
    const auto sixteen = RunKernel(TripleStochastic, Flat(16, 2.0, 1.0, 2.0));
    EXPECT_EQ(sixteen[14], kUntouched);
    EXPECT_EQ(sixteen[15], ToDouble(1.75L * 100.0L * (4.0L / 7.0L)));
}

TEST(RangeOscillators, TinyHistoriesStayInside) {
    for (int count : {1, 2, 3}) {
        const Prices p = Flat(count, 2.0, 1.0, 1.5);
        const auto slow = RunKernel(SlowStochastic, p, 14, 3);
        const auto fast = RunKernel(FastStochastic, p, 14, 3);
        for (int i = count; i < count + 3; ++i) {
            EXPECT_EQ(slow[i], kUntouched);
            EXPECT_EQ(fast[i], kUntouched);
        }
        EXPECT_EQ(slow[0], 0.5);
        EXPECT_EQ(fast[0], 2.0);
    }
}

}  // namespace
}  // namespace zentrik
