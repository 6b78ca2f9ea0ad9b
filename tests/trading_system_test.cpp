// Trading-system evaluation: KachestvoMTS and its pieces.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

#include "evaluation/TradingSystem.h"
#include "kernels/Extended.h"
#include "zentrik/zentrik.h"

namespace zentrik::evaluation {
namespace {

constexpr unsigned char kUntouched = 0xA5;

TradeStats UntouchedStats() {
    TradeStats stats;
    std::memset(&stats, kUntouched, sizeof stats);
    return stats;
}

// True when the bytes [from, to) of stats still hold the fill pattern.
bool BytesUntouched(const TradeStats& stats, std::size_t from, std::size_t to) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&stats);
    for (std::size_t i = from; i < to; ++i) {
        if (bytes[i] != kUntouched) return false;
    }
    return true;
}

// A buy whose result is exactly `result` (point 1, no spread), opened on day
// k and closed half a day later.
Trade TradeWithResult(double result, int k, bool buy = true) {
    Trade trade{};
    trade.openTime = 40000.0 + k;
    trade.closeTime = 40000.5 + k;
    trade.closed = 1;
    trade.direction = buy ? 1 : 0;
    trade.spread = 0;
    trade.point = 1.0;
    trade.openPrice = 100.0;
    trade.closePrice = buy ? 100.0 + result / 10 : 100.0 - result / 10;
    return trade;
}

std::vector<Trade> TradesWithResults(const std::vector<double>& results) {
    std::vector<Trade> trades;
    for (std::size_t k = 0; k < results.size(); ++k) {
        trades.push_back(TradeWithResult(results[k], static_cast<int>(k), k % 2 == 0));
    }
    return trades;
}

TradeStats Evaluate(const std::vector<Trade>& trades) {
    TradeStats stats = UntouchedStats();
    KachestvoMTS(trades.data(), static_cast<int32_t>(trades.size()), &stats);
    return stats;
}

double PairwiseDrawdown(const std::vector<double>& totals) {
    double drawdown = 0.0;
    for (std::size_t j = 0; j < totals.size(); ++j) {
        for (std::size_t l = 0; l < j; ++l) {
            const double fall = ToDouble(Extended(totals[l]) - totals[j]);
            if (fall > drawdown) drawdown = fall;
        }
    }
    return drawdown;
}

TEST(TradingSystem, ResultOfABuyAndOfASell) {
    Trade trade{};
    trade.closed = 1;
    trade.openPrice = 90.00;
    trade.closePrice = 90.50;
    trade.point = 0.01;
    trade.spread = 3;
    trade.direction = 1;
    EXPECT_EQ(TradeResult(trade), 470.0);
    trade.direction = 0;
    EXPECT_EQ(TradeResult(trade), -530.0);
    trade.direction = -1;  // anything but 1 is a sell
    EXPECT_EQ(TradeResult(trade), -530.0);
}

TEST(TradingSystem, WorkedExampleOfSixTrades) {
    const std::vector<double> results = {10, -5, -5, 20, -30, 10};
    const TradeStats stats = Evaluate(TradesWithResults(results));
    EXPECT_EQ(stats.tradeCount, 6);
    EXPECT_EQ(stats.maxDrawdown, 30.0);  // running totals 10, 5, 0, 20, -10, 0
    EXPECT_EQ(stats.buyCount, 3);        // trades 0, 2, 4
    EXPECT_EQ(stats.buyWins, 1);
    EXPECT_EQ(stats.buyLosses, 2);
    EXPECT_EQ(stats.sellCount, 3);
    EXPECT_EQ(stats.sellWins, 2);
    EXPECT_EQ(stats.sellLosses, 1);
    EXPECT_EQ(stats.buyAverage, -25.0 / 3);
    EXPECT_EQ(stats.sellAverage, 25.0 / 3);
    EXPECT_EQ(stats.grossProfit, 40.0);
    EXPECT_EQ(stats.grossLoss, -40.0);
    EXPECT_EQ(stats.profitFactor, 1.0);
    EXPECT_EQ(stats.averageResult, 0.0);
    EXPECT_EQ(stats.meanToDeviation, 0.0);
    EXPECT_EQ(stats.maxLossStreak, 2);
    EXPECT_EQ(stats.tStatistic, 0.0);
    EXPECT_EQ(stats.tConfidence, 0.0);
    EXPECT_DOUBLE_EQ(stats.yearFactor, 365.0 / 5.5);
    // W L L W L W: 5 runs, X = 18, D = sqrt(18 * 12 / 5).
    EXPECT_NEAR(stats.runsZ, (6 * 4.5 - 18) / std::sqrt(18.0 * 12.0 / 5.0), 1e-14);
    // (3 - sqrt 3) * 40/3 - (3 + sqrt 3) * 40/3 - 20.
    EXPECT_NEAR(stats.pessimisticReturn, -80.0 / std::sqrt(3.0) - 20.0, 1e-12);
    EXPECT_TRUE(BytesUntouched(stats, 44, 48));
    EXPECT_TRUE(BytesUntouched(stats, 84, 88));
}

