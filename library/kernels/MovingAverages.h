// Moving averages and window extremes over a series (index 0 = oldest bar).
//
// Windows of p bars end at the current bar and are clipped at bar 0. The
// kernels never learn the array length: callers pass `last`, the index of
// the last bar to compute, and guarantee that every touched index exists.
#pragma once

#include <cstdint>

namespace zentrik {

// out[i] = mean of src over the window of `period` bars ending at i,
// summed afresh for every bar, oldest value first; 0 for an empty window.
void SimpleAverage(double* out, const double* src, std::int32_t period, std::int32_t last);

// out[0] = src[0]; out[i] = a*src[i] + (1 - a)*out[i-1], a = 2 / (period + 1).
void ExponentialSmoothing(double* out, const double* src, std::int32_t period, std::int32_t last);

// e runs prev + (x - prev)*a over bars 0 .. 50 as a lead-in; out[0..50]
// carry the source itself, out[i] = e from bar 51 on. With fewer than 51
// bars the lead-in covers the bars that exist (out then equals src).
void ExponentialAverage(double* out, const double* src, std::int32_t period, std::int32_t last);

// Linearly weighted mean, weights 1 .. k from the oldest value present.
void WeightedAverage(double* out, const double* src, std::int32_t period, std::int32_t last);

// Highest (lowest) value of the window of `period` bars ending at `index`.
// Values at or beyond -/+10 000 000 are invisible; an empty window gives 0.
double WindowMax(const double* src, std::int32_t period, std::int32_t index);
double WindowMin(const double* src, std::int32_t period, std::int32_t index);

}  // namespace zentrik
