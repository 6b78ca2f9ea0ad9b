// The named entries Svecha, Trend and TrendMode.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "Histories.h"
#include "kernels/CandlePatterns.h"
#include "kernels/TrendLines.h"
#include "zentrik/zentrik.h"

namespace zentrik {
namespace {

using testing::Closes;
using testing::kEuroPair;
using testing::kYenPair;
using testing::MakeHistory;

struct Columns {
    std::vector<double> open, high, low, close;
    explicit Columns(const std::vector<Bar>& bars) {
        for (const Bar& b : bars) {
            open.push_back(b.open);
            high.push_back(b.high);
            low.push_back(b.low);
            close.push_back(b.close);
        }
    }
};

TEST(PatternEntries, SvechaEqualsTheKernel) {
    const auto bars = MakeHistory(1001, kYenPair);
    const Columns c(bars);
    for (const std::int32_t pattern : {1, 2, 3, 9, 13, 17, 19, 21, 22, 23, 0, 24, INT_MIN}) {
        std::vector<double> expected(bars.size());
        CandlePattern(expected.data(), c.open.data(), c.high.data(), c.low.data(), c.close.data(), pattern, 1000);
        std::vector<double> result(bars.size(), 55.0);
        ASSERT_EQ(Svecha(result.data(), 1001, bars.data(), pattern), ZENTRIK_OK);
        EXPECT_EQ(result, expected) << pattern;
    }
}

TEST(PatternEntries, SvechaOnTinyHistories) {
    for (const int count : {1, 2, 3, 15}) {
        const auto bars = MakeHistory(count, kEuroPair);
        for (std::int32_t pattern = 1; pattern <= 23; ++pattern) {
            std::vector<double> result(static_cast<std::size_t>(count), 9.0);
            ASSERT_EQ(Svecha(result.data(), count, bars.data(), pattern), ZENTRIK_OK);
            for (int i = 0; i < count && i < CandlePatternFirstBar(pattern); ++i) {
                EXPECT_EQ(result[static_cast<std::size_t>(i)], 0.0);
            }
        }
    }
}

TEST(PatternEntries, TrendEqualsTheKernelPerBar) {
    const auto bars = MakeHistory(1001, kEuroPair);
    const auto close = Closes(bars);
    for (const std::int32_t period : {13, 55, 127}) {
        std::vector<double> result(bars.size(), 3.0);
        ASSERT_EQ(Trend(result.data(), 1001, bars.data(), period), ZENTRIK_OK);
        for (int i = 0; i < 15; ++i) EXPECT_EQ(result[static_cast<std::size_t>(i)], 0.0);
        for (int i = 15; i < 1001; ++i) {
            ASSERT_EQ(result[static_cast<std::size_t>(i)], TrendSlopeAngle(close.data(), i - period, i + 1)) << i;
        }
    }
}

TEST(PatternEntries, TrendAcceptsEveryPeriod) {
    const auto bars = MakeHistory(300, kYenPair);
    const auto close = Closes(bars);
    for (const std::int32_t period : {INT_MIN, INT_MIN + 1, -300, -1, 0, 1, 299, 300, 5000, INT_MAX}) {
        std::vector<double> result(bars.size(), 3.0);
        ASSERT_EQ(Trend(result.data(), 300, bars.data(), period), ZENTRIK_OK) << period;
        for (int i = 0; i < 15; ++i) ASSERT_EQ(result[static_cast<std::size_t>(i)], 0.0) << period;
        for (int i = 15; i < 300; ++i) {
            // A period of 0 is a one-bar window, a negative one an empty
            // window; a period beyond the bar takes the closes from bar 0.
            const double expected = period <= 0 ? 0.0 : TrendSlopeAngle(close.data(), period >= i ? 0 : i - period, i + 1);
            ASSERT_EQ(result[static_cast<std::size_t>(i)], expected) << period << " bar " << i;
        }
    }
}

TEST(PatternEntries, TrendOnShortHistories) {
    for (const int count : {1, 15, 16}) {
        const auto bars = MakeHistory(count, kYenPair);
        std::vector<double> result(static_cast<std::size_t>(count), 3.0);
        ASSERT_EQ(Trend(result.data(), count, bars.data(), 13), ZENTRIK_OK);
        for (int i = 0; i < count && i < 15; ++i) EXPECT_EQ(result[static_cast<std::size_t>(i)], 0.0);
        if (count == 16) {
            EXPECT_NE(result[15], 0.0);
        }
    }
}

TEST(PatternEntries, TrendModeEqualsTheKernel) {
    for (const int count : {1, 38, 100, 101, 1001}) {
        const auto bars = MakeHistory(count, kYenPair);
        const auto close = Closes(bars);
        std::vector<double> expected(static_cast<std::size_t>(count), 0.0);
        HilbertTrendline(expected.data(), close.data(), count - 1);
        std::vector<double> result(static_cast<std::size_t>(count), 8.0);
        ASSERT_EQ(TrendMode(result.data(), count, bars.data()), ZENTRIK_OK);
        EXPECT_EQ(result, expected) << count;
        for (int i = 0; i < count && i < 100; ++i) EXPECT_EQ(result[static_cast<std::size_t>(i)], 0.0);
    }
}

TEST(PatternEntries, RefuseUnusableCalls) {
    const auto bars = MakeHistory(20, kYenPair);
    std::vector<double> result(20, 4.0);
    EXPECT_EQ(Svecha(nullptr, 20, bars.data(), 1), ZENTRIK_EAccessViolation);
    EXPECT_EQ(Svecha(result.data(), 20, nullptr, 1), ZENTRIK_EAccessViolation);
    EXPECT_EQ(Svecha(result.data(), 0, bars.data(), 1), ZENTRIK_ERangeError);
    EXPECT_EQ(Trend(nullptr, 20, bars.data(), 13), ZENTRIK_EAccessViolation);
    EXPECT_EQ(Trend(result.data(), -1, bars.data(), 13), ZENTRIK_ERangeError);
    EXPECT_EQ(TrendMode(result.data(), 20, nullptr), ZENTRIK_EAccessViolation);
    EXPECT_EQ(TrendMode(result.data(), INT_MIN, bars.data()), ZENTRIK_ERangeError);
    for (double v : result) EXPECT_EQ(v, 4.0) << "a refused call touches nothing";
}

}  // namespace
}  // namespace zentrik
