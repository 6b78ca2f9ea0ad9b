// Catalogue numbers 27 .. 199: each family runs the right kernel with the
// right period and post-processing.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "Histories.h"
#include "kernels/AdaptiveAverages.h"
#include "kernels/CandlePatterns.h"
#include "kernels/DirectionalMovement.h"
#include "kernels/Extended.h"
#include "kernels/MomentumOscillators.h"
#include "kernels/MovingAverages.h"
#include "kernels/PriceHelpers.h"
#include "kernels/RangeOscillators.h"
#include "kernels/RegressionForecast.h"
#include "kernels/StopLines.h"
#include "kernels/TrendLines.h"
#include "zentrik/zentrik.h"

namespace zentrik {
namespace {

using testing::kEuroPair;
using testing::kYenPair;
using testing::MakeHistory;

struct Columns {
    explicit Columns(const std::vector<Bar>& bars) : n(static_cast<std::int32_t>(bars.size())), last(n - 1) {
        for (const Bar& b : bars) {
            O.push_back(b.open);
            H.push_back(b.high);
            L.push_back(b.low);
            C.push_back(b.close);
        }
        for (auto* column : {&O, &H, &L, &C}) column->resize(column->size() + 5, 0.0);
    }
    std::vector<double> O, H, L, C;
    std::int32_t n, last;
    std::vector<double> Series() const { return std::vector<double>(static_cast<std::size_t>(n) + 5, 0.0); }
};

std::vector<double> Catalogue(int number, const std::vector<Bar>& bars) {
    std::vector<double> result(bars.size(), -1.0);
    EXPECT_EQ(Indikator(number, result.data(), static_cast<std::int32_t>(bars.size()), bars.data()), ZENTRIK_OK)
        << "number " << number;
    return result;
}

// Expected results built from the kernels directly.
std::vector<double> Change(const Columns& c, const std::vector<double>& x, int from) {
    std::vector<double> r(static_cast<std::size_t>(c.n), 0.0);
    for (int i = from; i < c.n; ++i) r[i] = ToDouble(Extended(x[i]) - x[i - 1]);
    return r;
}
std::vector<double> Spread(const Columns& c, const std::vector<double>& x, const std::vector<double>& y, int from) {
    std::vector<double> r(static_cast<std::size_t>(c.n), 0.0);
    for (int i = from; i < c.n; ++i) r[i] = ToDouble(Extended(x[i]) - y[i]);
    return r;
}
std::vector<double> Crossing(const Columns& c, const std::vector<double>& x, const std::vector<double>& y) {
    std::vector<double> r(static_cast<std::size_t>(c.n), 0.0);
    for (int i = 15; i < c.n; ++i) r[i] = ToDouble((Extended(x[i]) - y[i]) * (Extended(x[i - 1]) - y[i - 1]));
    return r;
}
std::vector<double> Direct(const Columns& c, const std::function<void(double*)>& kernel) {
    std::vector<double> r = c.Series();
    kernel(r.data());
    r.resize(static_cast<std::size_t>(c.n));
    return r;
}

struct FamilyCase {
    int number;
    std::function<std::vector<double>(const Columns&)> expected;
};

const FamilyCase kCases[] = {
    {27, [](const Columns& c) { auto s = c.Series(); AverageDirectionalMovement(c.H.data(), c.L.data(), c.C.data(), c.last, 3, s.data()); return Change(c, s, 15); }},
    {36, [](const Columns& c) { auto s = c.Series(); AverageDirectionalMovement(c.H.data(), c.L.data(), c.C.data(), c.last, 216, s.data()); return Change(c, s, 15); }},
    {37, [](const Columns& c) { auto s = c.Series(); SlowStochastic(s.data(), c.H.data(), c.L.data(), c.C.data(), 3, 8, c.last); return Change(c, s, 15); }},
    {43, [](const Columns& c) { auto s = c.Series(); SlowStochastic(s.data(), c.H.data(), c.L.data(), c.C.data(), 3, 127, c.last); return Change(c, s, 15); }},
    {44, [](const Columns& c) { return Direct(c, [&](double* r) { MomentumPerMille(r, c.C.data(), 5, c.last); }); }},
    {50, [](const Columns& c) { return Direct(c, [&](double* r) { MomentumPerMille(r, c.C.data(), 89, c.last); }); }},
    {51, [](const Columns& c) { return Direct(c, [&](double* r) { RelativeStrength(r, c.C.data(), 8, c.last); }); }},
    {53, [](const Columns& c) { return Direct(c, [&](double* r) { RelativeStrength(r, c.C.data(), 21, c.last); }); }},
    {54, [](const Columns& c) { auto s = c.Series(); RegressionParabolic(s.data(), c.H.data(), c.L.data(), c.C.data(), 8, c.last); return Spread(c, s, c.H, 15); }},
    {57, [](const Columns& c) { auto s = c.Series(); RegressionParabolic(s.data(), c.H.data(), c.L.data(), c.C.data(), 5, c.last); return Spread(c, c.L, s, 15); }},
    {59, [](const Columns& c) { auto s = c.Series(); RegressionParabolic(s.data(), c.H.data(), c.L.data(), c.C.data(), 13, c.last); return Spread(c, c.L, s, 15); }},
    {60, [](const Columns& c) { auto s = c.Series(); MacdLine(s.data(), c.C.data(), 3, 8, c.last); return Change(c, s, 15); }},
    {63, [](const Columns& c) { auto a = c.Series(), b = c.Series(); KaufmanAdaptiveAverage(a.data(), c.C.data(), c.last); LinRegLine14Late(b.data(), c.C.data(), c.last); return Spread(c, a, b, 100); }},
    {64, [](const Columns& c) { auto a = c.Series(), b = c.Series(); MesaAdaptiveAverage(a.data(), c.C.data(), c.last); LinRegLine14Late(b.data(), c.C.data(), c.last); return Spread(c, a, b, 100); }},
    {65, [](const Columns& c) { return Direct(c, [&](double* r) { SlowStochastic(r, c.H.data(), c.L.data(), c.C.data(), 3, 8, c.last); }); }},
    {78, [](const Columns& c) { std::vector<double> r(c.n, 0.0); for (int i = 15; i < c.n; ++i) r[i] = ToDouble(Extended(c.H[i]) - WindowMax(c.H.data(), 55, i - 1)); return r; }},
    {85, [](const Columns& c) { return Direct(c, [&](double* r) { MacdLine(r, c.C.data(), 3, 127, c.last); }); }},
    {100, [](const Columns& c) { std::vector<double> r(c.n, 0.0); for (int i = 15; i < c.n; ++i) r[i] = TrendSlopeAngle(c.C.data(), i - 13, i + 1); return r; }},
    {111, [](const Columns& c) { std::vector<double> r(c.n, 0.0); for (int i = 15; i < c.n; ++i) r[i] = ToDouble(Extended(c.L[i]) - WindowMin(c.L.data(), 34, i - 1)); return r; }},
    {117, [](const Columns& c) { return Direct(c, [&](double* r) { TripleStochastic(r, c.H.data(), c.L.data(), c.C.data(), c.last); }); }},
    {118, [](const Columns& c) { auto s = c.Series(); FastStochastic(s.data(), c.H.data(), c.L.data(), c.C.data(), 3, 5, c.last); return Change(c, s, 15); }},
    {124, [](const Columns& c) { return Direct(c, [&](double* r) { CommodityChannel(r, c.C.data(), c.H.data(), c.L.data(), 3, 8, c.last); }); }},
    {136, [](const Columns& c) { return Direct(c, [&](double* r) { CommodityChannel(r, c.C.data(), c.H.data(), c.L.data(), 8, 127, c.last); }); }},
    {137, [](const Columns& c) { auto a = c.Series(), b = c.Series(); SimpleAverage(a.data(), c.C.data(), 8, c.last); SimpleAverage(b.data(), c.C.data(), 13, c.last); return Crossing(c, a, b); }},
    {147, [](const Columns& c) { auto a = c.Series(), b = c.Series(); SimpleAverage(a.data(), c.C.data(), 13, c.last); SimpleAverage(b.data(), c.C.data(), 127, c.last); return Crossing(c, a, b); }},
    {148, [](const Columns& c) { auto a = c.Series(), b = c.Series(); ExponentialAverage(a.data(), c.C.data(), 8, c.last); ExponentialAverage(b.data(), c.C.data(), 13, c.last); return Crossing(c, a, b); }},
    {158, [](const Columns& c) { auto a = c.Series(), b = c.Series(); ExponentialAverage(a.data(), c.C.data(), 13, c.last); ExponentialAverage(b.data(), c.C.data(), 127, c.last); return Crossing(c, a, b); }},
    {167, [](const Columns& c) { return Direct(c, [&](double* r) { AverageDirectionalMovement(c.H.data(), c.L.data(), c.C.data(), c.last, 127, r); }); }},
    {168, [](const Columns& c) { return Direct(c, [&](double* r) { PriceChannelRange(r, c.H.data(), c.L.data(), c.C.data(), 3, c.last); }); }},
    {181, [](const Columns& c) { return Direct(c, [&](double* r) { CandlePattern(r, c.O.data(), c.H.data(), c.L.data(), c.C.data(), 5, c.last); }); }},
    {194, [](const Columns& c) { return Direct(c, [&](double* r) { DirectionalMovementIndex(r, c.H.data(), c.L.data(), 127, c.last); }); }},
    {195, [](const Columns& c) { return Direct(c, [&](double* r) { HilbertTrendline(r, c.C.data(), c.last); }); }},
    {196, [](const Columns& c) { auto s = c.Series(); TypicalPrice(s.data(), c.H.data(), c.L.data(), c.C.data(), c.last); return Change(c, s, 15); }},
    {198, [](const Columns& c) { auto s = c.Series(); WatrTrailingStop(s.data(), c.H.data(), c.L.data(), c.C.data(), c.last, 21, 3.0); return Spread(c, s, c.C, 100); }},
    {199, [](const Columns& c) { auto s = c.Series(); PercentTrailingStop(s.data(), c.C.data(), 15.0, c.last); return Spread(c, s, c.C, 100); }},
};

TEST(CatalogueFamilies, NumbersRunTheirKernelsWithTheTablePeriods) {
    for (const auto& shape : {kYenPair, kEuroPair}) {
        const auto bars = MakeHistory(1001, shape);
        const Columns columns(bars);
        for (const FamilyCase& c : kCases) {
            EXPECT_EQ(Catalogue(c.number, bars), c.expected(columns)) << "number " << c.number;
        }
    }
}

TEST(CatalogueFamilies, WarmUpBarsStayZero) {
    const auto bars = MakeHistory(1001, kYenPair);
    auto zeroUpTo = [&](int number, int lastZero) {
        const auto r = Catalogue(number, bars);
        for (int i = 0; i <= lastZero; ++i) ASSERT_EQ(r[i], 0.0) << "number " << number << " bar " << i;
    };
    for (int number : {27, 36, 37, 43, 54, 62, 72, 78, 86, 99, 100, 106, 118, 137, 196, 197}) zeroUpTo(number, 14);
    for (int number : {63, 64, 198, 199}) zeroUpTo(number, 99);
    for (int number = 148; number <= 158; ++number) zeroUpTo(number, 51);
    // With 15 bars the families that start at bar 15 write nothing.
    const auto shortBars = MakeHistory(15, kYenPair);
    for (int number : {27, 60, 72, 86, 100, 137, 197}) {
        for (double v : Catalogue(number, shortBars)) EXPECT_EQ(v, 0.0) << number;
    }
}

TEST(CatalogueFamilies, HighAgainstEarlierHighs) {
    std::vector<Bar> bars = testing::FlatHistory(40, 110.0);
    bars[20].high = 111.0;  // a new high: positive
    bars[25].high = 111.0;  // equal to the highest of the three before: 0
    bars[24].high = 111.0;
    const auto r = Catalogue(72, bars);
    EXPECT_GT(r[20], 0.0);
    EXPECT_EQ(r[25], 0.0);
    const auto low = Catalogue(106, bars);
    EXPECT_EQ(low[20], 0.0);
}

TEST(CatalogueFamilies, MovementPotentialsVanishAtNewExtremes) {
    const auto bars = MakeHistory(1001, kYenPair);
    for (int number = 86; number <= 92; ++number) {
        const int period = std::vector<int>{8, 13, 21, 34, 55, 89, 127}[number - 86];
        const auto r = Catalogue(number, bars);
        std::vector<double> highs;
        for (const Bar& b : bars) highs.push_back(b.high);
        for (int i = 15; i < 1001; ++i) {
            if (WindowMax(highs.data(), period, i) == highs[i]) {
                ASSERT_EQ(r[i], 0.0) << number << " " << i;
            }
            ASSERT_GE(r[i], 0.0);
        }
    }
    for (int number = 93; number <= 99; ++number) {
        for (double v : Catalogue(number, bars)) ASSERT_GE(v, 0.0);
    }
}

TEST(CatalogueFamilies, CandleColourRatio) {
    std::vector<Bar> rising = testing::FlatHistory(200, 110.0);
    for (Bar& b : rising) {
        b.close = 110.5;
        b.high = 111.0;
    }
    const auto r = Catalogue(112, rising);  // P = 8: defined from bar 15
    for (int i = 15; i < 200; ++i) EXPECT_EQ(r[i], 100.0) << i;
    for (int i = 0; i < 15; ++i) EXPECT_LT(r[i], 100.0) << "early bars average the zero-filled start";
    const auto doji = Catalogue(116, testing::FlatHistory(200, 110.0));
    for (double v : doji) EXPECT_EQ(v, 0.0);
}

TEST(CatalogueFamilies, AlligatorStateIsAFourBitNumber) {
    for (const auto& shape : {kYenPair, kEuroPair}) {
        const auto r = Catalogue(197, MakeHistory(1001, shape));
        for (int i = 0; i < 15; ++i) EXPECT_EQ(r[i], 0.0);
        bool someNonZero = false;
        for (double v : r) {
            EXPECT_GE(v, 0.0);
            EXPECT_LE(v, 15.0);
            EXPECT_EQ(v, static_cast<int>(v));
            someNonZero = someNonZero || v != 0.0;
        }
        EXPECT_TRUE(someNonZero);
    }
}

}  // namespace
}  // namespace zentrik