TEST(TradingSystem, AResultOfZero) {
    // 0 is a loss for the direction counts and the gross loss, neither a win
    // nor a loss for the pessimistic return, and keeps a losing streak going.
    const std::vector<double> results = {-10, 0, -10, 20, 0, 10};
    std::vector<Trade> trades;
    for (std::size_t k = 0; k < results.size(); ++k) trades.push_back(TradeWithResult(results[k], int(k)));
    const TradeStats stats = Evaluate(trades);
    EXPECT_EQ(stats.buyCount, 6);
    EXPECT_EQ(stats.buyWins, 2);
    EXPECT_EQ(stats.buyLosses, 4);
    EXPECT_EQ(stats.sellCount, 0);
    EXPECT_EQ(stats.sellAverage, 0.0);
    EXPECT_EQ(stats.grossProfit, 30.0);
    EXPECT_EQ(stats.grossLoss, -20.0);
    EXPECT_EQ(stats.profitFactor, 1.5);
    EXPECT_EQ(stats.maxLossStreak, 2);
    EXPECT_NEAR(stats.pessimisticReturn, (2 - std::sqrt(2.0)) * 15 - (2 + std::sqrt(2.0)) * 10 - 20, 1e-12);
    // Classes N N N W N W: 4 runs, W' = 2, L' = 4, X = 16.
    EXPECT_NEAR(stats.runsZ, (6 * 3.5 - 16) / std::sqrt(16.0 * 10.0 / 5.0), 1e-14);
}

TEST(TradingSystem, FiveTradesWriteOnlyTheCount) {
    const std::vector<double> results = {10, -5, -5, 20, -30};
    const TradeStats five = Evaluate(TradesWithResults(results));
    EXPECT_EQ(five.tradeCount, 5);
    EXPECT_TRUE(BytesUntouched(five, 0, 8));
    EXPECT_TRUE(BytesUntouched(five, 12, sizeof(TradeStats)));

    std::vector<double> six = results;
    six.push_back(10);
    const TradeStats full = Evaluate(TradesWithResults(six));
    EXPECT_EQ(full.tradeCount, 6);
    EXPECT_FALSE(BytesUntouched(full, 0, 8));
    EXPECT_FALSE(BytesUntouched(full, 136, 144));
    EXPECT_TRUE(BytesUntouched(full, 44, 48));
    EXPECT_TRUE(BytesUntouched(full, 84, 88));
}

TEST(TradingSystem, TradesThatAreNotClosedCountNowhere) {
    const std::vector<double> results = {10, -5, -5, 20, -30, 10};
    const TradeStats reference = Evaluate(TradesWithResults(results));
    std::vector<Trade> trades = TradesWithResults(results);
    Trade ignored = TradeWithResult(1e6, -500);
    ignored.closed = 0;
    ignored.openTime = -1e9;
    ignored.closeTime = 1e9;
    ignored.point = 0.0;  // would be a division by zero if it were read as a trade
    trades.insert(trades.begin(), ignored);
    trades.insert(trades.begin() + 3, ignored);
    trades.push_back(ignored);
    const TradeStats stats = Evaluate(trades);
    EXPECT_EQ(std::memcmp(&stats, &reference, sizeof stats), 0);

    std::vector<Trade> five = TradesWithResults({1, 2, 3, 4, 5, 6});
    five[2].closed = 0;
    EXPECT_EQ(Evaluate(five).tradeCount, 5);
    EXPECT_TRUE(BytesUntouched(Evaluate(five), 12, sizeof(TradeStats)));
}

TEST(TradingSystem, AllResultsPositive) {
    const TradeStats stats = Evaluate(TradesWithResults({10, 20, 30, 40, 50, 60}));
    EXPECT_EQ(stats.profitFactor, 0.0);
    EXPECT_EQ(stats.runsZ, 0.0);
    EXPECT_EQ(stats.maxDrawdown, 0.0);
    EXPECT_EQ(stats.grossLoss, 0.0);
    EXPECT_EQ(stats.maxLossStreak, 0);
    EXPECT_EQ(stats.averageResult, 35.0);
    EXPECT_NEAR(stats.pessimisticReturn, (6 - std::sqrt(6.0)) * 35.0 - 60.0, 1e-12);
    // m = 35, s = sqrt(350), e = s / sqrt 6: t = 4.58 after rounding.
    EXPECT_EQ(stats.tStatistic, 4.58);
    EXPECT_NEAR(stats.meanToDeviation, 35.0 / std::sqrt(350.0), 1e-15);
}

