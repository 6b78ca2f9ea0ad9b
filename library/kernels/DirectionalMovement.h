// Directional movement: how far each bar's high rose above the previous high
// against how far its low fell below the previous low, turned into trend
// strength lines with six different smoothings and scales.
//
// Per-bar moves, for bar k >= 1: up = high[k] - high[k-1],
// down = low[k-1] - low[k]. Every kernel writes only the bars named below and
// reads only bars 0 .. last (count - 1). Integer periods enter the formulas
// as extended values; index arithmetic is done in 64 bits, so every period
// value is safe.
#pragma once

#include <cstdint>

namespace zentrik {

// Exponentially smoothed directional spread on a true-range scale.
// P = u / r, M = d / r per bar (only the larger move counts, a tie counts for
// neither; r = MaxOfThree(|low - prevClose|, |high - prevClose|,
// |high - prevLow|), r = 0 is no movement); both smoothed with
// ExponentialSmoothing(n); X = |(EP - EM) * 100 / (EP + EM + eps)|;
// result = ExponentialSmoothing(X, n). Writes bars 0 .. last.
// The result pointer comes last.
void AverageDirectionalMovement(const double* high, const double* low, const double* close,
                                std::int32_t last, std::int32_t n, double* result);

// Signed moves over the bar's range, P = (high - prevHigh) / g and
// M = (prevLow - low) / g with g = high - low (a bar without range carries
// the previous ratios over); result = SimpleAverage(P, n) - SimpleAverage(M, n).
// Writes bars 1 .. last.
void DirectionalMovementIndex(double* result, const double* high, const double* low, std::int32_t n,
                              std::int32_t last);

// The two ratios of DirectionalMovementIndex scaled by 100, unsmoothed:
// result = |P - M|. Writes bars 1 .. last.
void DirectionalSpread(double* result, const double* high, const double* low, std::int32_t last);

// Wilder's ADX from running sums of the plus and minus movement, n' = max(n, 1).
// Writes bars 2n' + 50 .. count - 1 (nothing with fewer than 2n' + 51 bars).
// DX is 0 while both running sums are 0. `close` is not read.
void WilderAdx(double* result, const double* high, const double* low, const double* close, std::int32_t n,
               std::int32_t count);

// Wilder's running sum of the plus (minus) movement, n' = max(n, 2).
// Writes 50.0 to bars 0 .. 99 (stopping at the end of the array), then the
// sum to bars n' + 49 .. count - 1.
void SmoothedPlusDm(double* result, const double* high, const double* low, std::int32_t n,
                    std::int32_t count);
void SmoothedMinusDm(double* result, const double* high, const double* low, std::int32_t n,
                     std::int32_t count);

}  // namespace zentrik
