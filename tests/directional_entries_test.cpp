// Named entries of the directional-movement lines and the parabolic stops.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "Histories.h"
#include "kernels/DirectionalMovement.h"
#include "kernels/StopLines.h"
#include "zentrik/zentrik.h"

namespace zentrik {
namespace {

using testing::kEuroPair;
using testing::kYenPair;
using testing::MakeHistory;

// Price columns of count + 5 doubles, as the frame prepares them.
struct Columns {
    std::vector<double> high, low, close;
    std::int32_t count, last;
    explicit Columns(const std::vector<Bar>& bars)
        : high(bars.size() + 5, 0.0), low(bars.size() + 5, 0.0), close(bars.size() + 5, 0.0),
          count(static_cast<std::int32_t>(bars.size())), last(count - 1) {
        for (std::size_t i = 0; i < bars.size(); ++i) {
            high[i] = bars[i].high;
            low[i] = bars[i].low;
            close[i] = bars[i].close;
        }
    }
};

using Entry0 = std::int32_t (*)(double*, std::int32_t, const Bar*);
using Entry1 = std::int32_t (*)(double*, std::int32_t, const Bar*, std::int32_t);

struct WithPeriod {
    const char* name;
    Entry1 entry;
    std::function<void(double*, const Columns&, std::int32_t)> kernel;
};

const std::vector<WithPeriod>& EntriesWithPeriod() {
    static const std::vector<WithPeriod> entries = {
        {"AvgDirMov", AvgDirMov,
         [](double* r, const Columns& c, std::int32_t p) {
             AverageDirectionalMovement(c.high.data(), c.low.data(), c.close.data(), c.last, p, r);
         }},
        {"DMI", DMI,
         [](double* r, const Columns& c, std::int32_t p) {
             DirectionalMovementIndex(r, c.high.data(), c.low.data(), p, c.last);
         }},
        {"PlusDM", PlusDM,
         [](double* r, const Columns& c, std::int32_t p) { SmoothedPlusDm(r, c.high.data(), c.low.data(), p, c.count); }},
        {"MinusDM", MinusDM,
         [](double* r, const Columns& c, std::int32_t p) { SmoothedMinusDm(r, c.high.data(), c.low.data(), p, c.count); }},
        {"Parabolic", Parabolic,
         [](double* r, const Columns& c, std::int32_t p) {
             RegressionParabolic(r, c.high.data(), c.low.data(), c.close.data(), p, c.last);
         }},
    };
    return entries;
}

struct WithoutPeriod {
    const char* name;
    Entry0 entry;
    std::function<void(double*, const Columns&)> kernel;
};

const std::vector<WithoutPeriod>& EntriesWithoutPeriod() {
    static const std::vector<WithoutPeriod> entries = {
        {"ADX", ADX, [](double* r, const Columns& c) { DirectionalSpread(r, c.high.data(), c.low.data(), c.last); }},
        {"SAR", SAR,
         [](double* r, const Columns& c) { ParabolicSar(r, c.high.data(), c.low.data(), c.close.data(), c.last); }},
    };
    return entries;
}

// Bitwise comparison that also treats equal NaNs as equal.
void ExpectSameBits(const std::vector<double>& a, const std::vector<double>& b, const char* name) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        ASSERT_TRUE(a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i]))) << name << " bar " << i;
    }
}

TEST(DirectionalEntries, EntriesEqualTheirKernelsOnYenAndEuroHistories) {
    for (const auto& shape : {kYenPair, kEuroPair}) {
        for (int count : {1001, 260}) {
            const std::vector<Bar> bars = MakeHistory(count, shape);
            const Columns columns(bars);
            for (const WithPeriod& e : EntriesWithPeriod()) {
                for (std::int32_t period : {3, 14, 55}) {
                    std::vector<double> result(bars.size(), 99.0);
                    ASSERT_EQ(e.entry(result.data(), count, bars.data(), period), ZENTRIK_OK) << e.name;
                    std::vector<double> expected(bars.size(), 0.0);
                    e.kernel(expected.data(), columns, period);
                    ExpectSameBits(result, expected, e.name);
                }
            }
            for (const WithoutPeriod& e : EntriesWithoutPeriod()) {
                std::vector<double> result(bars.size(), 99.0);
                ASSERT_EQ(e.entry(result.data(), count, bars.data()), ZENTRIK_OK) << e.name;
                std::vector<double> expected(bars.size(), 0.0);
                e.kernel(expected.data(), columns);
                ExpectSameBits(result, expected, e.name);
            }
        }
    }
}

