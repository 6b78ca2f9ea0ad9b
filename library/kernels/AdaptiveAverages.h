// Adaptive averages: the efficiency ratio, Kaufman's adaptive moving average
// (speed set by a 50-bar efficiency ratio) and the MESA adaptive moving
// average (speed set by the phase rate of the Hilbert pipeline).
//
// Series are indexed by bar, index 0 the oldest. The kernels write only the
// bars they name and never change their input.
#pragma once

#include <cstdint>

namespace zentrik {

// Efficiency ratio of the n bars before bar i (bars i - n .. i - 1):
// net / (net + path), net = |series[i-1] - series[i-n]|, path = the sum of
// the n - 1 single-bar moves between them. Lies in 0 .. 0.5 (0.5 for a
// straight move). Returns 0 when i - n < 0, when net + path = 0, and for
// n < 1 (a window without bars). `unused` is part of the calling convention
// and is not read.
double EfficiencyRatio(const double* series, const double* unused, std::int32_t n, std::int32_t i);

// Kaufman's adaptive moving average: efficiency window 50, fast constant
// 2/3, slow constant 2/31. K starts at series[49] and advances from bar 50;
// result[101 .. last] = K. With last < 101 nothing is read or written.
void KaufmanAdaptiveAverage(double* result, const double* series, std::int32_t last);

// MESA adaptive moving average, fast limit 0.5, slow limit 0.05. Runs the
// Hilbert pipeline from base bar 50 with 9 warm-up steps (first full bar
// 62; bars before 50 are not read); the average starts from 0 at bar 62 and
// result[100 .. last] = M. With last < 62 nothing is read or written.
void MesaAdaptiveAverage(double* result, const double* series, std::int32_t last);

}  // namespace zentrik
