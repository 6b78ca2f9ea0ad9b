// Statistics of the trade list of a mechanical trading system (KachestvoMTS).
//
// Every result is measured in tenths of a point after costs. The pieces that
// the entry combines are kept as functions of their own so that they can be
// checked one by one. They follow the library's arithmetic conventions
// (kernels/Extended.h): named values are doubles, intermediate expressions
// stay extended until they are stored.
#pragma once

#include <cstdint>

#include "zentrik/zentrik.h"

namespace zentrik::evaluation {

// The double value of pi used by the Student probability. With it 2θ/π is
// exactly 1 at the largest θ, so the probability never exceeds 1.
inline constexpr double kPi = 3.141592653589793;

// Result of one trade: ((close - open) / point - spread) * 10 for a buy
// (direction 1), ((open - close) / point - spread) * 10 for anything else.
double TradeResult(const Trade& trade);

// Two-sided Student's t probability A(t | nu): the probability that a
// t-distributed variable with nu degrees of freedom lies between -|t| and
// |t|, by the finite series for even and odd nu. nu <= 0 gives 0.
double StudentProbability(double t, std::int64_t nu);

// Z value of the runs test over results[0 .. n-1] (wins are results above
// 0, everything else the other class). 0 below 3 results and when the
// deviation term is 0.
double RunsZ(const double* results, std::int64_t n);

// Largest fall of a series of running totals: the largest totals[l] -
// totals[j] over l < j, 0 when no later total lies below an earlier one.
// One pass: for each j the fall is measured from the highest earlier total.
// Not-a-number totals take part in no comparison.
double MaxDrawdown(const double* totals, std::int64_t n);

}  // namespace zentrik::evaluation
