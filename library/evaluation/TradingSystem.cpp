#include "TradingSystem.h"

#include <cmath>
#include <new>
#include <vector>

#include "frame/Platform.h"
#include "kernels/Extended.h"

namespace zentrik::evaluation {

double TradeResult(const Trade& trade) {
    if (trade.direction == 1) {
        return ToDouble(((Extended(trade.closePrice) - trade.openPrice) / trade.point - trade.spread) * 10);
    }
    return ToDouble(((Extended(trade.openPrice) - trade.closePrice) / trade.point - trade.spread) * 10);
}

double StudentProbability(double t, std::int64_t nu) {
    if (nu <= 0) return 0.0;
    const double theta = ToDouble(std::atan(Extended(std::fabs(t)) / std::sqrt(Extended(nu))));
    const Extended cosTheta = std::cos(Extended(theta));
    const Extended sinTheta = std::sin(Extended(theta));
    const double c = ToDouble(cosTheta * cosTheta);
    if (nu % 2 == 0) {
        // sin θ × (1 + c·1/2 + c²·(1·3)/(2·4) + …), up to c^((ν−2)/2).
        double term = 1.0;
        double sum = 1.0;
        for (std::int64_t j = 1; j <= (nu - 2) / 2; ++j) {
            term = ToDouble(Extended(term) * (2 * j - 1) / (2 * j) * c);
            sum = ToDouble(Extended(sum) + term);
        }
        return ToDouble(sinTheta * sum);
    }
    if (nu == 1) return ToDouble(Extended(2) * theta / kPi);
    // 2θ/π + (2/π) sin θ cos θ × (1 + c·2/3 + c²·(2·4)/(3·5) + …), up to c^((ν−3)/2).
    double term = 1.0;
    double sum = 1.0;
    for (std::int64_t j = 1; j <= (nu - 3) / 2; ++j) {
        term = ToDouble(Extended(term) * (2 * j) / (2 * j + 1) * c);
        sum = ToDouble(Extended(sum) + term);
    }
    return ToDouble(Extended(2) * theta / kPi + Extended(2) / kPi * sinTheta * cosTheta * sum);
}

double RunsZ(const double* results, std::int64_t n) {
    if (n < 3) return 0.0;
    std::int64_t wins = 0;
    std::int64_t runs = 1;
    for (std::int64_t k = 0; k < n; ++k) {
        const bool win = results[k] > 0.0;
        if (win) ++wins;
        if (k > 0 && win != (results[k - 1] > 0.0)) ++runs;
    }
    const std::int64_t others = n - wins;
    // X = 2·W'·L' is exact in extended (it needs at most 62 bits) and rounded once.
    const double x = ToDouble(Extended(2) * wins * others);
    const double d = ToDouble(std::sqrt(Extended(x) * (Extended(x) - n) / (n - 1)));
    if (d == 0.0) return 0.0;
    return ToDouble((Extended(n) * (Extended(runs) - 0.5L) - x) / d);
}

double MaxDrawdown(const double* totals, std::int64_t n) {
    // The fall to totals[j] is largest from the highest earlier total, and
    // rounding the difference is monotonic, so this equals the largest of
    // all the pairwise differences.
    double drawdown = 0.0;
    double peak = -HUGE_VAL;
    for (std::int64_t j = 1; j < n; ++j) {
        if (totals[j - 1] > peak) peak = totals[j - 1];
        const double fall = ToDouble(Extended(peak) - totals[j]);
        if (fall > drawdown) drawdown = fall;
    }
    return drawdown;
}

namespace {

// Fills stats from the trades; returns false when the working arrays cannot
// be allocated (nothing has been written then).
bool Evaluate(const Trade* trades, std::int32_t count, TradeStats* stats) {
    std::int32_t n = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        if (trades[i].closed != 0) ++n;
    }
    if (n <= 5) {
        stats->tradeCount = n;
        return true;
    }

    std::vector<double> results;
    std::vector<double> totals;
    try {
        results.resize(static_cast<std::size_t>(n));
        totals.resize(static_cast<std::size_t>(n));
    } catch (const std::bad_alloc&) {
        return false;
    }

