// Directional-movement kernels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "Histories.h"
#include "kernels/DirectionalMovement.h"
#include "kernels/Extended.h"

namespace zentrik {
namespace {

constexpr double kUntouched = -7.0;

// Columns of a fixture whose result arrays start at kUntouched.
struct Columns : testing::PriceColumnsOf {
    std::vector<double> Result() const { return PriceColumnsOf::Result(kUntouched); }
};

Columns FromHistory(const std::vector<Bar>& bars) { return Columns{testing::ColumnsOf(bars)}; }

// `count` flat bars at 100 with bar `at` replaced by the given high and low;
// the bar after it is flat again at 100.
Columns FlatWithBar(int count, int at, double high, double low) {
    Columns c;
    c.high.assign(static_cast<std::size_t>(count), 100.0);
    c.low.assign(static_cast<std::size_t>(count), 100.0);
    c.close.assign(static_cast<std::size_t>(count), 100.0);
    c.high[static_cast<std::size_t>(at)] = high;
    c.low[static_cast<std::size_t>(at)] = low;
    return c;
}

// Bars whose high and low both rise by `step` on every bar.
Columns SteadyRise(int count, double step, double range) {
    Columns c;
    for (int i = 0; i < count; ++i) {
        c.high.push_back(100.0 + step * i);
        c.low.push_back(100.0 + step * i - range);
        c.close.push_back(100.0 + step * i - range / 2);
    }
    return c;
}

TEST(DirectionalMovement, InsideAndTiedOutsideBarsCountForNeitherSide) {
    // 60 bars of range 99 .. 101 with bar 30 replaced by an inside bar (its
    // successor is then an outside bar moving 0.5 each way) or by an outside
    // bar moving 3 each way (its successor moves -3 each way). No bar moves
    // one side more than the other, so every kernel sees no movement.
    struct Case {
        const char* name;
        double high, low;
    };
    const Case cases[] = {{"inside", 100.5, 99.5}, {"tied outside", 104.0, 96.0}};
    for (const Case& k : cases) {
        Columns c;
        c.high.assign(60, 101.0);
        c.low.assign(60, 99.0);
        c.close.assign(60, 100.0);
        c.high[30] = k.high;
        c.low[30] = k.low;
        auto plus = c.Result();
        auto minus = c.Result();
        SmoothedPlusDm(plus.data(), c.high.data(), c.low.data(), 3, c.count());
        SmoothedMinusDm(minus.data(), c.high.data(), c.low.data(), 3, c.count());
        for (int i = 52; i < 60; ++i) {
            EXPECT_EQ(plus[i], 0.0) << k.name;
            EXPECT_EQ(minus[i], 0.0) << k.name;
        }
        auto adm = c.Result();
        AverageDirectionalMovement(c.high.data(), c.low.data(), c.close.data(), c.last(), 3, adm.data());
        for (double v : adm) EXPECT_EQ(v, 0.0) << k.name;
        auto adx = c.Result();
        WilderAdx(adx.data(), c.high.data(), c.low.data(), c.close.data(), 1, c.count());
        for (int i = 0; i < 52; ++i) EXPECT_EQ(adx[i], kUntouched) << k.name;
        for (int i = 52; i < 60; ++i) EXPECT_EQ(adx[i], 0.0) << k.name;
    }
}

TEST(DirectionalMovement, OneSidedBarDoesCount) {
    // The control case for the previous test: an up move with a smaller
    // down move counts on the plus side only.
    Columns c = FlatWithBar(60, 1, 103.0, 99.0);  // up 3, down 1
    for (int i = 2; i < 60; ++i) {
        c.high[static_cast<std::size_t>(i)] = 103.0;
        c.low[static_cast<std::size_t>(i)] = 99.0;
    }
    auto plus = c.Result();
    auto minus = c.Result();
    SmoothedPlusDm(plus.data(), c.high.data(), c.low.data(), 3, 60);
    SmoothedMinusDm(minus.data(), c.high.data(), c.low.data(), 3, 60);
    // S = 3 after bar 1, then decays by a third on each of bars 3 .. 52.
    double s = 3.0;
    for (int k = 3; k <= 52; ++k) s = ToDouble(Extended(s) - Extended(s) / 3.0L);
    EXPECT_EQ(plus[52], s);
    EXPECT_GT(plus[52], 0.0);
    EXPECT_EQ(minus[52], 0.0);
}

TEST(DirectionalMovement, SmoothedPlusDmPeriodThreeOnSixtyBars) {
    // Every bar rises by 1: each up move counts, S -> S - S/3 + 1 -> 3.
    const Columns c = SteadyRise(60, 1.0, 2.0);
    auto plus = c.Result();
    SmoothedPlusDm(plus.data(), c.high.data(), c.low.data(), 3, c.count());
    for (int i = 0; i <= 51; ++i) EXPECT_EQ(plus[i], 50.0) << i;
    // The decay and the addition are two steps, each stored in S.
    const auto step = [](double s) { return ToDouble(Extended(ToDouble(Extended(s) - Extended(s) / 3.0L)) + 1.0L); };
    double s = 2.0;  // bars 1 and 2
    for (int k = 3; k <= 52; ++k) s = step(s);
    EXPECT_EQ(plus[52], s);
    for (int k = 53; k < 60; ++k) {
        s = step(s);
        EXPECT_EQ(plus[k], s) << k;
    }
    EXPECT_NEAR(plus[59], 3.0, 1e-9);
    // Periods below 2 count as 2.
    auto two = c.Result();
    auto zero = c.Result();
    SmoothedPlusDm(two.data(), c.high.data(), c.low.data(), 2, c.count());
    SmoothedPlusDm(zero.data(), c.high.data(), c.low.data(), -40, c.count());
    EXPECT_EQ(two, zero);
    // The minus side of the mirror image gives the same numbers.
    Columns mirror;
    for (int i = 0; i < 60; ++i) {
        mirror.high.push_back(-c.low[static_cast<std::size_t>(i)]);
        mirror.low.push_back(-c.high[static_cast<std::size_t>(i)]);
    }
    auto minus = c.Result();
    SmoothedMinusDm(minus.data(), mirror.high.data(), mirror.low.data(), 3, 60);
    EXPECT_EQ(minus, plus);
}

TEST(DirectionalMovement, RunningSumFillAndGapAtLongPeriods) {
    const Columns c = FromHistory(testing::MakeHistory(200, testing::kYenPair));
    // Period 60: the sum starts at bar 109; bars 100 .. 108 keep the caller's value.
    auto plus = c.Result();
    SmoothedPlusDm(plus.data(), c.high.data(), c.low.data(), 60, c.count());
    for (int i = 0; i < 100; ++i) EXPECT_EQ(plus[i], 50.0);
    for (int i = 100; i <= 108; ++i) EXPECT_EQ(plus[i], kUntouched);
    EXPECT_NE(plus[109], kUntouched);
    // Short histories: only the 50.0 fill, ending at the last bar.
    // Period 3 writes its sum from bar 52 on.
    for (int count : {1, 2, 30, 52}) {
        std::vector<double> result(static_cast<std::size_t>(count), kUntouched);
        SmoothedMinusDm(result.data(), c.high.data(), c.low.data(), 3, count);
        for (double v : result) EXPECT_EQ(v, 50.0) << count;
    }
    // A huge period writes the fill and nothing else.
    auto huge = c.Result();
    SmoothedPlusDm(huge.data(), c.high.data(), c.low.data(), INT32_MAX, c.count());
    for (int i = 100; i < 200; ++i) EXPECT_EQ(huge[i], kUntouched);
}

TEST(DirectionalMovement, WilderAdxWarmUpAndValues) {
    const Columns c = FromHistory(testing::MakeHistory(400, testing::kEuroPair));
    for (int n : {-5, 0, 1, 14}) {
        const int period = n < 1 ? 1 : n;
        const int first = 2 * period + 50;
        // One bar short of the warm-up: nothing is written.
        std::vector<double> few(static_cast<std::size_t>(first), kUntouched);
        WilderAdx(few.data(), c.high.data(), c.low.data(), c.close.data(), n, first);
        for (double v : few) EXPECT_EQ(v, kUntouched) << n;
        auto adx = c.Result();
        WilderAdx(adx.data(), c.high.data(), c.low.data(), c.close.data(), n, c.count());
        for (int i = 0; i < first; ++i) EXPECT_EQ(adx[i], kUntouched) << n;
        for (int i = first; i < c.count(); ++i) {
            EXPECT_GE(adx[i], 0.0) << n << " " << i;
            EXPECT_LE(adx[i], 100.0) << n << " " << i;
        }
    }
    // A pure uptrend has DX = 100 on every bar, and so does the average.
    const Columns up = SteadyRise(100, 0.5, 1.0);
    auto adx = up.Result();
    WilderAdx(adx.data(), up.high.data(), up.low.data(), up.close.data(), 5, up.count());
    for (int i = 60; i < 100; ++i) EXPECT_EQ(adx[i], 100.0) << i;
    // No movement at all: DX is 0, without a 0/0.
    const Columns flat = FlatWithBar(80, 0, 100.0, 100.0);
    auto zero = flat.Result();
    WilderAdx(zero.data(), flat.high.data(), flat.low.data(), flat.close.data(), 3, flat.count());
    for (int i = 56; i < 80; ++i) EXPECT_EQ(zero[i], 0.0) << i;
    // A huge period needs more bars than any history has.
    auto huge = c.Result();
    WilderAdx(huge.data(), c.high.data(), c.low.data(), c.close.data(), INT32_MAX, c.count());
    for (double v : huge) EXPECT_EQ(v, kUntouched);
}

TEST(DirectionalMovement, AverageDirectionalMovementWorkedExample) {
    // Bar 1 moves up 2 with a reach of 4 from the previous low (12 - 8),
    // bar 2 moves down 0.5 with a largest term of 1 (|11 - 12|).
    Columns c;
    c.high = {10.0, 12.0, 11.5};
    c.low = {8.0, 11.5, 11.0};
    c.close = {9.5, 12.0, 11.0};
    auto result = c.Result();
    AverageDirectionalMovement(c.high.data(), c.low.data(), c.close.data(), 2, 3, result.data());
    // a = 0.5: EP = 0, 0.25, 0.125; EM = 0, 0, 0.25.
    const double x1 = 100.0;
    const double x2 = ToDouble(std::fabs((0.125L - 0.25L) * 100.0L / (0.125L + 0.25L + kEpsilon)));
    EXPECT_EQ(result[0], 0.0);
    EXPECT_EQ(result[1], ToDouble(0.5L * x1));
    EXPECT_EQ(result[2], ToDouble(0.5L * x2 + 0.5L * result[1]));
}

TEST(DirectionalMovement, AverageDirectionalMovementOnSteadyUptrend) {
    const Columns c = SteadyRise(300, 0.25, 2.0);
    auto result = c.Result();
    AverageDirectionalMovement(c.high.data(), c.low.data(), c.close.data(), c.last(), 8, result.data());
    EXPECT_EQ(result[0], 0.0);
    for (int i = 2; i < 300; ++i) EXPECT_GE(result[i], result[i - 1]) << i;
    EXPECT_GT(result[299], 99.99);
    EXPECT_LE(result[299], 100.0);
}

TEST(DirectionalMovement, DirectionalSpreadOnSteadyUptrend) {
    // 200 * step / (high - low) = 200 * 0.25 / 2 on every bar from bar 1.
    const Columns c = SteadyRise(50, 0.25, 2.0);
    auto result = c.Result();
    DirectionalSpread(result.data(), c.high.data(), c.low.data(), c.last());
    EXPECT_EQ(result[0], kUntouched);
    for (int i = 1; i < 50; ++i) EXPECT_EQ(result[i], 25.0) << i;
}

TEST(DirectionalMovement, IndexUsesSignedRatiosAndCarriesThemOverFlatBars) {
    Columns c;
    c.high = {10.0, 11.0, 10.5, 10.0};
    c.low = {8.0, 9.0, 10.5, 9.5};
    c.close = {9.0, 10.0, 10.5, 9.75};
    // P = 0.5, (carried) 0.5, -1; M = -0.5, -0.5, 2.
    auto one = c.Result();
    DirectionalMovementIndex(one.data(), c.high.data(), c.low.data(), 1, c.last());
    EXPECT_EQ(one, (std::vector<double>{kUntouched, 1.0, 1.0, -3.0}));
    auto two = c.Result();
    DirectionalMovementIndex(two.data(), c.high.data(), c.low.data(), 2, c.last());
    // Bar 1 averages with P[0] = M[0] = 0.
    EXPECT_EQ(two, (std::vector<double>{kUntouched, 0.5, 1.0, -1.0}));
    auto spread = c.Result();
    DirectionalSpread(spread.data(), c.high.data(), c.low.data(), c.last());
    EXPECT_EQ(spread, (std::vector<double>{kUntouched, 100.0, 100.0, 300.0}));
    // Periods below 1 average empty windows.
    auto none = c.Result();
    DirectionalMovementIndex(none.data(), c.high.data(), c.low.data(), INT32_MIN, c.last());
    EXPECT_EQ(none, (std::vector<double>{kUntouched, 0.0, 0.0, 0.0}));
}

TEST(DirectionalMovement, SingleBarHistories) {
    const Columns c = SteadyRise(1, 1.0, 1.0);
    auto result = c.Result();
    DirectionalMovementIndex(result.data(), c.high.data(), c.low.data(), 3, 0);
    DirectionalSpread(result.data(), c.high.data(), c.low.data(), 0);
    WilderAdx(result.data(), c.high.data(), c.low.data(), c.close.data(), 3, 1);
    EXPECT_EQ(result[0], kUntouched);
    AverageDirectionalMovement(c.high.data(), c.low.data(), c.close.data(), 0, 3, result.data());
    EXPECT_EQ(result[0], 0.0);
}

}  // namespace
}  // namespace zentrik
