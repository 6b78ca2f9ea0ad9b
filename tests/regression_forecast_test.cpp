#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "Histories.h"
#include "kernels/Extended.h"
#include "kernels/RegressionForecast.h"

namespace zentrik {
namespace {

constexpr double kUntouched = -7.0;
using LineKernel = void (*)(double*, const double*, std::int32_t);

std::vector<double> Ramp(int count, double start, double step) {
    std::vector<double> x(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) x[i] = start + step * i;
    return x;
}

std::vector<double> Apply(LineKernel kernel, const std::vector<double>& x) {
    std::vector<double> out(x.size(), kUntouched);
    kernel(out.data(), x.data(), static_cast<std::int32_t>(x.size()) - 1);
    return out;
}

struct LineCase {
    const char* name;
    LineKernel kernel;
    int firstBar;
};
const LineCase kLineKernels[] = {
    {"LinRegLine14", LinRegLine14, 50},
    {"LinRegLine14Late", LinRegLine14Late, 100},
    {"TimeSeriesForecast14", TimeSeriesForecast14, 100},
    {"LinRegAngle14", LinRegAngle14, 50},
};

TEST(RegressionForecast, RiseOfOnePerBar) {
    const std::vector<double> x = Ramp(160, 1000.0, 1.0);
    const auto line = Apply(LinRegLine14, x);
    const auto late = Apply(LinRegLine14Late, x);
    const auto tsf = Apply(TimeSeriesForecast14, x);
    const auto angle = Apply(LinRegAngle14, x);
    for (int i = 50; i < 160; ++i) {
        ASSERT_EQ(line[i], x[i]) << i;
        ASSERT_EQ(angle[i], 57.29577951308232) << i;
    }
    for (int i = 100; i < 160; ++i) {
        ASSERT_EQ(late[i], x[i]) << i;
        ASSERT_EQ(tsf[i], x[i] + 1.0) << i;
    }
}

TEST(RegressionForecast, ConstantSeriesIsFlat) {
    for (const double level : {1.25, 110.37}) {
        const std::vector<double> x(130, level);
        const auto line = Apply(LinRegLine14, x);
        const auto tsf = Apply(TimeSeriesForecast14, x);
        const auto angle = Apply(LinRegAngle14, x);
        for (int i = 100; i < 130; ++i) {
            EXPECT_NEAR(line[i], level, 1e-12 * level);
            EXPECT_NEAR(tsf[i], level, 1e-12 * level);
            EXPECT_NEAR(angle[i], 0.0, 1e-9);
        }
        if (level == 1.25) {  // exact binary values: exact results
            EXPECT_EQ(line[120], 1.25);
            EXPECT_EQ(angle[120], 0.0);
        }
    }
}

TEST(RegressionForecast, EachKernelWritesExactlyItsBars) {
    const std::vector<double> x = testing::Closes(testing::MakeHistory(140, testing::kYenPair));
    for (const LineCase& k : kLineKernels) {
        const auto out = Apply(k.kernel, x);
        for (int i = 0; i < 140; ++i) {
            if (i < k.firstBar) {
                ASSERT_EQ(out[i], kUntouched) << k.name << " " << i;
            } else {
                ASSERT_NE(out[i], kUntouched) << k.name << " " << i;
            }
        }
        // A history that ends before the first bar: nothing written.
        const std::vector<double> shortX(x.begin(), x.begin() + k.firstBar);
        for (double v : Apply(k.kernel, shortX)) ASSERT_EQ(v, kUntouched) << k.name;
    }
    const auto line = Apply(LinRegLine14, x);
    const auto late = Apply(LinRegLine14Late, x);
    for (int i = 100; i < 140; ++i) EXPECT_EQ(line[i], late[i]);
}

TEST(RegressionForecast, LineValueMatchesAnIndependentFit) {
    // Least squares over bars i-13 .. i by the normal equations.
    const std::vector<double> x = testing::Closes(testing::MakeHistory(200, testing::kEuroPair));
    const auto line = Apply(LinRegLine14, x);
    const auto tsf = Apply(TimeSeriesForecast14, x);
    const auto angle = Apply(LinRegAngle14, x);
    for (int i = 100; i < 200; ++i) {
        long double mx = 0, my = 0;
        for (int t = 0; t < 14; ++t) mx += t, my += x[i - 13 + t];
        mx /= 14, my /= 14;
        long double sxy = 0, sxx = 0;
        for (int t = 0; t < 14; ++t) sxy += (t - mx) * (x[i - 13 + t] - my), sxx += (t - mx) * (t - mx);
        const long double m = sxy / sxx;
        EXPECT_NEAR(line[i], static_cast<double>(my + m * (13 - mx)), 1e-12);
        EXPECT_NEAR(tsf[i], static_cast<double>(my + m * (14 - mx)), 1e-12);
        EXPECT_NEAR(angle[i], static_cast<double>(m * 57.29577951308232L), 1e-10);
    }
}

TEST(RegressionForecast, LinRegLineNWindows) {
    const std::vector<double> x = testing::Closes(testing::MakeHistory(120, testing::kYenPair));
    struct Case {
        std::int32_t n;
        bool fits;
    };
    for (const Case c : {Case{-1, false}, Case{0, false}, Case{1, true}, Case{14, true}, Case{51, true},
                         Case{52, false}, Case{std::numeric_limits<std::int32_t>::max(), false},
                         Case{std::numeric_limits<std::int32_t>::min(), false}}) {
        EXPECT_EQ(LinRegLineNWindowFits(c.n), c.fits) << c.n;
        std::vector<double> out(120, kUntouched);
        LinRegLineN(out.data(), x.data(), 119, c.n);
        for (int i = 0; i < 50; ++i) ASSERT_EQ(out[i], kUntouched) << c.n;
        ASSERT_EQ(out[50] != kUntouched, c.fits) << c.n;
    }
    std::vector<double> n14(120, kUntouched), one(120, kUntouched);
    LinRegLineN(n14.data(), x.data(), 119, 14);
    EXPECT_EQ(n14, Apply(LinRegLine14, x));
    LinRegLineN(one.data(), x.data(), 119, 1);  // one point: the flat line through it
    for (int i = 50; i < 120; ++i) EXPECT_EQ(one[i], x[i]);
    // n = 51 at bar 50 spans bars 0 .. 50; a ramp is reproduced exactly.
    const std::vector<double> ramp = Ramp(60, 3.0, 1.0);
    std::vector<double> wide(60, kUntouched);
    LinRegLineN(wide.data(), ramp.data(), 59, 51);
    for (int i = 50; i < 60; ++i) EXPECT_EQ(wide[i], ramp[i]);
}

TEST(RegressionForecast, LogTrendAngleTakesRatiosFromOneHalfToTwo) {
    // Prices 1, 2, 1, 2, ... (ratios exactly 2 and 0.5, both taken), except
    // that bar 91 is 2.0001: the ratio 2.0001 at bar 91 and the fall back at
    // bar 92 (below 0.5) are not taken, and those bars get the log-return 0.
    std::vector<double> price(140);
    for (int i = 0; i < 140; ++i) price[i] = i % 2 == 0 ? 1.0 : 2.0;
    price[91] = 2.0001;
    std::vector<double> returns(140, 0.0);
    const double ln2 = ToDouble(std::log(2.0L));
    const double lnHalf = ToDouble(std::log(0.5L));
    for (int j = 1; j < 140; ++j) returns[j] = j % 2 == 1 ? ln2 : lnHalf;
    returns[91] = 0.0;
    returns[92] = 0.0;
    std::vector<double> expected(140, kUntouched), actual(140, kUntouched);
    LinRegAngle14(expected.data(), returns.data(), 139);
    LogTrendAngle(actual.data(), price.data(), 140);
    EXPECT_EQ(actual, expected);
    EXPECT_NE(actual[100], 0.0);  // the skipped bars are inside this window
    for (int i = 0; i < 50; ++i) EXPECT_EQ(actual[i], kUntouched);
}

TEST(RegressionForecast, LogTrendAngleOfAConstantAndOfTinyHistories) {
    const std::vector<double> x(100, 110.37);
    std::vector<double> out(100, kUntouched);
    LogTrendAngle(out.data(), x.data(), 100);
    for (int i = 50; i < 100; ++i) EXPECT_EQ(out[i], 0.0);
    for (const int count : {1, 2, 50}) {
        std::vector<double> shortX(static_cast<std::size_t>(count), 1.0);
        std::vector<double> shortOut(static_cast<std::size_t>(count), kUntouched);
        LogTrendAngle(shortOut.data(), shortX.data(), count);
        for (double v : shortOut) EXPECT_EQ(v, kUntouched) << count;
    }
}

TEST(RegressionForecast, PriceForecastOnAStraightLineIsTheSlope) {
    struct Case {
        std::int32_t L;
        double start, slope;
    };
    for (const Case c : {Case{0, 5.0, 0.5}, Case{10, 110.0, 0.03}, Case{37, 1.1, -0.0002}, Case{130, 50.0, 1.0}}) {
        const int count = 400;
        const std::vector<double> x = Ramp(count, c.start, c.slope);
        std::vector<double> out(count, kUntouched);
        PriceForecast(out.data(), x.data(), c.L, count);
        for (int i = 0; i < count; ++i) {
            if (i < c.L + 10) {
                ASSERT_EQ(out[i], 0.0) << c.L << " " << i;
            } else {
                ASSERT_NEAR(out[i], c.slope, 1e-9 * (1.0 + c.start)) << c.L << " " << i;
            }
        }
    }
}

TEST(RegressionForecast, PriceForecastWithTooFewBarsOrANegativePeriodOnlyClears) {
    const std::vector<double> x = Ramp(60, 1.0, 1.0);
    struct Case {
        std::int32_t L, count;
    };
    for (const Case c : {Case{10, 20}, Case{50, 60}, Case{-1, 60}, Case{-20, 60},
                         Case{std::numeric_limits<std::int32_t>::max() - 10, 60}}) {
        std::vector<double> out(60, kUntouched);
        PriceForecast(out.data(), x.data(), c.L, c.count);
        for (int i = 0; i < 60; ++i) ASSERT_EQ(out[i], i < c.count ? 0.0 : kUntouched) << c.L;
    }
    // L = 0: D = 2 x[i] - x[i-1], S = 0, F = D: the last move.
    std::vector<double> wave(30), out(30, kUntouched);
    for (int i = 0; i < 30; ++i) wave[i] = (i * i) % 7;
    PriceForecast(out.data(), wave.data(), 0, 30);
    for (int i = 10; i < 30; ++i) EXPECT_EQ(out[i], wave[i] - wave[i - 1]) << i;
}

}  // namespace
}  // namespace zentrik
