#include "CandlePatterns.h"

#include <cmath>
#include <vector>

#include "Extended.h"

namespace zentrik {
namespace {

// One record of the working table: the four prices of a bar.
struct Candle {
    double open = 0.0;
    double high = 0.0;
    double low = 0.0;
    double close = 0.0;
};

// The bar under test and its predecessors: O(k), H(k), L(k), C(k) are the
// prices of bar t - k, R(k) its range and M(k) the middle of its range.
// R and M are shorthand, not stored values: they stay extended.
class Window {
public:
    explicit Window(const Candle* current) : current_(current) {}
    double O(int k) const { return current_[-k].open; }
    double H(int k) const { return current_[-k].high; }
    double L(int k) const { return current_[-k].low; }
    double C(int k) const { return current_[-k].close; }
    Extended R(int k) const { return Extended(H(k)) - L(k); }
    Extended M(int k) const { return Extended(L(k)) + R(k) * 0.5L; }

private:
    const Candle* current_;
};

// The three narrowing ranges and the wide breakout bar shared by 9 .. 12.
bool NarrowingThenWide(const Window& w) {
    return w.R(3) < w.R(4) && w.R(2) < w.R(3) && w.R(1) < w.R(2) && w.R(0) > w.R(4);
}

// Patterns 3 .. 23 at the bar that `w` looks at.
bool CompletesShortPattern(std::int32_t pattern, const Window& w) {
    switch (pattern) {
        case 3:
            return w.O(1) > w.O(2) && w.H(1) > w.H(2) && w.L(1) > w.L(2) && w.C(1) > w.C(2) &&
                   w.O(0) < w.O(1) && w.H(0) < w.H(1) && w.L(0) < w.L(1) && w.C(0) < w.C(1) &&
                   w.C(0) < w.M(0) && w.C(0) < w.C(2) && w.C(0) < w.C(3);
        case 4:
            return w.O(1) < w.O(2) && w.H(1) < w.H(2) && w.L(1) < w.L(2) && w.C(1) < w.C(2) &&
                   w.O(0) > w.O(1) && w.H(0) > w.H(1) && w.L(0) > w.L(1) && w.C(0) > w.C(1) &&
                   w.C(0) > w.M(0) && w.C(0) > w.C(2) && w.C(0) > w.C(3);
        case 5:
            return w.H(0) < w.L(1) && w.C(0) < w.M(0) && w.C(0) < w.C(1) && w.C(0) < w.C(2) &&
                   w.C(0) < w.C(3);
        case 6:
            return w.L(0) > w.H(1) && w.C(0) > w.M(0) && w.C(0) > w.C(1) && w.C(0) > w.C(2) &&
                   w.C(0) > w.C(3);
        case 7:
            return w.H(0) < w.C(1) && w.C(0) < w.M(0) && w.C(0) < w.C(1) && w.C(0) < w.C(2);
        case 8:
            return w.L(0) > w.C(1) && w.C(0) > w.M(0) && w.C(0) > w.C(1) && w.C(0) > w.C(2);
        case 9:
            return NarrowingThenWide(w) && w.C(0) < w.M(0) && w.C(0) < w.L(1) && w.C(0) < w.L(2) &&
                   w.C(0) < w.L(3);
        case 10:
            return NarrowingThenWide(w) && w.C(0) > w.M(0) && w.C(0) > w.H(1) && w.C(0) > w.H(2) &&
                   w.C(0) > w.H(3);
        case 11:
            return NarrowingThenWide(w) && w.C(0) < w.M(0) && w.C(0) < w.C(1) && w.C(0) < w.C(2) &&
                   w.C(0) < w.C(3) && w.C(0) < w.C(4);
        case 12:
            // Not the mirror of 11: above the previous close, below the three before it.
            return NarrowingThenWide(w) && w.C(0) > w.M(0) && w.C(0) > w.C(1) && w.C(0) < w.C(2) &&
                   w.C(0) < w.C(3) && w.C(0) < w.C(4);
        case 13:
            return w.R(3) * 2 < w.R(4) && w.R(4) * 1.5L < w.R(2) && w.C(2) < w.C(4) &&
                   Extended(w.C(2)) - w.L(2) < w.R(2) * 0.125L &&
                   Extended(w.C(1)) - w.L(1) < w.R(1) * 0.125L &&
                   Extended(w.C(0)) - w.L(0) < w.R(0) * 0.125L;
        case 14:
            return w.R(3) * 2 < w.R(4) && w.R(4) * 1.5L < w.R(2) && w.C(2) > w.C(4) &&
                   Extended(w.H(2)) - w.C(2) < w.R(2) * 0.125L &&
                   Extended(w.H(1)) - w.C(1) < w.R(1) * 0.125L &&
                   Extended(w.H(0)) - w.C(0) < w.R(0) * 0.125L;
        case 15:
            return w.C(2) < w.O(2) && w.H(1) < w.L(2) &&
                   std::fabs(Extended(w.C(1)) - w.O(1)) * 10 < Extended(w.O(2)) - w.C(2) &&
                   w.C(0) > Extended(w.C(2)) + (Extended(w.O(2)) - w.C(2)) * 0.5L;
        case 16:
            return w.C(2) > w.O(2) && w.L(1) > w.H(2) &&
                   std::fabs(Extended(w.C(1)) - w.O(1)) * 10 < Extended(w.C(2)) - w.O(2) &&
                   w.C(0) < Extended(w.O(2)) + (Extended(w.C(2)) - w.O(2)) * 0.5L;
        case 17:
            // O1 < C0, C1 > O1, O1 > C1, C0 > O0: C1 > O1 and O1 > C1 contradict
            // each other, so the pattern never completes. It is kept that way on
            // purpose: callers (catalogue number 403) rely on its all-zero result.
            return w.O(1) < w.C(0) && w.C(1) > w.O(1) && w.O(1) > w.C(1) && w.C(0) > w.O(0);
        case 18:
            // O1 > C0, C1 < O1, O1 < C1, C0 < O0: C1 < O1 and O1 < C1 contradict
            // each other, so the pattern never completes (catalogue number 404
            // relies on its all-zero result).
            return w.O(1) > w.C(0) && w.C(1) < w.O(1) && w.O(1) < w.C(1) && w.C(0) < w.O(0);
        case 19:
            return w.C(1) < w.O(1) && w.C(0) > w.O(0) && w.O(0) < w.C(1) &&
                   w.C(0) > Extended(w.C(1)) + (Extended(w.O(1)) - w.C(1)) * 0.5L;
        case 20:
            return w.C(1) > w.O(1) && w.C(0) < w.O(0) && w.O(0) > w.C(1) &&
                   w.C(0) < Extended(w.O(1)) + (Extended(w.C(1)) - w.O(1)) * 0.5L;
        case 21:
            return w.O(1) == w.C(1) && w.O(0) == w.C(0);
        case 22:
            return w.C(1) < w.O(1) && w.C(0) > w.O(0) && w.O(0) > w.C(1) && w.C(0) < w.O(1) &&
                   (Extended(w.C(0)) - w.O(0)) * 5 < Extended(w.O(1)) - w.C(1);
        case 23:
            return w.C(1) > w.O(1) && w.C(0) < w.O(0) && w.O(0) < w.C(1) && w.C(0) > w.O(1) &&
                   (Extended(w.O(0)) - w.C(0)) * 5 < Extended(w.C(1)) - w.O(1);
        default:
            return false;
    }
}

// Patterns 1 (rising) and 2 (falling): the nine-bar sequences, tested on
// bars 14 .. last. The tests run in order and the first that fails ends the
// checks of the bar.
void MarkSequences(double* result, const std::vector<Candle>& bars, bool rising, std::int32_t last) {
    // Test 4 counts the bars m = 3 .. t whose close stays inside the two
    // previous highs (rising) or lows (falling). The condition of a bar m
    // does not depend on t, so the count is carried from one t to the next;
    // the result is the same as counting afresh for every bar.
    auto inside = [&](std::int32_t m) {
        const Candle& c = bars[static_cast<std::size_t>(m)];
        const Candle& p1 = bars[static_cast<std::size_t>(m - 1)];
        const Candle& p2 = bars[static_cast<std::size_t>(m - 2)];
        return rising ? (c.close < p1.high && c.close < p2.high) : (c.close > p1.low && c.close > p2.low);
    };
    constexpr std::int32_t kFirst = 14;
    if (last < kFirst) return;
    std::int64_t counted = 0;  // bars m = 3 .. t - 1 that meet the test-4 condition
    for (std::int32_t m = 3; m < kFirst; ++m) counted += inside(m) ? 1 : 0;

    for (std::int32_t t = kFirst; t <= last; ++t) {
        counted += inside(t) ? 1 : 0;  // now covers m = 3 .. t
        const Candle& now = bars[static_cast<std::size_t>(t)];
        const Candle& before = bars[static_cast<std::size_t>(t - 1)];

        // 1. Nine closes in a row beyond the close four bars earlier.
        bool pass = true;
        for (std::int32_t j = t - 8; pass && j <= t; ++j) {
            const double c = bars[static_cast<std::size_t>(j)].close;
            const double c4 = bars[static_cast<std::size_t>(j - 4)].close;
            pass = rising ? c > c4 : c < c4;
        }
        // 2. No bar of the sequence lies wholly beyond the current bar.
        for (std::int32_t j = t - 8; pass && j <= t - 1; ++j) {
            const Candle& b = bars[static_cast<std::size_t>(j)];
            pass = rising ? b.high >= now.low : b.low <= now.high;
        }
        // 3. Bars 6 .. 12 of the series, the same seven bars for every t.
        for (std::int32_t j = 6; pass && j <= 12; ++j) {
            const Candle& b = bars[static_cast<std::size_t>(j)];
            pass = rising ? b.high >= before.low : b.low <= before.high;
        }
        // 4. More than 12 bars from t down to 3 meet the inside condition.
        if (pass && counted > 12) result[t] = 1.0;
    }
}

}  // namespace

std::int32_t CandlePatternFirstBar(std::int32_t pattern) {
    switch (pattern) {
        case 1: case 2: return 14;
        case 3: case 4: case 5: case 6: return 3;
        case 7: case 8: return 2;
        case 9: case 10: case 11: case 12: case 13: case 14: return 4;
        case 15: case 16: return 2;
        case 17: case 18: case 19: case 20: case 21: case 22: case 23: return 1;
        default: return 0;
    }
}

void CandlePattern(double* result, const double* open, const double* high, const double* low,
                   const double* close, std::int32_t pattern, std::int32_t last) {
    if (last < 0) return;
    for (std::int32_t i = 0; i <= last; ++i) result[i] = 0.0;
    if (pattern < kFirstCandlePattern || pattern > kLastCandlePattern) return;

    // The four columns, copied into one table of last + 5 records; the four
    // records past the last bar are zero and never read.
    std::vector<Candle> bars(static_cast<std::size_t>(std::int64_t{last} + 5));
    for (std::int32_t i = 0; i <= last; ++i) {
        bars[static_cast<std::size_t>(i)] = Candle{open[i], high[i], low[i], close[i]};
    }

    if (pattern == 1 || pattern == 2) {
        MarkSequences(result, bars, pattern == 1, last);
        return;
    }
    for (std::int32_t t = CandlePatternFirstBar(pattern); t <= last; ++t) {
        if (CompletesShortPattern(pattern, Window(bars.data() + t))) result[t] = 1.0;
    }
}

}  // namespace zentrik