TEST(DirectionalEntries, ClearedBarsAndFirstValues) {
    const std::vector<Bar> bars = MakeHistory(300, kYenPair);
    std::vector<double> result(300, 99.0);
    ASSERT_EQ(ADX(result.data(), 300, bars.data()), ZENTRIK_OK);
    EXPECT_EQ(result[0], 0.0);  // DirectionalSpread starts at bar 1
    ASSERT_EQ(DMI(result.data(), 300, bars.data(), 8), ZENTRIK_OK);
    EXPECT_EQ(result[0], 0.0);
    ASSERT_EQ(SAR(result.data(), 300, bars.data()), ZENTRIK_OK);
    EXPECT_EQ(result[0], bars[0].low);
    ASSERT_EQ(PlusDM(result.data(), 300, bars.data(), 60), ZENTRIK_OK);
    EXPECT_EQ(result[99], 50.0);
    for (int i = 100; i <= 108; ++i) EXPECT_EQ(result[i], 0.0);  // the gap of periods above 51
    ASSERT_EQ(Parabolic(result.data(), 200, bars.data(), 14), ZENTRIK_OK);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(result[i], bars[static_cast<std::size_t>(i)].close);
}

TEST(DirectionalEntries, EveryPeriodStaysInsideTheArrays) {
    // The result arrays are exactly `count` long; a sanitizer build reports
    // any access beyond them. No period is refused.
    const std::int32_t periods[] = {INT32_MIN, -100000, -2, 0, 1, 2, 51, 52, 100000, INT32_MAX};
    for (int count : {1, 2, 3, 52, 53, 201, 260}) {
        const std::vector<Bar> bars = MakeHistory(count, kEuroPair);
        for (const WithPeriod& e : EntriesWithPeriod()) {
            for (std::int32_t period : periods) {
                std::vector<double> result(static_cast<std::size_t>(count), 99.0);
                EXPECT_EQ(e.entry(result.data(), count, bars.data(), period), ZENTRIK_OK)
                    << e.name << " period " << period << " count " << count;
            }
        }
        for (const WithoutPeriod& e : EntriesWithoutPeriod()) {
            std::vector<double> result(static_cast<std::size_t>(count), 99.0);
            EXPECT_EQ(e.entry(result.data(), count, bars.data()), ZENTRIK_OK) << e.name << " count " << count;
        }
    }
}

TEST(DirectionalEntries, PeriodMinusOneDividesByZeroInTheSmoothing) {
    const std::vector<Bar> bars = MakeHistory(120, kYenPair);
    std::vector<double> result(120);
    EXPECT_EQ(AvgDirMov(result.data(), 120, bars.data(), -1), ZENTRIK_EZeroDivide);
    EXPECT_EQ(AvgDirMov(result.data(), 120, bars.data(), 14), ZENTRIK_OK);
}

TEST(DirectionalEntries, PeriodsWithoutMeaning) {
    const std::vector<Bar> bars = MakeHistory(300, kYenPair);
    std::vector<double> low(300), two(300);
    // Running sums: periods below 2 are 2.
    ASSERT_EQ(PlusDM(low.data(), 300, bars.data(), -5), ZENTRIK_OK);
    ASSERT_EQ(PlusDM(two.data(), 300, bars.data(), 2), ZENTRIK_OK);
    EXPECT_EQ(low, two);
    // DMI over empty windows is 0.
    ASSERT_EQ(DMI(low.data(), 300, bars.data(), 0), ZENTRIK_OK);
    for (double v : low) EXPECT_EQ(v, 0.0);
    // A regression without a window: only bar 200 starts a leg.
    ASSERT_EQ(Parabolic(low.data(), 300, bars.data(), 0), ZENTRIK_OK);
    for (int i = 0; i < 300; ++i) {
        if (i != 200) {
            EXPECT_EQ(low[i], bars[static_cast<std::size_t>(i)].close) << i;
        }
    }
    EXPECT_GT(low[200], bars[200].close);
}

TEST(DirectionalEntries, RefusedCallsTouchNothing) {
    const std::vector<Bar> bars = MakeHistory(10, kYenPair);
    std::vector<double> result(10, 5.0);
    for (const WithPeriod& e : EntriesWithPeriod()) {
        EXPECT_EQ(e.entry(result.data(), 0, bars.data(), 14), ZENTRIK_ERangeError) << e.name;
        EXPECT_EQ(e.entry(result.data(), -3, bars.data(), 14), ZENTRIK_ERangeError) << e.name;
        EXPECT_EQ(e.entry(nullptr, 10, bars.data(), 14), ZENTRIK_EAccessViolation) << e.name;
        EXPECT_EQ(e.entry(result.data(), 10, nullptr, 14), ZENTRIK_EAccessViolation) << e.name;
    }
    for (const WithoutPeriod& e : EntriesWithoutPeriod()) {
        EXPECT_EQ(e.entry(result.data(), 0, bars.data()), ZENTRIK_ERangeError) << e.name;
        EXPECT_EQ(e.entry(nullptr, 10, bars.data()), ZENTRIK_EAccessViolation) << e.name;
    }
    for (double v : result) EXPECT_EQ(v, 5.0);
}

}  // namespace
}  // namespace zentrik