    // First pass: results, total, gross profit and loss, counts and sums by direction.
    double total = 0.0;
    double grossProfit = 0.0;
    double grossLoss = 0.0;
    std::int32_t buyCount = 0, buyWins = 0, sellCount = 0, sellWins = 0;
    double buySum = 0.0;
    double sellSum = 0.0;
    double firstOpen = 0.0;
    double lastClose = 0.0;
    std::int32_t k = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        const Trade& trade = trades[i];
        if (trade.closed == 0) continue;
        const double r = TradeResult(trade);
        results[static_cast<std::size_t>(k)] = r;
        total = ToDouble(Extended(total) + r);
        const bool buy = trade.direction == 1;
        if (r > 0.0) {
            grossProfit = ToDouble(Extended(grossProfit) + r);
            if (buy) {
                ++buyWins;
            } else {
                ++sellWins;
            }
        } else {
            grossLoss = ToDouble(Extended(grossLoss) + r);
        }
        if (buy) {
            ++buyCount;
            buySum = ToDouble(Extended(buySum) + r);
        } else {
            ++sellCount;
            sellSum = ToDouble(Extended(sellSum) + r);
        }
        if (k == 0) firstOpen = trade.openTime;
        lastClose = trade.closeTime;
        ++k;
    }
    stats->tradeCount = n;

    // A zero time span has no year factor: 0 instead of an infinity.
    const Extended span = Extended(lastClose) - firstOpen;
    stats->yearFactor = span == 0 ? 0.0 : ToDouble(365 / span);

    const double m = ToDouble(Extended(total) / n);
    stats->averageResult = m;
    double squares = 0.0;
    for (std::int32_t j = 0; j < n; ++j) {
        const Extended deviation = Extended(results[static_cast<std::size_t>(j)]) - m;
        squares = ToDouble(Extended(squares) + deviation * deviation);
    }
    const double s = ToDouble(std::sqrt(Extended(squares) / (n - 1)));
    const double e = ToDouble(Extended(s) / std::sqrt(Extended(n)));
    if (e > 0.0) {
        const double t = ToDouble(Extended(m) / e);
        stats->tStatistic = Okrug(t, 2);
        stats->tConfidence = StudentProbability(t, n - 1);
    } else {
        stats->tStatistic = 0.0;
        stats->tConfidence = 0.0;
    }

    // Second pass: running totals, wins and losses, the losing streak.
    double running = 0.0;
    std::int32_t winCount = 0, lossCount = 0;
    double winSum = 0.0;
    double lossSum = 0.0;
    double winMax = 0.0;
    std::int32_t streak = 0, longestStreak = 0;
    for (std::int32_t j = 0; j < n; ++j) {
        const double r = results[static_cast<std::size_t>(j)];
        running = ToDouble(Extended(running) + r);
        totals[static_cast<std::size_t>(j)] = running;
        if (r > 0.0) {
            ++winCount;
            winSum = ToDouble(Extended(winSum) + r);
            if (r > winMax) winMax = r;
            streak = 0;
        } else if (r < 0.0) {
            ++lossCount;
            lossSum = ToDouble(Extended(lossSum) + std::fabs(r));
            ++streak;
            if (streak > longestStreak) longestStreak = streak;
        }
    }

    const std::int32_t winDivisor = winCount == 0 ? 1 : winCount;
    const std::int32_t lossDivisor = lossCount == 0 ? 1 : lossCount;
    stats->pessimisticReturn =
        ToDouble((Extended(winCount) - std::sqrt(Extended(winCount))) * (Extended(winSum) / winDivisor) -
                 (Extended(lossCount) + std::sqrt(Extended(lossCount))) * (Extended(lossSum) / lossDivisor) -
                 winMax);

    stats->buyCount = buyCount;
    stats->buyWins = buyWins;
    stats->buyLosses = buyCount - buyWins;
    stats->sellCount = sellCount;
    stats->sellWins = sellWins;
    stats->sellLosses = sellCount - sellWins;
    stats->grossProfit = grossProfit;
    stats->grossLoss = grossLoss;
    stats->profitFactor = grossLoss != 0.0 ? ToDouble(std::fabs(Extended(grossProfit) / grossLoss)) : 0.0;
    stats->buyAverage = buyCount > 0 ? ToDouble(Extended(buySum) / buyCount) : 0.0;
    stats->sellAverage = sellCount > 0 ? ToDouble(Extended(sellSum) / sellCount) : 0.0;
    stats->meanToDeviation = s != 0.0 ? ToDouble(Extended(m) / s) : 0.0;
    stats->runsZ = RunsZ(results.data(), n);
    stats->maxLossStreak = longestStreak;
    stats->maxDrawdown = MaxDrawdown(totals.data(), n);
    return true;
}

}  // namespace
}  // namespace zentrik::evaluation

extern "C" ZENTRIK_API void ZENTRIK_CALL KachestvoMTS(const Trade* trades, int32_t count, TradeStats* stats) {
    if (trades == nullptr || stats == nullptr || count < 0) return;
    zentrik::platform::FloatingPointScope floatingPoint;
    if (!zentrik::evaluation::Evaluate(trades, count, stats)) stats->tradeCount = 0;
}
