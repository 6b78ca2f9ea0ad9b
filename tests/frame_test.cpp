// The calling frame shared by the indicator entries.
#include <gtest/gtest.h>

#include <cfenv>
#include <cstdint>
#include <vector>

#include "Histories.h"
#include "frame/Frame.h"
#include "zentrik/zentrik.h"

namespace zentrik {
namespace {

using testing::FlatHistory;
using testing::kEuroPair;
using testing::kYenPair;
using testing::MakeHistory;

TEST(Frame, PointSizeSamplesBarCountOverThree) {
    struct Case {
        int count;
        int sample;
        double close;
        double pointSize;
    };
    const Case cases[] = {
        {1, 0, 110.0, 0.01},   {2, 0, 1.2, 0.0001},   {3, 1, 30.0, 0.01},
        {3, 1, 29.999, 0.0001}, {1001, 333, 30.0, 0.01}, {1001, 333, 1.3, 0.0001},
    };
    for (const Case& c : cases) {
        std::vector<Bar> bars = FlatHistory(c.count, c.close >= 30 ? 1.0 : 100.0);
        bars[static_cast<std::size_t>(c.sample)].close = c.close;
        std::vector<double> result(static_cast<std::size_t>(c.count));
        ASSERT_EQ(Srednee(result.data(), c.count, bars.data(), 3), ZENTRIK_OK);
        EXPECT_EQ(PointSize, c.pointSize) << "count " << c.count;
    }
}

TEST(Frame, LatestCallSetsThePointSize) {
    const auto yen = MakeHistory(200, kYenPair);
    const auto euro = MakeHistory(200, kEuroPair);
    std::vector<double> result(200);
    ASSERT_EQ(Indikator(0, result.data(), 200, yen.data()), ZENTRIK_OK);
    EXPECT_EQ(PointSize, 0.01);
    ASSERT_EQ(Indikator(0, result.data(), 200, euro.data()), ZENTRIK_OK);
    EXPECT_EQ(PointSize, 0.0001);
}

TEST(Frame, ClearsTheResultBeforeTheKernelRuns) {
    const auto bars = MakeHistory(300, kYenPair);
    std::vector<double> result(300, 123.0);
    ASSERT_EQ(Indikator(400, result.data(), 300, bars.data()), ZENTRIK_OK);  // no recipe yet or any
    for (double v : result) ASSERT_EQ(v, 0.0);
    result.assign(300, 123.0);
    ASSERT_EQ(Indikator(9, result.data(), 300, bars.data()), ZENTRIK_OK);
    EXPECT_EQ(result[0], bars[0].close);
}

TEST(Frame, RefusesUnusableCallsWithoutTouchingMemory) {
    const auto bars = MakeHistory(10, kYenPair);
    std::vector<double> result(10, 5.0);
    EXPECT_EQ(Indikator(0, nullptr, 10, bars.data()), ZENTRIK_EAccessViolation);
    EXPECT_EQ(Indikator(0, result.data(), 10, nullptr), ZENTRIK_EAccessViolation);
    EXPECT_EQ(Srednee(result.data(), 0, bars.data(), 3), ZENTRIK_ERangeError);
    EXPECT_EQ(SredneeX(result.data(), -5, bars.data(), 3), ZENTRIK_ERangeError);
    EXPECT_EQ(SredneeW(nullptr, 10, bars.data(), 3), ZENTRIK_EAccessViolation);
    for (double v : result) EXPECT_EQ(v, 5.0);
}

TEST(Frame, FloatingPointFaultsBecomeStatuses) {
    const auto bars = MakeHistory(80, kYenPair);
    std::vector<double> result(80);
    // 0 / 0 in the weighted average of an empty window.
    EXPECT_EQ(SredneeW(result.data(), 80, bars.data(), 0), ZENTRIK_EInvalidOp);
    // 2 / (period + 1) with period -1.
    EXPECT_EQ(SredneeX(result.data(), 80, bars.data(), -1), ZENTRIK_EZeroDivide);
    // Prices near the top of the double range overflow in the sums.
    std::vector<Bar> huge = FlatHistory(10, 1.5e308);
    EXPECT_EQ(Srednee(result.data(), 10, huge.data(), 3), ZENTRIK_EOverflow);
    // A clean call after a faulty one reports success.
    EXPECT_EQ(Srednee(result.data(), 80, bars.data(), 3), ZENTRIK_OK);
}

TEST(Frame, CallersFloatingPointStateIsRestored) {
    const auto bars = MakeHistory(80, kYenPair);
    std::vector<double> result(80);
    std::feclearexcept(FE_ALL_EXCEPT);
    ASSERT_EQ(std::fesetround(FE_UPWARD), 0);
    EXPECT_EQ(SredneeW(result.data(), 80, bars.data(), 0), ZENTRIK_EInvalidOp);
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT & ~FE_INEXACT), 0) << "the library's flags stay inside";
    EXPECT_EQ(std::fegetround(), FE_UPWARD);
    // Results do not depend on the caller's rounding mode.
    std::vector<double> upward(80), nearest(80);
    ASSERT_EQ(Srednee(upward.data(), 80, bars.data(), 13), ZENTRIK_OK);
    std::fesetround(FE_TONEAREST);
    ASSERT_EQ(Srednee(nearest.data(), 80, bars.data(), 13), ZENTRIK_OK);
    EXPECT_EQ(upward, nearest);
    // A flag the caller had raised survives the call.
    std::feraiseexcept(FE_OVERFLOW);
    ASSERT_EQ(Srednee(nearest.data(), 80, bars.data(), 13), ZENTRIK_OK);
    EXPECT_NE(std::fetestexcept(FE_OVERFLOW), 0);
    std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(Frame, RecordsTheWorkingDirectory) {
    const auto bars = MakeHistory(20, kYenPair);
    std::vector<double> result(20);
    ASSERT_EQ(Srednee(result.data(), 20, bars.data(), 3), ZENTRIK_OK);
    EXPECT_EQ(RecordedDirectory(), platform::CurrentDirectory());
    EXPECT_FALSE(RecordedDirectory().empty());
}

}  // namespace
}  // namespace zentrik
