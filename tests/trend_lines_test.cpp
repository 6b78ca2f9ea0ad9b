// Trend lines and alligator flags.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "Histories.h"
#include "kernels/Extended.h"
#include "kernels/TrendLines.h"

namespace zentrik {
namespace {

std::vector<double> Ramp(int count, double start, double step) {
    std::vector<double> out;
    for (int i = 0; i < count; ++i) out.push_back(start + step * i);
    return out;
}

TEST(TrendLines, SlopeAngleWorkedExample) {
    // A series rising by 0.001 per bar over a 14-bar window (n = 14):
    // atan(10 * 14 * 0.001) * 90 / 3.1415926.
    const auto series = Ramp(40, 1.1, 0.001);
    const double expected = ToDouble(std::atan(0.14L) * 90.0L * (1.0L / 3.1415926L));
    const double angle = TrendSlopeAngle(series.data(), 0, 14);
    EXPECT_NEAR(angle, 3.9848, 5e-5);
    EXPECT_NEAR(angle, expected, 1e-9);
    // The callers' form: start = i - P, end = i + 1 with P = 13.
    EXPECT_NEAR(TrendSlopeAngle(series.data(), 30 - 13, 31), expected, 1e-9);
    // A slope of 1 / (10 n) per bar gives 22.5 degrees (to within pi's digits).
    const auto gentle = Ramp(20, 5.0, 1.0 / 140.0);
    EXPECT_NEAR(TrendSlopeAngle(gentle.data(), 0, 14), 22.5, 1e-6);
    // Steep lines tend to 45 * pi / 3.1415926, falling ones to its negative.
    const auto steep = Ramp(20, 0.0, 1000.0);
    EXPECT_NEAR(TrendSlopeAngle(steep.data(), 0, 14), 45.0 * 3.14159265358979 / 3.1415926, 1e-3);
    const auto falling = Ramp(20, 0.0, -1000.0);
    EXPECT_NEAR(TrendSlopeAngle(falling.data(), 0, 14), -45.0 * 3.14159265358979 / 3.1415926, 1e-3);
}

TEST(TrendLines, SlopeAngleDegenerateWindows) {
    const std::vector<double> flat(30, 110.25);
    EXPECT_EQ(TrendSlopeAngle(flat.data(), 3, 20), 0.0);
    const auto ramp = Ramp(30, 1.0, 0.5);
    EXPECT_EQ(TrendSlopeAngle(ramp.data(), 7, 8), 0.0) << "one bar: D = 0 and N = 0";
    // Empty windows read nothing: a null series must not be touched.
    EXPECT_EQ(TrendSlopeAngle(nullptr, 5, 5), 0.0);
    EXPECT_EQ(TrendSlopeAngle(nullptr, 9, 3), 0.0);
    EXPECT_EQ(TrendSlopeAngle(nullptr, -10, -2), 0.0);
    EXPECT_EQ(TrendSlopeAngle(nullptr, -10, 0), 0.0);
    EXPECT_EQ(TrendSlopeAngle(nullptr, INT32_MAX, INT32_MIN), 0.0);
    // A negative start is raised to 0: x counts from bar 0.
    EXPECT_EQ(TrendSlopeAngle(ramp.data(), -5, 9), TrendSlopeAngle(ramp.data(), 0, 9));
    EXPECT_EQ(TrendSlopeAngle(ramp.data(), INT32_MIN, 9), TrendSlopeAngle(ramp.data(), 0, 9));
}

TEST(TrendLines, HilbertTrendlineOfAConstant) {
    for (const double c : {110.37, 1.1043, 0.0}) {
        const int count = 400;
        const std::vector<double> series(count + 5, c);
        std::vector<double> result(count + 2, -7.0);
        HilbertTrendline(result.data(), series.data(), count - 1);
        for (int i = 0; i < 100; ++i) ASSERT_EQ(result[static_cast<std::size_t>(i)], -7.0) << i;
        for (int i = 100; i < count; ++i) {
            ASSERT_NEAR(result[static_cast<std::size_t>(i)], c, std::fabs(c) * 1e-15) << i;
        }
        EXPECT_EQ(result[count], -7.0);
    }
}

TEST(TrendLines, HilbertTrendlineShortHistories) {
    // Fewer than 101 bars: nothing is written, and only the given bars exist.
    for (const int count : {1, 2, 37, 38, 100}) {
        const std::vector<double> series(static_cast<std::size_t>(count), 1.25);
        std::vector<double> result(static_cast<std::size_t>(count), -7.0);
        HilbertTrendline(result.data(), series.data(), count - 1);
        for (double v : result) EXPECT_EQ(v, -7.0) << count;
    }
    // 101 bars: bar 100 alone.
    const auto bars = testing::MakeHistory(101, testing::kYenPair);
    const auto close = testing::Closes(bars);
    std::vector<double> result(101, -7.0);
    HilbertTrendline(result.data(), close.data(), 100);
    EXPECT_EQ(result[99], -7.0);
    EXPECT_NEAR(result[100], close[100], 2.0);
}

TEST(TrendLines, HilbertTrendlineFollowsThePrice) {
    const auto close = testing::Closes(testing::MakeHistory(3000, testing::kEuroPair));
    std::vector<double> result(close.size(), 0.0);
    HilbertTrendline(result.data(), close.data(), static_cast<std::int32_t>(close.size()) - 1);
    for (std::size_t i = 100; i < close.size(); ++i) {
        ASSERT_TRUE(std::isfinite(result[i]));
        ASSERT_NEAR(result[i], close[i], 0.05) << i;  // a mean of at most 50 recent closes
    }
}

using FlagKernel = void (*)(std::uint8_t*, const double*, const double*, const double*, std::int32_t);

std::vector<std::uint8_t> Flags(FlagKernel kernel, const std::vector<double>& close) {
    const auto last = static_cast<std::int32_t>(close.size()) - 1;
    std::vector<std::uint8_t> flags(close.size() + 3, 7);
    // high and low are not read: null pointers prove it.
    kernel(flags.data(), nullptr, nullptr, close.data(), last);
    return flags;
}

TEST(TrendLines, AlligatorOnASteadilyRisingClose) {
    struct Case {
        FlagKernel kernel;
        std::uint8_t rising;   // expected on a rising close
        std::uint8_t falling;  // expected on a falling close
    };
    const Case cases[] = {
        {AlligatorRisingFlags, 1, 0},
        {AlligatorFallingFlags, 0, 1},
        {PriceAboveAlligatorFlags, 1, 0},
        {PriceBelowAlligatorFlags, 0, 1},
    };
    const auto up = Ramp(300, 100.0, 0.25);
    const auto down = Ramp(300, 200.0, -0.25);
    for (const Case& c : cases) {
        for (const auto* series : {&up, &down}) {
            const auto flags = Flags(c.kernel, *series);
            const std::uint8_t expected = series == &up ? c.rising : c.falling;
            for (std::size_t i = 0; i < 100; ++i) ASSERT_EQ(flags[i], 7) << i;
            for (std::size_t i = 100; i < 300; ++i) ASSERT_EQ(flags[i], expected) << i;
            ASSERT_EQ(flags[300], 7);
        }
    }
}

TEST(TrendLines, AlligatorLinesAreShifted) {
    // On close[i] = i the lips at bar k are the 5-bar mean ending three bars
    // back, k - 5 (unshifted it would be k - 2); the teeth k - 8.5, the jaw
    // k - 14. A dip of 4.5 at bar 150 stays above all three lines, a dip of
    // 5.5 falls below the lips only.
    auto close = Ramp(200, 0.0, 1.0);
    close[150] = 145.5;
    EXPECT_EQ(Flags(PriceAboveAlligatorFlags, close)[150], 1);
    EXPECT_EQ(Flags(PriceBelowAlligatorFlags, close)[150], 0);
    close[150] = 144.5;
    EXPECT_EQ(Flags(PriceAboveAlligatorFlags, close)[150], 0);
    EXPECT_EQ(Flags(PriceBelowAlligatorFlags, close)[150], 0);
    // At bar 160 the dip lowers the teeth (bars 148 .. 155) and the jaw
    // (bars 140 .. 152) a little; their order stays.
    EXPECT_EQ(Flags(AlligatorRisingFlags, close)[160], 1);
}

TEST(TrendLines, AlligatorShortHistoriesWriteNothing) {
    for (const int count : {1, 51, 52, 100}) {
        const auto close = Ramp(count, 1.0, 0.01);
        for (const FlagKernel kernel :
             {AlligatorRisingFlags, AlligatorFallingFlags, PriceAboveAlligatorFlags, PriceBelowAlligatorFlags}) {
            for (const std::uint8_t v : Flags(kernel, close)) ASSERT_EQ(v, 7) << count;
        }
    }
    const auto close = Ramp(101, 1.0, 0.01);
    EXPECT_EQ(Flags(AlligatorRisingFlags, close)[100], 1);
}

}  // namespace
}  // namespace zentrik
