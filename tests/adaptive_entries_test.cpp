// The named entries of the adaptive averages and the regression kernels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "Histories.h"
#include "kernels/AdaptiveAverages.h"
#include "kernels/RegressionForecast.h"
#include "zentrik/zentrik.h"

namespace zentrik {
namespace {

using testing::Closes;
using testing::FlatHistory;
using testing::kYenPair;
using testing::MakeHistory;

struct EntryCase {
    const char* name;
    std::function<std::int32_t(double*, std::int32_t, const Bar*)> entry;
    // The kernel as the entry calls it: (result, close, count).
    std::function<void(double*, const double*, std::int32_t)> kernel;
    int firstBar;  // the first bar the entry writes
};

std::vector<EntryCase> Entries() {
    return {
        {"KAMA", KAMA, [](double* r, const double* c, std::int32_t n) { KaufmanAdaptiveAverage(r, c, n - 1); }, 101},
        {"MAMA", MAMA, [](double* r, const double* c, std::int32_t n) { MesaAdaptiveAverage(r, c, n - 1); }, 100},
        {"Regress", Regress, [](double* r, const double* c, std::int32_t n) { LinRegLine14(r, c, n - 1); }, 50},
        {"TSF", TSF, [](double* r, const double* c, std::int32_t n) { TimeSeriesForecast14(r, c, n - 1); }, 100},
        {"UgolLog", UgolLog, [](double* r, const double* c, std::int32_t n) { LogTrendAngle(r, c, n); }, 50},
        {"Prognoz 10", [](double* r, std::int32_t n, const Bar* b) { return Prognoz(r, n, b, 10); },
         [](double* r, const double* c, std::int32_t n) { PriceForecast(r, c, 10, n); }, 20},
        {"Prognoz 0", [](double* r, std::int32_t n, const Bar* b) { return Prognoz(r, n, b, 0); },
         [](double* r, const double* c, std::int32_t n) { PriceForecast(r, c, 0, n); }, 10},
        {"Prognoz 130", [](double* r, std::int32_t n, const Bar* b) { return Prognoz(r, n, b, 130); },
         [](double* r, const double* c, std::int32_t n) { PriceForecast(r, c, 130, n); }, 140},
    };
}

TEST(AdaptiveEntries, EachEntryRunsItsKernelOnTheCloses) {
    const auto bars = MakeHistory(1001, kYenPair);
    const std::vector<double> close = Closes(bars);
    for (const EntryCase& e : Entries()) {
        std::vector<double> result(1001, 9.0);  // the entry clears it first
        ASSERT_EQ(e.entry(result.data(), 1001, bars.data()), ZENTRIK_OK) << e.name;
        std::vector<double> expected(1001, 0.0);
        e.kernel(expected.data(), close.data(), 1001);
        EXPECT_EQ(result, expected) << e.name;
    }
}

TEST(AdaptiveEntries, FirstWrittenBars) {
    const auto flat = FlatHistory(150, 1.1);
    std::vector<double> kama(150, 9.0);
    ASSERT_EQ(KAMA(kama.data(), 150, flat.data()), ZENTRIK_OK);
    for (int i = 0; i <= 100; ++i) ASSERT_EQ(kama[i], 0.0) << i;
    for (int i = 101; i < 150; ++i) ASSERT_EQ(kama[i], 1.1) << i;

    const auto bars = MakeHistory(1001, kYenPair);
    std::vector<double> mama(1001, 9.0);
    ASSERT_EQ(MAMA(mama.data(), 1001, bars.data()), ZENTRIK_OK);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(mama[i], 0.0) << i;
    EXPECT_NE(mama[100], 0.0);
    EXPECT_NEAR(mama[1000], bars[1000].close, 5.0);
}

TEST(AdaptiveEntries, TinyHistoriesWriteNothingBeforeTheFirstBar) {
    for (const int count : {1, 2, 3, 10, 11, 12, 37, 50, 51, 62, 63, 100, 101, 102}) {
        const auto bars = MakeHistory(count, kYenPair);
        for (const EntryCase& e : Entries()) {
            std::vector<double> result(static_cast<std::size_t>(count), 9.0);
            ASSERT_EQ(e.entry(result.data(), count, bars.data()), ZENTRIK_OK) << e.name << " " << count;
            for (int i = 0; i < count; ++i) {
                if (i < e.firstBar) {
                    ASSERT_EQ(result[i], 0.0) << e.name << " " << count << " " << i;
                }
            }
        }
    }
}

TEST(AdaptiveEntries, PrognozRefusesPeriodsOutsideItsRange) {
    const auto bars = MakeHistory(200, kYenPair);
    const std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    struct Case {
        std::int32_t period;
        std::int32_t status;
    };
    for (const Case c : {Case{-1, ZENTRIK_ERangeError}, Case{std::numeric_limits<std::int32_t>::min(), ZENTRIK_ERangeError},
                         Case{kMax, ZENTRIK_ERangeError}, Case{kMax - 9, ZENTRIK_ERangeError},
                         Case{kMax - 10, ZENTRIK_OK}, Case{0, ZENTRIK_OK}, Case{189, ZENTRIK_OK}, Case{190, ZENTRIK_OK}}) {
        std::vector<double> result(200, 5.0);
        ASSERT_EQ(Prognoz(result.data(), 200, bars.data(), c.period), c.status) << c.period;
        const bool refused = c.status != ZENTRIK_OK;
        for (int i = 0; i < 200; ++i) {
            if (refused) {
                ASSERT_EQ(result[i], 5.0) << c.period;
            } else if (i < std::int64_t{c.period} + 10) {
                ASSERT_EQ(result[i], 0.0) << c.period;
            }
        }
        if (c.period == 189) {
            EXPECT_NE(result[199], 0.0);
        }
    }
}

TEST(AdaptiveEntries, UgolLogSkipsAZeroCloseWithoutAFault) {
    auto bars = MakeHistory(120, kYenPair);
    bars[70].close = 0.0;  // ratios at bars 70 (0) and 71 (x / 0) are not taken
    std::vector<double> result(120, 9.0);
    ASSERT_EQ(UgolLog(result.data(), 120, bars.data()), ZENTRIK_OK);
    for (int i = 50; i < 120; ++i) EXPECT_TRUE(std::isfinite(result[i])) << i;
}

TEST(AdaptiveEntries, RefusedCallsTouchNothing) {
    const auto bars = MakeHistory(10, kYenPair);
    std::vector<double> result(10, 5.0);
    for (const EntryCase& e : Entries()) {
        EXPECT_EQ(e.entry(result.data(), 0, bars.data()), ZENTRIK_ERangeError) << e.name;
        EXPECT_EQ(e.entry(result.data(), -3, bars.data()), ZENTRIK_ERangeError) << e.name;
        EXPECT_EQ(e.entry(nullptr, 10, bars.data()), ZENTRIK_EAccessViolation) << e.name;
        EXPECT_EQ(e.entry(result.data(), 10, nullptr), ZENTRIK_EAccessViolation) << e.name;
    }
    for (double v : result) EXPECT_EQ(v, 5.0);
}

}  // namespace
}  // namespace zentrik
