// Parabolic stops, swing-trend lines and trailing stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "Histories.h"
#include "kernels/Extended.h"
#include "kernels/PriceHelpers.h"
#include "kernels/StopLines.h"

namespace zentrik {
namespace {

constexpr double kUntouched = -7.0;

// Columns of a fixture whose result arrays start at kUntouched.
struct Columns : testing::PriceColumnsOf {
    std::vector<double> Result() const { return PriceColumnsOf::Result(kUntouched); }
};

Columns FromHistory(const std::vector<Bar>& bars) { return Columns{testing::ColumnsOf(bars)}; }

Columns Flat(int count, double price) { return FromHistory(testing::FlatHistory(count, price)); }

// Closes rising (or falling) by `step` per bar, high and low half a point away.
Columns Ramp(int count, double step) {
    Columns c;
    for (int i = 0; i < count; ++i) {
        const double close = 100.0 + step * i;
        c.close.push_back(close);
        c.high.push_back(close + 0.5);
        c.low.push_back(close - 0.5);
    }
    return c;
}

// The regression parabolic written plainly from its rules, every window
// summed afresh: the kernel must agree with it to the last bit.
std::vector<double> ReferenceRegressionParabolic(const Columns& c, std::int32_t n) {
    std::vector<double> r = c.close;
    const std::int32_t last = c.last();
    if (last < 200) return r;
    double eh = c.high[200], el = c.low[200], a = 0.02, previous = 0.0;
    for (std::int32_t i = 200; i <= last; ++i) {
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (std::int64_t j = std::max<std::int64_t>(0, std::int64_t{i} - n); j <= i - 1; ++j) {
            sx = ToDouble(Extended(sx) + static_cast<Extended>(j));
            sy = ToDouble(Extended(sy) + c.close[static_cast<std::size_t>(j)]);
            sxx = ToDouble(Extended(sxx) + static_cast<Extended>(j * j));
            sxy = ToDouble(Extended(sxy) + static_cast<Extended>(j) * c.close[static_cast<std::size_t>(j)]);
        }
        const double d = ToDouble(Extended(sx) * sx - Extended(n) * sxx);
        const double num = ToDouble(Extended(sx) * sy - Extended(n) * sxy);
        const double m = d == 0 ? num : ToDouble(Extended(num) / d);
        const auto at = [](const std::vector<double>& v, std::int32_t k) { return v[static_cast<std::size_t>(k)]; };
        if (i == 200 || (previous > 0 && m < 0) || (previous < 0 && m > 0)) {
            eh = at(c.high, i);
            el = at(c.low, i);
            a = 0.02;
            double range = 0;
            for (std::int32_t k = i - 5; k < i; ++k)
                range = ToDouble(Extended(range) + TrueRange(c.high.data(), c.low.data(), c.close.data(), k));
            r[static_cast<std::size_t>(i)] = ToDouble(Extended(at(c.close, i)) + (m > 0 ? -3.0L : 3.0L) * range / 5.0);
        } else {
            if (eh < at(c.high, i) && m > 0) eh = at(c.high, i), a = ToDouble(Extended(a) + 0.02);
            if (el > at(c.low, i) && m < 0) el = at(c.low, i), a = ToDouble(Extended(a) + 0.02);
            if (a > 0.2) a = 0.2;
            const double p = at(r, i - 1);
            if (m != 0) r[static_cast<std::size_t>(i)] = ToDouble(Extended(p) + Extended(a) * (Extended(m > 0 ? eh : el) - p));
        }
        previous = m;
    }
    return r;
}

TEST(StopLines, RegressionParabolicIsTheCloseBeforeBar200) {
    for (int count : {1, 2, 150, 200}) {
        const Columns c = FromHistory(testing::MakeHistory(count, testing::kYenPair));
        auto result = c.Result();
        RegressionParabolic(result.data(), c.high.data(), c.low.data(), c.close.data(), 14, c.last());
        EXPECT_EQ(result, c.close) << count;
    }
}

TEST(StopLines, RegressionParabolicStartsAtBar200ThreeRangesAway) {
    struct Case {
        const char* name;
        double step;
        double sign;  // -1: below the close
    };
    for (const Case& k : {Case{"rising", 0.25, -1.0}, Case{"falling", -0.25, 1.0}, Case{"flat", 0.0, 1.0}}) {
        const Columns c = Ramp(260, k.step);
        auto result = c.Result();
        RegressionParabolic(result.data(), c.high.data(), c.low.data(), c.close.data(), 10, c.last());
        for (int i = 0; i < 200; ++i) ASSERT_EQ(result[i], c.close[i]) << k.name;
        double range = 0.0;
        for (int j = 195; j < 200; ++j) range = ToDouble(Extended(range) + TrueRange(c.high.data(), c.low.data(), c.close.data(), j));
        EXPECT_EQ(result[200], ToDouble(Extended(c.close[200]) + k.sign * 3.0L * range / 5.0L)) << k.name;
        if (k.step == 0.0) {
            // A zero slope never turns again and keeps the close.
            for (int i = 201; i < 260; ++i) EXPECT_EQ(result[i], c.close[i]);
        } else {
            // The slope keeps its sign, so there is no later turn: the stop
            // closes in on the extreme bar by bar.
            for (int i = 201; i < 260; ++i) EXPECT_LT(k.sign * result[i], k.sign * result[i - 1]) << k.name << i;
        }
    }
}

TEST(StopLines, RegressionParabolicAgreesWithFreshWindowSums) {
    const Columns yen = FromHistory(testing::MakeHistory(1001, testing::kYenPair));
    const Columns euro = FromHistory(testing::MakeHistory(700, testing::kEuroPair));
    // Lengths that reach before bar 0 for some or all bars, and lengths without a window.
    for (std::int32_t n : {INT32_MIN, -3, 0, 1, 2, 14, 55, 199, 201, 600, INT32_MAX}) {
        for (const Columns* c : {&yen, &euro}) {
            auto result = c->Result();
            RegressionParabolic(result.data(), c->high.data(), c->low.data(), c->close.data(), n, c->last());
            EXPECT_EQ(result, ReferenceRegressionParabolic(*c, n)) << n;
        }
    }
}

TEST(StopLines, ParabolicSarStartsLongAtTheFirstLow) {
    // Highs 10, 11, 12, ... and lows one below: a clean uptrend.
    Columns c;
    for (int i = 0; i < 40; ++i) {
        c.high.push_back(10.0 + i);
        c.low.push_back(9.0 + i);
        c.close.push_back(9.5 + i);
    }
    auto result = c.Result();
    ParabolicSar(result.data(), c.high.data(), c.low.data(), c.close.data(), c.last());
    EXPECT_EQ(result[0], 9.0);
    EXPECT_EQ(result[1], 9.0);  // the first steps are held at the first low
    EXPECT_EQ(result[2], 9.0);
    const double a1 = ToDouble(Extended(0.02) + 0.02);
    const double a2 = ToDouble(Extended(a1) + 0.02);
    EXPECT_EQ(result[3], ToDouble(9.0L + Extended(a2) * 3.0L));
    // Once the acceleration reaches its cap the stop moves 0.2 of the way to the high.
    for (int k = 20; k < 39; ++k) {
        EXPECT_EQ(result[k + 1], ToDouble(Extended(result[k]) + Extended(0.2) * (Extended(c.high[k]) - result[k]))) << k;
        EXPECT_LT(result[k + 1], c.low[k + 1]);
    }
    // A bar falling through the stop turns short at the extreme high.
    Columns turn = c;
    for (auto* column : {&turn.high, &turn.low, &turn.close}) column->resize(5);
    turn.high[4] = 9.0;
    turn.low[4] = 8.0;
    auto turned = turn.Result();
    ParabolicSar(turned.data(), turn.high.data(), turn.low.data(), turn.close.data(), turn.last());
    EXPECT_EQ(turned[4], 13.0);
    // One bar: the low.
    auto one = c.Result();
    ParabolicSar(one.data(), c.high.data(), c.low.data(), c.close.data(), 0);
    EXPECT_EQ(one[0], 9.0);
    EXPECT_EQ(one[1], kUntouched);
}

TEST(StopLines, SwingTrendSteps) {
    Columns c;
    c.high = {10.0, 11.0, 12.0, 11.0, 10.0, 9.5, 9.8, 10.5};
    c.low = {9.0, 10.0, 11.0, 9.5, 9.0, 8.5, 9.0, 9.5};
    c.close = c.low;
    auto result = c.Result();
    SwingTrend(result.data(), c.high.data(), c.low.data(), c.close.data(), c.last());
    // Raise to 12, hold, turn down at 9, lower to 8.5, hold, turn up at 10.5.
    EXPECT_EQ(result, (std::vector<double>{10.0, 0.0, 12.0, 12.0, 9.0, 8.5, 8.5, 10.5}));
    // A channel of one bar is the plain swing line.
    auto channel = c.Result();
    ChannelSwingTrend(channel.data(), c.high.data(), c.low.data(), c.close.data(), c.last(), 1);
    EXPECT_EQ(channel, result);
}

TEST(StopLines, SwingLinesOnSteadyAndConstantSeries) {
    const Columns rise = Ramp(30, 0.5);
    auto result = rise.Result();
    SwingTrend(result.data(), rise.high.data(), rise.low.data(), rise.close.data(), rise.last());
    EXPECT_EQ(result[0], rise.high[0]);
    EXPECT_EQ(result[1], 0.0);
    for (int i = 2; i < 30; ++i) EXPECT_EQ(result[i], rise.high[i]);

    const Columns flat = Flat(30, 1.25);
    for (std::int32_t n : {1, 5, 100}) {
        auto channel = flat.Result();
        ChannelSwingTrend(channel.data(), flat.high.data(), flat.low.data(), flat.close.data(), flat.last(), n);
        EXPECT_EQ(channel[1], 0.0);
        for (int i = 0; i < 30; ++i) {
            if (i != 1) {
                EXPECT_EQ(channel[i], 1.25) << n;
            }
        }
    }
    auto swing = flat.Result();
    SwingTrend(swing.data(), flat.high.data(), flat.low.data(), flat.close.data(), flat.last());
    EXPECT_EQ(swing[0], 1.25);
    EXPECT_EQ(swing[29], 1.25);
    // An empty channel (n < 1) is 0 throughout.
    auto empty = flat.Result();
    ChannelSwingTrend(empty.data(), flat.high.data(), flat.low.data(), flat.close.data(), flat.last(), 0);
    for (double v : empty) EXPECT_EQ(v, 0.0);
}

TEST(StopLines, ChannelOfOneBarIsSwingTrendOnRealHistories) {
    for (const auto& shape : {testing::kYenPair, testing::kEuroPair}) {
        const Columns c = FromHistory(testing::MakeHistory(1001, shape));
        auto swing = c.Result();
        auto channel = c.Result();
        SwingTrend(swing.data(), c.high.data(), c.low.data(), c.close.data(), c.last());
        ChannelSwingTrend(channel.data(), c.high.data(), c.low.data(), c.close.data(), c.last(), 1);
        EXPECT_EQ(swing, channel);
    }
}

TEST(StopLines, WatrTrailingStopWorkedExample) {
    // Closes 10, 11, 12 with high and low half a point away: the true range
    // reaching from the previous low to the current high is 2.
    const Columns c = Ramp(3, 1.0);
    Columns shifted = c;
    for (int i = 0; i < 3; ++i) {
        shifted.close[static_cast<std::size_t>(i)] -= 90.0;
        shifted.high[static_cast<std::size_t>(i)] -= 90.0;
        shifted.low[static_cast<std::size_t>(i)] -= 90.0;
    }
    auto one = shifted.Result();
    WatrTrailingStop(one.data(), shifted.high.data(), shifted.low.data(), shifted.close.data(), 2, 1, 2.0);
    EXPECT_EQ(one, (std::vector<double>{10.0, 7.0, 8.0}));
    // With n = 2 the first average weighs T[0] = 0 once and T[1] = 2 twice.
    auto two = shifted.Result();
    WatrTrailingStop(two.data(), shifted.high.data(), shifted.low.data(), shifted.close.data(), 2, 2, 2.0);
    EXPECT_EQ(two[1], ToDouble(11.0L - 2.0L * ToDouble(4.0L / 3.0L)));
}

TEST(StopLines, TrailingStopsOnConstantSeries) {
    const Columns flat = Flat(120, 1.3071);
    auto watr = flat.Result();
    WatrTrailingStop(watr.data(), flat.high.data(), flat.low.data(), flat.close.data(), flat.last(), 21, 3.0);
    for (double v : watr) EXPECT_EQ(v, 1.3071);
    auto percent = flat.Result();
    PercentTrailingStop(percent.data(), flat.close.data(), 0.0, flat.last());
    for (double v : percent) EXPECT_EQ(v, 1.3071);
}

TEST(StopLines, PercentTrailingStopRunWindow) {
    const double f = ToDouble(1.0L - 0.01L * 15.0);
    // A rise to a peak of 200 at bar 10, then 180 (above the stop 170, so no
    // crossing): the stop holds 0.85 * 200 while the peak is among the last
    // 50 bars of the run.
    std::vector<double> series(80, 180.0);
    for (int i = 0; i < 10; ++i) series[static_cast<std::size_t>(i)] = 190.0 + i;
    series[10] = 200.0;
    std::vector<double> result(series.size(), kUntouched);
    PercentTrailingStop(result.data(), series.data(), 15.0, 79);
    EXPECT_EQ(result[0], ToDouble(Extended(190.0) * f));  // bar 0 counts as falling
    for (int i = 1; i < 10; ++i) EXPECT_EQ(result[i], ToDouble(Extended(series[i]) * f)) << i;
    for (int i = 10; i <= 59; ++i) EXPECT_EQ(result[i], ToDouble(Extended(200.0) * f)) << i;
    for (int i = 60; i < 80; ++i) EXPECT_EQ(result[i], ToDouble(Extended(180.0) * f)) << i;

    // A crossing restarts the run: after the drop to 80 the window forgets the 100s.
    std::vector<double> drop = {100, 100, 100, 100, 100, 80, 80, 90};
    std::vector<double> dropped(drop.size(), kUntouched);
    PercentTrailingStop(dropped.data(), drop.data(), 15.0, 7);
    EXPECT_EQ(dropped[4], ToDouble(100.0L * f));
    EXPECT_EQ(dropped[5], ToDouble(80.0L * f));  // falling: the window low, times f
    EXPECT_EQ(dropped[7], ToDouble(90.0L * f));
}

TEST(StopLines, KernelsWriteExactlyTheirBars) {
    const Columns c = FromHistory(testing::MakeHistory(300, testing::kYenPair));
    for (std::int32_t last : {0, 1, 2, 299}) {
        const std::size_t size = static_cast<std::size_t>(last) + 1;
        std::vector<std::vector<double>> outputs(6, std::vector<double>(size, kUntouched));
        RegressionParabolic(outputs[0].data(), c.high.data(), c.low.data(), c.close.data(), 14, last);
        ParabolicSar(outputs[1].data(), c.high.data(), c.low.data(), c.close.data(), last);
        SwingTrend(outputs[2].data(), c.high.data(), c.low.data(), c.close.data(), last);
        ChannelSwingTrend(outputs[3].data(), c.high.data(), c.low.data(), c.close.data(), last, 5);
        WatrTrailingStop(outputs[4].data(), c.high.data(), c.low.data(), c.close.data(), last, 21, 3.0);
        PercentTrailingStop(outputs[5].data(), c.close.data(), 15.0, last);
        for (const auto& out : outputs) {
            for (double v : out) {
                EXPECT_NE(v, kUntouched) << last;
                EXPECT_TRUE(std::isfinite(v));
            }
        }
        EXPECT_EQ(outputs[1][0], c.low[0]);
        EXPECT_EQ(outputs[4][0], c.close[0]);
    }
}

}  // namespace
}  // namespace zentrik
