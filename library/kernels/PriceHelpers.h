// Small comparison helpers, the true range, the typical price and the
// 51-bar mean true range.
#pragma once

#include <cstdint>

namespace zentrik {

// b if b > a, else a.
double MaxOfTwo(double a, double b);
// b if b < a, else a.
double MinOfTwo(double a, double b);
// The greatest of the three; among equal greatest values the earlier one.
double MaxOfThree(double a, double b, double c);
// 1 if a > b, else 0.
std::int32_t IsGreater(double a, double b);

// True range of bar j >= 1:
// MaxOfThree(high[j] - low[j], |high[j] - close[j-1]|, |low[j] - close[j-1]|).
double TrueRange(const double* high, const double* low, const double* close, std::int32_t j);

// result[i] = (high + low + close) * 1/3 for bars 0 .. last.
void TypicalPrice(double* result, const double* high, const double* low, const double* close,
                  std::int32_t last);

// result[0..49] = 0; from bar 50 the mean true range of bars max(1, i-51) .. i-1.
void MeanTrueRange(double* result, const double* high, const double* low, const double* close,
                   std::int32_t last);

}  // namespace zentrik
