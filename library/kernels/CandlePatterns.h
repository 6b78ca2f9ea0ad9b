// Candle patterns: marks the bars on which one of 23 fixed bar patterns
// completes (nine-bar sequences, two- and three-bar reversals, breakouts
// after narrowing ranges, stars, piercing lines, harami and doji pairs).
#pragma once

#include <cstdint>

namespace zentrik {

// The pattern numbers CandlePattern knows.
inline constexpr std::int32_t kFirstCandlePattern = 1;
inline constexpr std::int32_t kLastCandlePattern = 23;

// The first bar on which `pattern` can complete (the earliest bar whose
// predecessors the pattern reads all exist); 0 for an unknown pattern.
std::int32_t CandlePatternFirstBar(std::int32_t pattern);

// Sets result[0 .. last] to 0, then result[t] = 1.0 on every bar t from the
// pattern's first bar to `last` on which the pattern completes. Any pattern
// number outside 1 .. 23 leaves the result all 0; so do 17 and 18, whose
// conditions contradict each other. Reads open, high, low and close at
// bars 0 .. last only; with `last` < 0 nothing is read or written.
void CandlePattern(double* result, const double* open, const double* high, const double* low,
                   const double* close, std::int32_t pattern, std::int32_t last);

}  // namespace zentrik
