// Candle patterns: each pattern on a small fixture that completes it on its
// last bar and on one that just misses it.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "Histories.h"
#include "kernels/CandlePatterns.h"

namespace zentrik {
namespace {

struct Candle {
    double open, high, low, close;
};
using Candles = std::vector<Candle>;

// The columns of a fixture, exactly as long as the fixture.
struct Columns {
    std::vector<double> open, high, low, close;
    explicit Columns(const Candles& candles) {
        for (const Candle& c : candles) {
            open.push_back(c.open);
            high.push_back(c.high);
            low.push_back(c.low);
            close.push_back(c.close);
        }
    }
};

// Runs the kernel over bars 0 .. last; the result has two sentinel slots
// past the fixture that must stay untouched.
std::vector<double> RunPattern(const Candles& candles, std::int32_t pattern, std::int32_t last) {
    const Columns c(candles);
    std::vector<double> result(candles.size() + 2, -7.0);
    CandlePattern(result.data(), c.open.data(), c.high.data(), c.low.data(), c.close.data(), pattern, last);
    return result;
}

std::vector<double> RunPattern(const Candles& candles, std::int32_t pattern) {
    return RunPattern(candles, pattern, static_cast<std::int32_t>(candles.size()) - 1);
}

// The same bars reflected about 20 (high and low swap): turns every rising
// pattern into its falling mirror and back. Prices are multiples of 1/8, so
// the reflection is exact.
Candles Mirror(const Candles& candles) {
    Candles out;
    for (const Candle& c : candles) out.push_back({40 - c.open, 40 - c.low, 40 - c.high, 40 - c.close});
    return out;
}

// Pattern 1: closes rising by 0.25 a bar, each below the two previous highs,
// lows far below. Every bar m >= 3 counts for the fourth test, so the count
// first exceeds 12 at bar 15.
Candles RisingSequence(int count) {
    Candles out;
    for (int i = 0; i < count; ++i) {
        const double close = 10 + 0.25 * i;
        out.push_back({close, close + 2, close - 5, close});
    }
    return out;
}

struct PatternCase {
    std::int32_t pattern;
    std::int32_t mirrorPattern;  // the pattern that the mirrored fixtures test, 0 for none
    Candles hit;                 // completes the pattern on its last bar
    Candles miss;                // fails exactly one condition on its last bar
};

std::vector<PatternCase> Cases() {
    const Candle flat{10, 11, 9, 10};
    Candles sequenceMiss = RisingSequence(16);
    // Bar 14 closes higher with a high low: the low of bar t - 1 now lies
    // above the high of bar 6, one of the fixed bars 6 .. 12 of the series.
    sequenceMiss[14] = {14.5, 16.5, 14, 14.5};
    return {
        {1, 2, RisingSequence(16), sequenceMiss},
        // higher bar, then a bar lower in all four prices closing low
        {3, 4,
         {{10, 11, 9, 10.5}, {10, 11, 9, 10}, {11, 12, 10, 11}, {10.5, 11.5, 8, 8.5}},
         {{10, 11, 9, 8.5}, {10, 11, 9, 10}, {11, 12, 10, 11}, {10.5, 11.5, 8, 8.5}}},  // C0 = C3
        // gap down closing low
        {5, 6,
         {flat, flat, flat, {8.5, 8.75, 7, 7.5}},
         {flat, flat, flat, {8.5, 9, 7, 7.5}}},  // H0 = L1: no gap
        // high below the previous close
        {7, 8,
         {flat, flat, {9.5, 9.75, 8, 8.25}},
         {flat, flat, {9.5, 9.75, 8, 9}}},  // C0 above the middle of its range
        // three narrowing ranges, then a wide bar closing below three lows
        {9, 10,
         {{10, 12, 8, 10}, {10, 11.5, 8.5, 10}, {10, 11, 9, 10}, {10, 10.5, 9.5, 10}, {9, 10, 5, 5.5}},
         {{10, 12, 8, 10}, {10, 11.5, 8.5, 10}, {10, 11, 9, 10}, {10, 10.5, 9.5, 10}, {9, 10, 6, 6.5}}},  // R0 = R4
        {11, 0,
         {{10, 12, 8, 10}, {10, 11.5, 8.5, 10}, {10, 11, 9, 10}, {10, 10.5, 9.5, 10}, {9, 10, 5, 5.5}},
         {{10, 12, 8, 10}, {10, 11.5, 8.5, 10}, {10, 11, 9, 10}, {10, 10.5, 9.5, 10}, {9, 10, 5, 7.5}}},  // C0 = M0
        // above the previous close, below the three before it
        {12, 0,
         {{10, 12, 8, 10}, {10, 11.5, 8.5, 10}, {10, 11, 9, 10}, {9.5, 10, 9, 9}, {6, 10, 5, 9.5}},
         {{10, 12, 8, 10}, {10, 11.5, 8.5, 10}, {10, 11, 9, 10}, {9.5, 10, 9, 9}, {6, 10, 5, 9}}},  // C0 = C1
        // bar, narrow bar, wide bar, then two more closes in the lowest eighth
        {13, 14,
         {{10, 11, 9, 10}, {10, 10.25, 9.75, 10}, {10, 12, 8, 8.25}, {8.5, 9, 7, 7.125}, {7, 7.5, 5.5, 5.625}},
         {{10, 11, 9, 10}, {10, 10.25, 9.75, 10}, {10, 12, 8, 8.25}, {8.5, 9, 7, 7.125}, {7, 7.5, 5.5, 5.75}}},
        // long black body, star below a gap, close past the middle of the body
        {15, 16,
         {{12, 12.5, 9.5, 10}, {9, 9.25, 8.5, 9.125}, {9.5, 11.5, 9.25, 11.25}},
         {{12, 12.5, 9.5, 10}, {9, 9.25, 8.5, 9.125}, {9.5, 11.5, 9.25, 11}}},  // C0 at the middle
        // piercing line
        {19, 20,
         {{12, 12.5, 9.5, 10}, {9.5, 11.5, 9, 11.25}},
         {{12, 12.5, 9.5, 10}, {9.5, 11.5, 9, 11}}},  // C0 at the middle
        // two dojis
        {21, 21,
         {{10, 11, 9, 10}, {10.5, 11, 9, 10.5}},
         {{10, 11, 9, 10}, {10.5, 11, 9, 10.625}}},
        // small white body inside a black body five times larger
        {22, 23,
         {{12, 12.5, 9.5, 10}, {10.5, 11.5, 10.25, 10.75}},
         {{12, 12.5, 9.5, 10}, {10.5, 11.5, 10.25, 11}}},  // body times 5 = previous body
    };
}

void ExpectMarks(const Candles& candles, std::int32_t pattern, bool hit, const char* what) {
    const auto result = RunPattern(candles, pattern);
    const std::size_t last = candles.size() - 1;
    EXPECT_EQ(result[last], hit ? 1.0 : 0.0) << "pattern " << pattern << " " << what;
    for (std::size_t i = 0; i < static_cast<std::size_t>(CandlePatternFirstBar(pattern)); ++i) {
        EXPECT_EQ(result[i], 0.0) << "pattern " << pattern << " bar " << i << " before the first bar";
    }
    EXPECT_EQ(result[last + 1], -7.0) << "pattern " << pattern << ": nothing past last";
}

TEST(CandlePatterns, EachPatternCompletesOrJustMisses) {
    for (const PatternCase& c : Cases()) {
        ExpectMarks(c.hit, c.pattern, true, "hit");
        ExpectMarks(c.miss, c.pattern, false, "miss");
        if (c.mirrorPattern != 0) {
            ExpectMarks(Mirror(c.hit), c.mirrorPattern, true, "mirrored hit");
            ExpectMarks(Mirror(c.miss), c.mirrorPattern, false, "mirrored miss");
        }
    }
}

TEST(CandlePatterns, LastBeforeTheFirstBarGivesAllZeros) {
    for (const PatternCase& c : Cases()) {
        for (const std::int32_t pattern : {c.pattern, c.mirrorPattern}) {
            if (pattern == 0) continue;
            const Candles& bars = pattern == c.pattern ? c.hit : Mirror(c.hit);
            const std::int32_t first = CandlePatternFirstBar(pattern);
            // The fixture is cut to end one bar before the first bar tested,
            // so any read of a bar before 0 would be out of its columns.
            const Candles cut(bars.end() - first, bars.end());
            const auto result = RunPattern(cut, pattern);
            for (std::size_t i = 0; i < cut.size(); ++i) EXPECT_EQ(result[i], 0.0) << pattern;
        }
    }
}

TEST(CandlePatterns, SequenceCountMustExceedTwelve) {
    // At bar 14 only the twelve bars 3 .. 14 can count; from bar 15 on the
    // rising sequence is marked on every bar.
    const auto result = RunPattern(RisingSequence(30), 1);
    for (int i = 0; i <= 14; ++i) EXPECT_EQ(result[static_cast<std::size_t>(i)], 0.0) << i;
    for (int i = 15; i < 30; ++i) EXPECT_EQ(result[static_cast<std::size_t>(i)], 1.0) << i;
    const auto mirrored = RunPattern(Mirror(RisingSequence(30)), 2);
    EXPECT_EQ(mirrored, result);
    // Fifteen bars: the first bar exists but never completes.
    for (double v : RunPattern(RisingSequence(15), 1)) EXPECT_NE(v, 1.0);
}

TEST(CandlePatterns, SequenceLooksAtTheSameSevenEarlyBars) {
    // Bars 11 .. 20 are the same in both series; only bar 9, one of the
    // fixed bars 6 .. 12, differs: its high now lies below the low of bar
    // 19, so bar 20 fails the third test although its own sequence (bars
    // 12 .. 20) and its count are unchanged in kind.
    Candles bars = RisingSequence(21);
    EXPECT_EQ(RunPattern(bars, 1)[20], 1.0);
    ASSERT_EQ(bars[19].low, 9.75);
    bars[9] = {9.25, 9.5, 9, 9.25};
    EXPECT_EQ(RunPattern(bars, 1)[20], 0.0);
    EXPECT_EQ(RunPattern(Mirror(bars), 2)[20], 0.0);
}

TEST(CandlePatterns, IdenticalBars) {
    const Candles doji(20, Candle{10, 11, 9, 10});
    const Candles white(20, Candle{10, 11, 9, 10.5});
    for (std::int32_t pattern = 1; pattern <= 23; ++pattern) {
        const auto dojiResult = RunPattern(doji, pattern);
        const auto whiteResult = RunPattern(white, pattern);
        for (std::size_t i = 0; i < 20; ++i) {
            EXPECT_EQ(dojiResult[i], pattern == 21 && i >= 1 ? 1.0 : 0.0) << "pattern " << pattern << " bar " << i;
            EXPECT_EQ(whiteResult[i], 0.0) << "pattern " << pattern << " bar " << i;
        }
    }
}

TEST(CandlePatterns, SeventeenAndEighteenMarkNothing) {
    // Bars that meet every condition of the two-bar reversals except the
    // contradictory pair, and a long random history.
    const Candles whiteAfterBlack{{11, 11.5, 9.5, 10}, {9.75, 12, 9.5, 11.5}};
    const Candles blackAfterWhite = Mirror(whiteAfterBlack);
    const auto history = testing::MakeHistory(3000, testing::kYenPair);
    Candles random;
    for (const Bar& b : history) random.push_back({b.open, b.high, b.low, b.close});
    for (const std::int32_t pattern : {17, 18}) {
        for (const Candles* bars : {&whiteAfterBlack, &blackAfterWhite, static_cast<const Candles*>(&random)}) {
            const auto result = RunPattern(*bars, pattern);
            for (std::size_t i = 0; i < bars->size(); ++i) ASSERT_EQ(result[i], 0.0) << pattern;
        }
    }
}

TEST(CandlePatterns, UnknownPatternsClearTheResult) {
    const Candles bars(10, Candle{10, 11, 9, 10});
    for (const std::int32_t pattern : {0, -1, 24, 100, INT_MIN, INT_MAX}) {
        const auto result = RunPattern(bars, pattern);
        for (std::size_t i = 0; i < bars.size(); ++i) EXPECT_EQ(result[i], 0.0) << pattern;
        EXPECT_EQ(result[bars.size()], -7.0);
    }
    // last < 0 writes nothing at all.
    const auto none = RunPattern(bars, 21, -1);
    for (double v : none) EXPECT_EQ(v, -7.0);
}

TEST(CandlePatterns, MarksAreZeroOrOneOnARealHistory) {
    const auto history = testing::MakeHistory(2000, testing::kEuroPair);
    Candles bars;
    for (const Bar& b : history) bars.push_back({b.open, b.high, b.low, b.close});
    int marked = 0;
    for (std::int32_t pattern = 1; pattern <= 23; ++pattern) {
        const auto result = RunPattern(bars, pattern);
        for (std::size_t i = 0; i < bars.size(); ++i) {
            ASSERT_TRUE(result[i] == 0.0 || result[i] == 1.0);
            if (i < static_cast<std::size_t>(CandlePatternFirstBar(pattern))) {
                ASSERT_EQ(result[i], 0.0);
            }
            marked += result[i] == 1.0 ? 1 : 0;
        }
    }
    EXPECT_GT(marked, 0);
}

}  // namespace
}  // namespace zentrik