TEST(TradingSystem, TheConfidenceComesFromTheUnroundedT) {
    const TradeStats stats = Evaluate(TradesWithResults({10, 20, 30, 40, 50, 60}));
    const double t = 35.0 / (std::sqrt(350.0) / std::sqrt(6.0));  // 4.5825...
    EXPECT_NEAR(stats.tConfidence, StudentProbability(t, 5), 1e-15);
    EXPECT_NE(stats.tConfidence, StudentProbability(stats.tStatistic, 5));
}

TEST(TradingSystem, EqualResultsHaveNoTStatistic) {
    const TradeStats stats = Evaluate(TradesWithResults({-10, -10, -10, -10, -10, -10}));
    EXPECT_EQ(stats.tStatistic, 0.0);
    EXPECT_EQ(stats.tConfidence, 0.0);
    EXPECT_EQ(stats.meanToDeviation, 0.0);
    EXPECT_EQ(stats.maxLossStreak, 6);
    EXPECT_EQ(stats.maxDrawdown, 50.0);
    EXPECT_EQ(stats.profitFactor, 0.0);
    EXPECT_NEAR(stats.pessimisticReturn, -(6 + std::sqrt(6.0)) * 10, 1e-12);
}

TEST(TradingSystem, AZeroTimeSpanGivesNoYearFactor) {
    std::vector<Trade> trades = TradesWithResults({10, -5, -5, 20, -30, 10});
    for (Trade& trade : trades) trade.openTime = trade.closeTime = 40000.0;
    EXPECT_EQ(Evaluate(trades).yearFactor, 0.0);
}

TEST(TradingSystem, UnusableCallsWriteNothing) {
    const std::vector<Trade> trades = TradesWithResults({10, -5, -5, 20, -30, 10});
    TradeStats stats = UntouchedStats();
    KachestvoMTS(nullptr, 6, &stats);
    KachestvoMTS(trades.data(), -1, &stats);
    KachestvoMTS(nullptr, 0, &stats);
    EXPECT_TRUE(BytesUntouched(stats, 0, sizeof stats));
    KachestvoMTS(trades.data(), 6, nullptr);  // must not crash

    KachestvoMTS(trades.data(), 0, &stats);
    EXPECT_EQ(stats.tradeCount, 0);
    EXPECT_TRUE(BytesUntouched(stats, 0, 8));
    EXPECT_TRUE(BytesUntouched(stats, 12, sizeof stats));
}

TEST(TradingSystem, OnePassDrawdownEqualsThePairwiseDefinition) {
    std::mt19937_64 random(20261211);
    std::uniform_real_distribution<double> price(0.5, 2.0);
    std::uniform_int_distribution<int> spread(0, 5);
    for (int round = 0; round < 200; ++round) {
        const int n = 6 + static_cast<int>(random() % 60);
        std::vector<Trade> trades(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k) {
            Trade& trade = trades[static_cast<std::size_t>(k)];
            trade.closed = 1;
            trade.openTime = k;
            trade.closeTime = k + 0.25;
            trade.openPrice = price(random);
            trade.closePrice = round % 3 == 0 ? trade.openPrice : price(random);  // some zero results
            trade.point = round % 2 == 0 ? 0.0001 : 0.01;
            trade.spread = spread(random);
            trade.direction = static_cast<int32_t>(random() % 2);
        }
        std::vector<double> totals;
        double running = 0.0;
        for (const Trade& trade : trades) {
            running = ToDouble(Extended(running) + TradeResult(trade));
            totals.push_back(running);
        }
        const TradeStats stats = Evaluate(trades);
        ASSERT_EQ(stats.maxDrawdown, PairwiseDrawdown(totals)) << "round " << round;
        ASSERT_EQ(MaxDrawdown(totals.data(), n), PairwiseDrawdown(totals));
    }
    // Ties, a flat start and a single total.
    const std::vector<double> flat = {0, 0, 0, -1, -1, 3, 3, -2};
    EXPECT_EQ(MaxDrawdown(flat.data(), 8), PairwiseDrawdown(flat));
    EXPECT_EQ(MaxDrawdown(flat.data(), 1), 0.0);
    EXPECT_EQ(MaxDrawdown(flat.data(), 0), 0.0);
}

