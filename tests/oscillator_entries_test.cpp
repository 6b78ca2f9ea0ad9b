// The named entries of the price helpers and the range and momentum
// oscillators: each equals its kernel on the bar columns, refuses the
// parameters that would reach outside the arrays and computes every other.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Histories.h"
#include "frame/Frame.h"
#include "kernels/MomentumOscillators.h"
#include "kernels/PriceHelpers.h"
#include "kernels/RangeOscillators.h"
#include "zentrik/zentrik.h"

namespace zentrik {
namespace {

using testing::FlatHistory;
using testing::kEuroPair;
using testing::kYenPair;
using testing::MakeHistory;

struct Columns {
    std::vector<double> high, low, close;
    std::int32_t last;
    explicit Columns(const std::vector<Bar>& bars) : last(static_cast<std::int32_t>(bars.size()) - 1) {
        for (const Bar& b : bars) {
            high.push_back(b.high);
            low.push_back(b.low);
            close.push_back(b.close);
        }
    }
};

using EntryCall = std::function<std::int32_t(double*, std::int32_t, const Bar*)>;
using KernelCall = std::function<void(double*, const Columns&)>;

struct EntryCase {
    std::string name;
    EntryCall entry;
    KernelCall kernel;
};

std::vector<EntryCase> EntryCases() {
    return {
        {"TypPrice", TypPrice,
         [](double* r, const Columns& c) { TypicalPrice(r, c.high.data(), c.low.data(), c.close.data(), c.last); }},
        {"Rasmax", Rasmax,
         [](double* r, const Columns& c) { MeanTrueRange(r, c.high.data(), c.low.data(), c.close.data(), c.last); }},
        {"StochOsc", [](double* r, std::int32_t n, const Bar* b) { return StochOsc(r, n, b, 5, 3); },
         [](double* r, const Columns& c) {
             SlowStochastic(r, c.high.data(), c.low.data(), c.close.data(), 5, 3, c.last);
         }},
        {"PCR", [](double* r, std::int32_t n, const Bar* b) { return PCR(r, n, b, 14); },
         [](double* r, const Columns& c) {
             PriceChannelRange(r, c.high.data(), c.low.data(), c.close.data(), 14, c.last);
         }},
        {"WILL", WILL,
         [](double* r, const Columns& c) { WilliamsR14(r, c.high.data(), c.low.data(), c.close.data(), c.last); }},
        {"Osnovn", Osnovn,
         [](double* r, const Columns& c) { TripleStochastic(r, c.high.data(), c.low.data(), c.close.data(), c.last); }},
        {"Momentum", [](double* r, std::int32_t n, const Bar* b) { return Momentum(r, n, b, 10); },
         [](double* r, const Columns& c) { MomentumPerMille(r, c.close.data(), 10, c.last); }},
        {"MACD", [](double* r, std::int32_t n, const Bar* b) { return MACD(r, n, b, 12, 26); },
         [](double* r, const Columns& c) { MacdLine(r, c.close.data(), 12, 26, c.last); }},
        {"RSI", [](double* r, std::int32_t n, const Bar* b) { return RSI(r, n, b, 14); },
         [](double* r, const Columns& c) { RelativeStrength(r, c.close.data(), 14, c.last); }},
        {"CCI", [](double* r, std::int32_t n, const Bar* b) { return CCI(r, n, b, 14, 20); },
         [](double* r, const Columns& c) {
             CommodityChannel(r, c.close.data(), c.high.data(), c.low.data(), 14, 20, c.last);
         }},
        {"CG", [](double* r, std::int32_t n, const Bar* b) { return CG(r, n, b, 10); },
         [](double* r, const Columns& c) { CenterOfGravity(r, c.high.data(), c.low.data(), 10, c.last); }},
        {"CGO", [](double* r, std::int32_t n, const Bar* b) { return CGO(r, n, b, 10); },
         [](double* r, const Columns& c) {
             CenterOfGravityOscillator(r, c.high.data(), c.low.data(), 10, c.last);
         }},
    };
}

TEST(OscillatorEntries, EqualTheirKernelsOnYenAndEuroHistories) {
    for (const auto& shape : {kYenPair, kEuroPair}) {
        const auto bars = MakeHistory(1001, shape);
        const Columns columns(bars);
        for (const EntryCase& c : EntryCases()) {
            std::vector<double> result(1001, 123.0);
            ASSERT_EQ(c.entry(result.data(), 1001, bars.data()), ZENTRIK_OK) << c.name;
            EXPECT_EQ(PointSize, shape.decimals == 2 ? 0.01 : 0.0001);
            std::vector<double> expected(1001, 0.0);
            c.kernel(expected.data(), columns);
            for (int i = 0; i < 1001; ++i) ASSERT_EQ(result[i], expected[i]) << c.name << " bar " << i;
        }
    }
}

TEST(OscillatorEntries, TinyHistoriesSucceed) {
    for (int count : {1, 2, 3, 16, 51, 91, 101}) {
        const auto bars = MakeHistory(count, kEuroPair);
        const Columns columns(bars);
        for (const EntryCase& c : EntryCases()) {
            std::vector<double> result(static_cast<std::size_t>(count), 123.0);
            ASSERT_EQ(c.entry(result.data(), count, bars.data()), ZENTRIK_OK) << c.name << " " << count;
            std::vector<double> expected(static_cast<std::size_t>(count), 0.0);
            c.kernel(expected.data(), columns);
            EXPECT_EQ(result, expected) << c.name << " " << count;
        }
    }
}

TEST(OscillatorEntries, FlatBars) {
    const auto bars = FlatHistory(300, 1.25);
    struct Case {
        EntryCall entry;
        double value;  // from the first bar that the indicator defines
        int from;
    };
    const Case cases[] = {
        {Rasmax, 0.0, 0},
        {[](double* r, std::int32_t n, const Bar* b) { return StochOsc(r, n, b, 3, 8); }, 0.0, 0},
        {[](double* r, std::int32_t n, const Bar* b) { return PCR(r, n, b, 13); }, 0.0, 0},
        {WILL, 0.0, 0},
        {Osnovn, 0.0, 0},
        {[](double* r, std::int32_t n, const Bar* b) { return Momentum(r, n, b, 5); }, 0.0, 0},
        {[](double* r, std::int32_t n, const Bar* b) { return MACD(r, n, b, 12, 26); }, 0.0, 0},
        {[](double* r, std::int32_t n, const Bar* b) { return RSI(r, n, b, 14); }, 0.0, 0},
        {[](double* r, std::int32_t n, const Bar* b) { return CCI(r, n, b, 14, 14); }, 0.0, 0},
        {[](double* r, std::int32_t n, const Bar* b) { return CG(r, n, b, 3); }, -2.5, 3},
        {[](double* r, std::int32_t n, const Bar* b) { return CGO(r, n, b, 3); }, -2.5, 3},
    };
    for (const Case& c : cases) {
        std::vector<double> result(300, 9.0);
        ASSERT_EQ(c.entry(result.data(), 300, bars.data()), ZENTRIK_OK);
        for (int i = 0; i < c.from; ++i) EXPECT_EQ(result[i], 0.0) << i;
        for (int i = c.from; i < 300; ++i) ASSERT_EQ(result[i], c.value) << i;
    }
}

TEST(OscillatorEntries, WillWritesNothingBelowBarOneHundred) {
    const auto bars = MakeHistory(400, kYenPair);
    std::vector<double> result(400, 9.0);
    ASSERT_EQ(WILL(result.data(), 400, bars.data()), ZENTRIK_OK);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(result[i], 0.0) << i;
    int inside = 0;
    for (int i = 100; i < 400; ++i) {
        if (result[i] > 0.0 && result[i] < 100.0) ++inside;
        ASSERT_GE(result[i], 0.0);
        ASSERT_LE(result[i], 100.0 + 1e-9);
    }
    EXPECT_GT(inside, 200);
    std::vector<double> shortResult(100, 9.0);
    ASSERT_EQ(WILL(shortResult.data(), 100, bars.data()), ZENTRIK_OK);
    for (double v : shortResult) EXPECT_EQ(v, 0.0);
}

TEST(OscillatorEntries, RangeGuardsTouchNothing) {
    const auto bars = MakeHistory(200, kYenPair);
    using Entry1 = std::int32_t (*)(double*, std::int32_t, const Bar*, std::int32_t);
    const Entry1 guarded[] = {PCR, Momentum, CG, CGO};
    for (Entry1 entry : guarded) {
        for (std::int32_t period : {-1, -2, -200, INT32_MIN}) {
            std::vector<double> result(200, 5.0);
            PointSize = 0.5;
            EXPECT_EQ(entry(result.data(), 200, bars.data(), period), ZENTRIK_ERangeError) << period;
            EXPECT_EQ(PointSize, 0.5) << "the frame did not run";
            for (double v : result) ASSERT_EQ(v, 5.0);
        }
        for (std::int32_t period : {0, 1, 199, 200, INT32_MAX}) {
            std::vector<double> result(200, 5.0);
            EXPECT_EQ(entry(result.data(), 200, bars.data(), period), ZENTRIK_OK) << period;
        }
    }
}

TEST(OscillatorEntries, LengthsThatNeverIndexAreAllAccepted) {
    const auto bars = MakeHistory(150, kEuroPair);
    const std::int32_t extremes[] = {INT32_MIN, -2, 0, 1, 1000, INT32_MAX};
    for (std::int32_t a : extremes) {
        for (std::int32_t b : extremes) {
            std::vector<double> result(150);
            EXPECT_EQ(StochOsc(result.data(), 150, bars.data(), a, b), ZENTRIK_OK) << a << " " << b;
            EXPECT_EQ(CCI(result.data(), 150, bars.data(), a, b), ZENTRIK_OK) << a << " " << b;
            if (a != -1 && b != -1) {
                EXPECT_EQ(MACD(result.data(), 150, bars.data(), a, b), ZENTRIK_OK) << a << " " << b;
            }
        }
        std::vector<double> result(150);
        if (a != 0) {
            EXPECT_EQ(RSI(result.data(), 150, bars.data(), a), ZENTRIK_OK) << a;
        }
    }
}

TEST(OscillatorEntries, DivisionsByZeroReportTheFault) {
    const auto bars = MakeHistory(150, kYenPair);
    std::vector<double> result(150);
    EXPECT_EQ(MACD(result.data(), 150, bars.data(), -1, 26), ZENTRIK_EZeroDivide);
    EXPECT_EQ(MACD(result.data(), 150, bars.data(), 12, -1), ZENTRIK_EZeroDivide);
    EXPECT_EQ(RSI(result.data(), 150, bars.data(), 0), ZENTRIK_EZeroDivide);
    const auto flat = FlatHistory(150, 1.1);
    EXPECT_EQ(RSI(result.data(), 150, flat.data(), 0), ZENTRIK_EInvalidOp) << "0 / 0 without any move";
}

TEST(OscillatorEntries, UnusableCallsAreRefused) {
    const auto bars = MakeHistory(10, kYenPair);
    std::vector<double> result(10, 5.0);
    EXPECT_EQ(TypPrice(result.data(), 0, bars.data()), ZENTRIK_ERangeError);
    EXPECT_EQ(CG(nullptr, 10, bars.data(), 3), ZENTRIK_EAccessViolation);
    EXPECT_EQ(MACD(result.data(), 10, nullptr, 12, 26), ZENTRIK_EAccessViolation);
    for (double v : result) EXPECT_EQ(v, 5.0);
}

}  // namespace
}  // namespace zentrik
