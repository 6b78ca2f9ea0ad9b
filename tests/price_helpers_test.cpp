#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "kernels/Extended.h"
#include "kernels/PriceHelpers.h"

namespace zentrik {
namespace {

TEST(PriceHelpers, MaxOfThreeReturnsTheEarliestOfEqualGreatest) {
    struct Case {
        double a, b, c, expected;
    };
    const Case cases[] = {
        {0, 5, 5, 5}, {5, 5, 1, 5}, {2, 1, 1, 2}, {1, 3, 2, 3}, {1, 2, 3, 3},
        {3, 2, 1, 3}, {4, 4, 4, 4}, {1, 5, 1, 5}, {5, 1, 5, 5}, {-3, -2, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MaxOfThree(c.a, c.b, c.c), c.expected) << c.a << " " << c.b << " " << c.c;
    }
    // Signed zeros compare equal: the earlier argument is the one returned.
    EXPECT_TRUE(std::signbit(MaxOfThree(-0.0, 0.0, 0.0)));
    EXPECT_FALSE(std::signbit(MaxOfThree(0.0, -0.0, -0.0)));
    EXPECT_TRUE(std::signbit(MaxOfThree(-0.0, 0.0, -0.0)));
    EXPECT_TRUE(std::signbit(MaxOfTwo(-0.0, 0.0)));
    EXPECT_FALSE(std::signbit(MinOfTwo(0.0, -0.0)));
}

TEST(PriceHelpers, TwoValueHelpers) {
    EXPECT_EQ(MaxOfTwo(1, 2), 2);
    EXPECT_EQ(MaxOfTwo(2, 1), 2);
    EXPECT_EQ(MinOfTwo(1, 2), 1);
    EXPECT_EQ(MinOfTwo(2, 1), 1);
    EXPECT_EQ(IsGreater(1, 1), 0);
    EXPECT_EQ(IsGreater(1.5, 1), 1);
    EXPECT_EQ(IsGreater(1, 1.5), 0);
}

TEST(PriceHelpers, FlatBarTrueRangeIsTheGapToThePreviousClose) {
    const double high[] = {1.2350, 1.2345, 1.2348};
    const double low[] = {1.2330, 1.2345, 1.2348};
    const double close[] = {1.2342, 1.2345, 1.2348};
    // Bar 1 is flat; the previous close lies 3 points below it.
    EXPECT_EQ(TrueRange(high, low, close, 1), ToDouble(Extended(1.2345) - 1.2342));
    EXPECT_NEAR(TrueRange(high, low, close, 1), 0.0003, 1e-12);
    const double high2[] = {110.00, 109.97};
    const double low2[] = {109.90, 109.97};
    const double close2[] = {110.00, 109.97};
    EXPECT_EQ(TrueRange(high2, low2, close2, 1), ToDouble(std::fabs(Extended(109.97) - 110.00)));
}

TEST(PriceHelpers, TypicalPriceOfEveryBar) {
    const double high[] = {3, 12, 1.25};
    const double low[] = {3, 6, 0.5};
    const double close[] = {3, 9, 1};
    std::vector<double> result(4, -7.0);
    TypicalPrice(result.data(), high, low, close, 2);
    EXPECT_EQ(result[0], 3.0);
    EXPECT_EQ(result[1], 9.0);
    EXPECT_EQ(result[2], ToDouble(2.75L * kOneThird));
    EXPECT_EQ(result[3], -7.0);
}

// Bar j has a true range of exactly j (low 0, close 0, high j).
struct RampBars {
    std::vector<double> high, low, close;
    explicit RampBars(int count) : high(count), low(count, 0.0), close(count, 0.0) {
        for (int j = 0; j < count; ++j) high[j] = j;
    }
};

TEST(PriceHelpers, MeanTrueRangeWindowsAroundBarFifty) {
    RampBars bars(60);
    std::vector<double> result(60, -7.0);
    MeanTrueRange(result.data(), bars.high.data(), bars.low.data(), bars.close.data(), 59);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(result[i], 0.0) << i;
    EXPECT_EQ(result[50], 25.0);    // bars 1 .. 49
    EXPECT_EQ(result[51], 25.5);    // bars 1 .. 50
    EXPECT_EQ(result[52], 26.0);    // bars 1 .. 51
    EXPECT_EQ(result[53], 27.0);    // bars 2 .. 52
    EXPECT_EQ(result[59], 33.0);    // bars 8 .. 58
}

TEST(PriceHelpers, MeanTrueRangeExcludesTheCurrentBar) {
    RampBars bars(55);
    bars.high[50] = 1000.0;
    std::vector<double> result(55);
    MeanTrueRange(result.data(), bars.high.data(), bars.low.data(), bars.close.data(), 54);
    EXPECT_EQ(result[50], 25.0);
    EXPECT_EQ(result[51], (1225.0 + 1000.0) / 50.0);
}

TEST(PriceHelpers, MeanTrueRangeOnShortHistoriesWritesOnlyZeros) {
    for (int last : {0, 1, 20, 49}) {
        RampBars bars(last + 1);
        std::vector<double> result(last + 6, -7.0);
        MeanTrueRange(result.data(), bars.high.data(), bars.low.data(), bars.close.data(), last);
        for (int i = 0; i <= last; ++i) EXPECT_EQ(result[i], 0.0);
        for (int i = last + 1; i < last + 6; ++i) EXPECT_EQ(result[i], -7.0);
    }
}

}  // namespace
}  // namespace zentrik