TEST(TradingSystem, KeepsTheCallersFloatingPointState) {
    std::mt19937_64 random(99);
    std::uniform_real_distribution<double> price(1.0, 1.5);
    std::vector<Trade> trades(40);
    for (std::size_t k = 0; k < trades.size(); ++k) {
        Trade& trade = trades[k];
        trade.closed = 1;
        trade.openTime = 40000.0 + k / 7.0;
        trade.closeTime = trade.openTime + 0.3;
        trade.openPrice = price(random);
        trade.closePrice = price(random);
        trade.point = 0.0001;
        trade.spread = 2;
        trade.direction = k % 3 == 0 ? 1 : 0;
    }
    const TradeStats reference = Evaluate(trades);
    const int previous = std::fegetround();
    ASSERT_EQ(std::fesetround(FE_UPWARD), 0);
    const TradeStats upward = Evaluate(trades);
    const int during = std::fegetround();
    std::fesetround(previous);
    EXPECT_EQ(during, FE_UPWARD);
    EXPECT_EQ(std::memcmp(&upward, &reference, sizeof reference), 0);
}

TEST(TradingSystem, RunsTestGuards) {
    const double two[] = {1, -1};
    EXPECT_EQ(RunsZ(two, 2), 0.0);
    const double wins[] = {1, 2, 3, 4};
    EXPECT_EQ(RunsZ(wins, 4), 0.0);  // X = 0, D = 0
    const double alternating[] = {1, -1, 1, -1};
    // 4 runs, X = 8, D = sqrt(8 * 4 / 3).
    EXPECT_NEAR(RunsZ(alternating, 4), (4 * 3.5 - 8) / std::sqrt(32.0 / 3.0), 1e-14);
}

// Two-sided Student probability against critical values of the t table
// (two-sided 95 % and 99 %).
TEST(StudentProbability, MatchesTableValues) {
    struct Case {
        int nu;
        double t95;
        double t99;
    };
    const Case cases[] = {{1, 12.706, 63.657}, {2, 4.303, 9.925}, {3, 3.182, 5.841},
                          {4, 2.776, 4.604},   {10, 2.228, 3.169}, {30, 2.042, 2.750}};
    for (const Case& c : cases) {
        EXPECT_NEAR(StudentProbability(c.t95, c.nu), 0.95, 2e-4) << "nu " << c.nu;
        EXPECT_NEAR(StudentProbability(-c.t95, c.nu), 0.95, 2e-4) << "nu " << c.nu;
        EXPECT_NEAR(StudentProbability(c.t99, c.nu), 0.99, 1e-4) << "nu " << c.nu;
    }
}

TEST(StudentProbability, ClosedFormsAndBounds) {
    for (double t : {0.1, 0.5, 1.0, 2.0, 7.5}) {
        EXPECT_NEAR(StudentProbability(t, 1), 2.0 / std::numbers::pi * std::atan(t), 1e-15);
        EXPECT_NEAR(StudentProbability(t, 2), t / std::sqrt(t * t + 2), 1e-15);
    }
    for (int nu : {0, -3}) EXPECT_EQ(StudentProbability(2.0, nu), 0.0);
    for (int nu = 1; nu <= 40; ++nu) {
        EXPECT_EQ(StudentProbability(0.0, nu), 0.0);
        EXPECT_LE(StudentProbability(1e300, nu), 1.0) << "nu " << nu;
        EXPECT_GE(StudentProbability(1e300, nu), 1.0 - 1e-15) << "nu " << nu;
    }
    EXPECT_EQ(StudentProbability(1e300, 1), 1.0);
}

// The series against a numerical integral of the density, for even and odd
// degrees of freedom.
TEST(StudentProbability, MatchesTheIntegralOfTheDensity) {
    for (int nu : {3, 4, 5, 6, 7, 8, 15, 16}) {
        const double logScale =
            std::lgamma((nu + 1) / 2.0) - std::lgamma(nu / 2.0) - 0.5 * std::log(nu * std::numbers::pi);
        auto density = [&](double x) { return std::exp(logScale - (nu + 1) / 2.0 * std::log1p(x * x / nu)); };
        for (double t : {0.3, 1.0, 2.5}) {
            const int steps = 2000;  // Simpson's rule over [0, t]
            const double h = t / steps;
            double sum = density(0) + density(t);
            for (int i = 1; i < steps; ++i) sum += density(i * h) * (i % 2 == 1 ? 4 : 2);
            EXPECT_NEAR(StudentProbability(t, nu), 2 * sum * h / 3, 1e-11) << "nu " << nu << " t " << t;
        }
    }
}

}  // namespace
}  // namespace zentrik::evaluation
