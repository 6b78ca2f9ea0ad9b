// Range oscillators: the position of the close inside the range of recent
// highs and lows, in percent (two stochastic %K lines, the price channel
// range, a 14-bar Williams %R on a positive scale and a blend of three
// stochastics).
//
// Every kernel writes only the bars named below; all other entries of the
// result keep what the caller put there. Inputs are never changed.
#pragma once

#include <cstdint>

namespace zentrik {

// Slow %K. H, L = window high/low over n bars; num = close - L, den = H - L;
// A, B = 3-bar simple averages of num and den; from bar 2 on
// K = A * 100 / B (B = 0 replaced by epsilon), K[0..1] = A[0..1] unscaled;
// result = m-bar simple average of K. Writes bars 0 .. last.
void SlowStochastic(double* result, const double* high, const double* low, const double* close,
                    std::int32_t n, std::int32_t m, std::int32_t last);

// Fast %K. From bar 2 on K = (close - L) * 100 / (H - L) (a zero range
// replaced by epsilon); K[0..1] = H[0..1], the window highs, unscaled;
// result = m-bar simple average of K. Writes bars 0 .. last.
void FastStochastic(double* result, const double* high, const double* low, const double* close,
                    std::int32_t n, std::int32_t m, std::int32_t last);

// (H - close) * 100 / (H - L) over the n-bar window high H and low L, 0 for a
// zero range: 0 at the top of the channel, 100 at the bottom.
// Writes bars max(n, 0) .. last.
void PriceChannelRange(double* result, const double* high, const double* low, const double* close,
                       std::int32_t n, std::int32_t last);

// 100 * (HH - close) / (HH - LL) over the 14 bars ending at each bar, 0 for a
// zero range. Writes bars 100 .. last only.
void WilliamsR14(double* result, const double* high, const double* low, const double* close,
                 std::int32_t last);

// (k7 * 0.25 + k14 * 0.5 + k28) * 100 * 4/7 with kp the raw stochastic over
// p bars (0 for a zero range). Writes bars 15 .. last only.
void TripleStochastic(double* result, const double* high, const double* low, const double* close,
                      std::int32_t last);

}  // namespace zentrik
