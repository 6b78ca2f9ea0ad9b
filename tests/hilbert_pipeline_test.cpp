#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "Histories.h"
#include "kernels/Extended.h"
#include "kernels/HilbertPipeline.h"

namespace zentrik {
namespace {

const double kDegrees = ToDouble(180.0L / (4.0L * std::atan(1.0L)));

struct Recorded {
    std::vector<HilbertState> states;  // one per main-loop bar, in order
};

Recorded RunPipeline(const std::vector<double>& x, std::int32_t base, std::int32_t warmUp) {
    Recorded r;
    HilbertPipeline pipeline(x.data(), static_cast<std::int32_t>(x.size()) - 1, base, warmUp, kDegrees);
    while (pipeline.Step()) r.states.push_back(pipeline.State());
    return r;
}

std::vector<double> Prices(int count) {
    return testing::Closes(testing::MakeHistory(count, testing::kYenPair));
}

TEST(HilbertPipeline, MainLoopStartsAtBasePlusThreePlusWarmUp) {
    const std::vector<double> x = Prices(120);
    struct Case {
        std::int32_t base, warmUp, first;
    };
    for (const Case c : {Case{50, 9, 62}, Case{0, 34, 37}, Case{0, 9, 12}}) {
        const Recorded r = RunPipeline(x, c.base, c.warmUp);
        ASSERT_FALSE(r.states.empty());
        EXPECT_EQ(r.states.front().bar, c.first);
        EXPECT_EQ(r.states.back().bar, 119);
        EXPECT_EQ(r.states.size(), static_cast<std::size_t>(120 - c.first));
    }
}

TEST(HilbertPipeline, TooShortSeriesReadsNothing) {
    // The vector is exactly last + 1 long; a read beyond it is caught by the
    // sanitizer build. A base beyond the data is never dereferenced.
    std::vector<double> x(62, 1.0);
    HilbertPipeline mesa(x.data(), 61, 50, 9, kDegrees);
    EXPECT_FALSE(mesa.Step());
    HilbertPipeline none(nullptr, 36, 0, 34, kDegrees);
    EXPECT_FALSE(none.Step());
    std::vector<double> one(63, 1.0);
    HilbertPipeline exact(one.data(), 62, 50, 9, kDegrees);
    EXPECT_TRUE(exact.Step());
    EXPECT_EQ(exact.State().bar, 62);
    EXPECT_FALSE(exact.Step());
}

TEST(HilbertPipeline, PeriodRisesTowardsSixWithoutAMeasurement) {
    // A zero series: Re = Im = 0 on every bar, so the period is only clamped
    // to 6 and damped: 0.2 * 6 + 0.8 * previous.
    const std::vector<double> x(200, 0.0);
    const Recorded r = RunPipeline(x, 0, 9);
    const double expected[] = {1.2, 2.16, 2.928, 3.5424, 4.03392};
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(r.states[k].period, expected[k], 1e-14) << k;
    double previous = 0.0;
    for (const HilbertState& h : r.states) {
        EXPECT_EQ(h.re, 0.0);
        EXPECT_EQ(h.im, 0.0);
        EXPECT_EQ(h.previousPeriod, previous);
        EXPECT_EQ(h.period, ToDouble(Extended(0.2) * 6.0 + Extended(0.8) * previous));
        EXPECT_LE(h.period, 6.0);
        previous = h.period;
    }
    EXPECT_NEAR(r.states.back().period, 6.0, 1e-12);
}

TEST(HilbertPipeline, InPhaseComponentIsTheDetrendedPriceThreeBarsBack) {
    const std::vector<double> x = Prices(400);
    for (const std::int32_t warmUp : {9, 34}) {
        const Recorded r = RunPipeline(x, 0, warmUp);
        for (std::size_t k = 0; k < r.states.size(); ++k) {
            const double expected = k < 3 ? 0.0 : r.states[k - 3].detrended;
            ASSERT_EQ(r.states[k].inPhase, expected) << "bar " << r.states[k].bar;
        }
    }
}

// Reference forms of the filters, evaluated in extended precision straight
// from their definitions; the pipeline rounds state by state, so they agree
// to a few units of the last place.
TEST(HilbertPipeline, StagesFollowTheirDefinitions) {
    const std::vector<double> x = Prices(600);
    const std::int32_t first = 62;
    const Recorded r = RunPipeline(x, 50, 9);
    const auto at = [&](std::int64_t n) -> const HilbertState* {
        return n < first ? nullptr : &r.states[static_cast<std::size_t>(n - first)];
    };
    const auto value = [&](std::int64_t n, double HilbertState::*field) -> Extended {
        const HilbertState* h = at(n);
        return h ? Extended(h->*field) : 0.0L;
    };
    const Extended a = 0.0962, b = 0.5769;
    const auto filter = [&](std::int64_t n, double HilbertState::*field, double adj) {
        return adj * (a * value(n, field) + b * value(n - 2, field) - b * value(n - 4, field) -
                      a * value(n - 6, field));
    };
    const auto close = [](Extended expected, double actual) {
        return std::fabs(Extended(actual) - expected) <= 1e-12L * (1.0L + std::fabs(expected));
    };
    double previousPeriod = 0.0;
    for (std::int64_t n = first; n < 600; ++n) {
        const HilbertState& h = *at(n);
        ASSERT_EQ(h.bar, n);
        ASSERT_EQ(h.odd, n % 2 != 0);
        ASSERT_EQ(h.previousPeriod, previousPeriod);
        ASSERT_EQ(h.adj, ToDouble(Extended(0.075) * previousPeriod + Extended(0.54)));
        const Extended s = (4.0L * x[n] + 3.0L * x[n - 1] + 2.0L * x[n - 2] + x[n - 3]) * Extended(0.1);
        ASSERT_TRUE(close(s, h.smoothed)) << n;
        ASSERT_TRUE(close(filter(n, &HilbertState::smoothed, h.adj), h.detrended)) << n;
        ASSERT_TRUE(close(filter(n, &HilbertState::detrended, h.adj), h.quadrature)) << n;
        ASSERT_TRUE(close(filter(n, &HilbertState::inPhase, h.adj), h.jI)) << n;
        ASSERT_TRUE(close(filter(n, &HilbertState::quadrature, h.adj), h.jQ)) << n;
        const Extended i2 = 0.2L * (Extended(h.inPhase) - h.jQ) + 0.8L * value(n - 1, &HilbertState::i2);
        const Extended q2 = 0.2L * (Extended(h.quadrature) + h.jI) + 0.8L * value(n - 1, &HilbertState::q2);
        ASSERT_TRUE(close(i2, h.i2)) << n;
        ASSERT_TRUE(close(q2, h.q2)) << n;
        const Extended i2p = value(n - 1, &HilbertState::i2), q2p = value(n - 1, &HilbertState::q2);
        ASSERT_TRUE(close(0.2L * (h.i2 * i2p + h.q2 * q2p) + 0.8L * value(n - 1, &HilbertState::re), h.re)) << n;
        ASSERT_TRUE(close(0.2L * (h.i2 * q2p - h.q2 * i2p) + 0.8L * value(n - 1, &HilbertState::im), h.im)) << n;
        // Period: measured, limited to 0.67 .. 1.5 of the previous, 6 .. 50, damped.
        Extended p = previousPeriod;
        if (h.im != 0.0 && h.re != 0.0) p = 360.0L / (std::atan(Extended(h.im) / h.re) * kDegrees);
        p = std::min(p, 1.5L * previousPeriod);
        p = std::max(p, 0.67L * previousPeriod);
        p = std::clamp(p, 6.0L, 50.0L);
        ASSERT_TRUE(close(0.2L * p + 0.8L * previousPeriod, h.period)) << n;
        ASSERT_GE(h.period, 0.0);
        ASSERT_LE(h.period, 50.0);
        previousPeriod = h.period;
    }
}

TEST(HilbertPipeline, BarsBeforeTheBaseAreNotRead) {
    std::vector<double> x = Prices(300);
    const Recorded clean = RunPipeline(x, 50, 9);
    for (int i = 0; i < 50; ++i) x[i] = std::numeric_limits<double>::quiet_NaN();
    const Recorded poisoned = RunPipeline(x, 50, 9);
    ASSERT_EQ(clean.states.size(), poisoned.states.size());
    for (std::size_t k = 0; k < clean.states.size(); ++k) {
        ASSERT_EQ(clean.states[k].period, poisoned.states[k].period);
        ASSERT_EQ(clean.states[k].quadrature, poisoned.states[k].quadrature);
    }
}

}  // namespace
}  // namespace zentrik
