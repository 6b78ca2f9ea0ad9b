// Momentum oscillators: per-mille momentum, the MACD line and its 12/26/9
// signal line, the relative strength index, the commodity channel index and
// the centre of gravity in two weightings.
//
// Every kernel writes only the bars named below; all other entries of the
// result keep what the caller put there. Inputs are never changed.
#pragma once

#include <cstdint>

namespace zentrik {

// result[i] = (series[i] - p) * 1000 / p with p = series[i - n] when p > 0;
// 0 when p <= 0 or when bar i - n does not exist. Writes bars 0 .. last.
void MomentumPerMille(double* result, const double* series, std::int32_t n, std::int32_t last);

// ExponentialAverage(series, a) - ExponentialAverage(series, b); bars 0 .. 50
// are therefore 0. Writes bars 0 .. last.
void MacdLine(double* result, const double* series, std::int32_t a, std::int32_t b, std::int32_t last);

// ExponentialSmoothing with length 9 of the difference of the length-12 and
// length-26 exponential smoothings. Writes bars 0 .. last.
void MacdSignal(double* result, const double* series, std::int32_t last);

// 100 * AU / (AU + AD + epsilon) with the rises and falls smoothed as
// AU = ((n - 1) * AU + U) / n from 0 at bar 0. Writes bars 0 .. last.
void RelativeStrength(double* result, const double* series, std::int32_t n, std::int32_t last);

// Commodity channel index of the typical price T = (x1 + x3 + x2) / 3
// against its a-bar average M, scaled by 0.015 times the b-bar average of
// |T - M|. Bars 1 .. 89 are 0; values from bar 90 on. Writes bars 1 .. last.
void CommodityChannel(double* result, const double* x1, const double* x2, const double* x3,
                      std::int32_t a, std::int32_t b, std::int32_t last);

// -sum(w * mid) / sum(mid) over the n + 1 bars ending at each bar from n on,
// mid = (high + low) / 2, the weight running from n + 1 on the oldest bar
// down to 1 on the current bar; 0 where the sum of mids is 0 and on the
// bars before n. Writes bars 0 .. last.
void CenterOfGravity(double* result, const double* high, const double* low, std::int32_t n,
                     std::int32_t last);

// As CenterOfGravity with the weights 1 on the oldest bar up to n + 1 on the
// current bar. Writes bars 0 .. last.
void CenterOfGravityOscillator(double* result, const double* high, const double* low, std::int32_t n,
                               std::int32_t last);

}  // namespace zentrik
