// Stop lines that follow the price and jump to the other side when the trend
// turns: two parabolic stops, two swing-trend lines and two trailing stops.
//
// Every kernel writes bars 0 .. last and reads only bars 0 .. last of its
// inputs. Index arithmetic is done in 64 bits, so every length is safe.
#pragma once

#include <cstdint>

namespace zentrik {

// Parabolic stop whose turns are decided by the sign change of the
// least-squares slope of the closes of the n bars before the current one
// (bars before 0 skipped). result = close for bars 0 .. last; from bar 200
// on the stop line (bar 200 always starts a leg three average true ranges of
// the five previous bars away from the close).
void RegressionParabolic(double* result, const double* high, const double* low, const double* close,
                         std::int32_t n, std::int32_t last);

// The classic stop and reverse, acceleration step 0.02 capped at 0.2.
// Bar 0 is a turn to long at its own low, so result[0] = low[0].
// `close` is not read.
void ParabolicSar(double* result, const double* high, const double* low, const double* close,
                  std::int32_t last);

// Line that steps from swing high to swing low; result[1] is 0.
// `close` is not read.
void SwingTrend(double* result, const double* high, const double* low, const double* close, std::int32_t last);

// SwingTrend over the highest high and lowest low of the n bars ending at each
// bar (an empty window, n < 1, gives 0). `close` is not read.
void ChannelSwingTrend(double* result, const double* high, const double* low, const double* close,
                       std::int32_t last, std::int32_t n);

// Trailing stop x weighted true ranges (weighted over n bars) below the
// highest close, or above the lowest close, of the current run (at most 50
// bars). The true range of bar 0 counts as 0.
void WatrTrailingStop(double* result, const double* high, const double* low, const double* close,
                      std::int32_t last, std::int32_t n, double x);

// Trailing stop at (1 - 0.01 p) times the highest (rising) or lowest
// (falling) value of the current run of `series` (at most 50 bars).
void PercentTrailingStop(double* result, const double* series, double p, std::int32_t last);

}  // namespace zentrik
