// Least-squares line kernels over a fixed window of one series, and the
// one-bar-ahead forecast of a linearly weighted average.
//
// Series are indexed by bar, index 0 the oldest. Every kernel writes only
// the bars of its own range, leaves all others as the caller set them and
// never changes its input. A range whose first bar lies beyond `last`
// (count - 1) writes nothing.
#pragma once

#include <cstdint>

namespace zentrik {

// result[i] = the 14-bar least-squares line's value at bar i, for bars
// 50 .. last.
void LinRegLine14(double* result, const double* source, std::int32_t last);

// The same line, written for bars 100 .. last only.
void LinRegLine14Late(double* result, const double* source, std::int32_t last);

// result[i] = the 14-bar line extended one bar ahead, bars 100 .. last.
void TimeSeriesForecast14(double* result, const double* source, std::int32_t last);

// True when an n-bar window fits LinRegLineN: 1 <= n <= 51, so that the
// window of bar 50 starts at bar 0 or later.
bool LinRegLineNWindowFits(std::int32_t n);

// result[i] = the n-bar line's value at bar i, bars 50 .. last. Writes
// nothing unless LinRegLineNWindowFits(n). For n = 1 the line through one
// point is taken as flat (slope 0), so the value is the source itself.
void LinRegLineN(double* result, const double* source, std::int32_t last, std::int32_t n);

// result[i] = slope of the 14-bar line times 57.29577951308232 (no
// arctangent is taken), bars 50 .. last.
void LinRegAngle14(double* result, const double* source, std::int32_t last);

// LinRegAngle14 over the log-returns ln(source[j] / source[j-1]); a bar
// whose price ratio lies outside 0.5 .. 2 gets the log-return 0, as bar 0
// does. Writes bars 50 .. count - 1.
void LogTrendAngle(double* result, const double* source, std::int32_t count);

// result[0 .. count-1] = 0, then for bars L + 10 .. count - 1 the forecast of
// the next price from the (L + 1)-bar weighted average, minus the current
// price. A negative L computes no bar (the result is only cleared).
void PriceForecast(double* result, const double* source, std::int32_t L, std::int32_t count);

}  // namespace zentrik
