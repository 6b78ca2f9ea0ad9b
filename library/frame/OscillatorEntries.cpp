// Named entries of the price helpers, the range oscillators and the momentum
// oscillators. Each applies the calling frame to one kernel with the columns
// that the kernel reads; parameters reach the kernel unchanged. A parameter
// that would make the kernel reach outside the arrays is refused with
// ZENTRIK_ERangeError before anything is touched; every other value is
// computed as given (a length that only divides by zero reports the
// floating-point fault).
#include "Frame.h"
#include "kernels/MomentumOscillators.h"
#include "kernels/PriceHelpers.h"
#include "kernels/RangeOscillators.h"

using namespace zentrik;

extern "C" {

// Typical price (high + low + close) / 3 of every bar. No parameter.
ZENTRIK_API int32_t ZENTRIK_CALL TypPrice(double* result, int32_t count, const Bar* bars) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn | kCloseColumn, true,
                             [&](const PriceColumns& c) { TypicalPrice(result, c.high, c.low, c.close, c.last); });
}

// Mean true range of the 51 bars before each bar, from bar 50 on. No parameter.
ZENTRIK_API int32_t ZENTRIK_CALL Rasmax(double* result, int32_t count, const Bar* bars) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn | kCloseColumn, true,
                             [&](const PriceColumns& c) { MeanTrueRange(result, c.high, c.low, c.close, c.last); });
}

// Slow stochastic %K. rangeLength and averageLength: any value. Windows are
// clipped at bar 0, so a length beyond the history uses every bar; a length
// below 1 is an empty window (range 0, guarded by epsilon; an empty final
// average gives 0).
ZENTRIK_API int32_t ZENTRIK_CALL StochOsc(double* result, int32_t count, const Bar* bars, int32_t rangeLength,
                                          int32_t averageLength) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn | kCloseColumn, true,
                             [&](const PriceColumns& c) {
                                 SlowStochastic(result, c.high, c.low, c.close, rangeLength, averageLength, c.last);
                             });
}

// Price channel range from bar `period` on. period >= 0 (a negative period
// would start before bar 0: ZENTRIK_ERangeError); a period of 0 is an empty
// channel and gives 0 on every bar; a period beyond the history writes
// nothing.
ZENTRIK_API int32_t ZENTRIK_CALL PCR(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn | kCloseColumn,
                             IsPeriodAtLeast(period, 0), [&](const PriceColumns& c) {
                                 PriceChannelRange(result, c.high, c.low, c.close, period, c.last);
                             });
}

// 14-bar Williams %R on a 0 .. 100 scale, from bar 100 on. No parameter.
ZENTRIK_API int32_t ZENTRIK_CALL WILL(double* result, int32_t count, const Bar* bars) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn | kCloseColumn, true,
                             [&](const PriceColumns& c) { WilliamsR14(result, c.high, c.low, c.close, c.last); });
}

// Blend of the 7-, 14- and 28-bar stochastics, from bar 15 on. No parameter.
ZENTRIK_API int32_t ZENTRIK_CALL Osnovn(double* result, int32_t count, const Bar* bars) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn | kCloseColumn, true,
                             [&](const PriceColumns& c) { TripleStochastic(result, c.high, c.low, c.close, c.last); });
}

// Per-mille momentum of the close against the close `period` bars back.
// period >= 0 (a negative period would read bars after the current one:
// ZENTRIK_ERangeError); 0 compares a bar with itself (0 everywhere); a
// period beyond the history gives 0 everywhere.
ZENTRIK_API int32_t ZENTRIK_CALL Momentum(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, IsPeriodAtLeast(period, 0),
                             [&](const PriceColumns& c) { MomentumPerMille(result, c.close, period, c.last); });
}

// MACD line of the closes, fast minus slow exponential average. fastPeriod
// and slowPeriod: any value (the averages never index by their length); -1
// divides by zero in the smoothing factor and reports ZENTRIK_EZeroDivide.
ZENTRIK_API int32_t ZENTRIK_CALL MACD(double* result, int32_t count, const Bar* bars, int32_t fastPeriod,
                                      int32_t slowPeriod) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, true, [&](const PriceColumns& c) {
        MacdLine(result, c.close, fastPeriod, slowPeriod, c.last);
    });
}

// Relative strength index of the closes. period: any value (it only scales
// the smoothing); 0 divides by zero and reports a floating-point fault
// (ZENTRIK_EZeroDivide, or ZENTRIK_EInvalidOp on a history without moves).
ZENTRIK_API int32_t ZENTRIK_CALL RSI(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, true,
                             [&](const PriceColumns& c) { RelativeStrength(result, c.close, period, c.last); });
}

// Commodity channel index of the typical price, from bar 90 on.
// averageLength and deviationLength: any value (simple averages clipped at
// bar 0); a length below 1 is an empty average of 0 (a deviation length
// below 1 gives 0 on every bar).
ZENTRIK_API int32_t ZENTRIK_CALL CCI(double* result, int32_t count, const Bar* bars, int32_t averageLength,
                                     int32_t deviationLength) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn | kCloseColumn, true,
                             [&](const PriceColumns& c) {
                                 CommodityChannel(result, c.close, c.high, c.low, averageLength, deviationLength,
                                                  c.last);
                             });
}

// Centre of gravity of the mid prices over period + 1 bars, newest weighted
// least. period >= 0 (a negative period would start before bar 0:
// ZENTRIK_ERangeError); 0 gives -1 wherever the mid price is not 0; a
// period beyond the history gives 0 everywhere.
ZENTRIK_API int32_t ZENTRIK_CALL CG(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn, IsPeriodAtLeast(period, 0),
                             [&](const PriceColumns& c) { CenterOfGravity(result, c.high, c.low, period, c.last); });
}

// Centre of gravity with the newest bar weighted most. period >= 0 as for CG.
ZENTRIK_API int32_t ZENTRIK_CALL CGO(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn, IsPeriodAtLeast(period, 0),
                             [&](const PriceColumns& c) {
                                 CenterOfGravityOscillator(result, c.high, c.low, period, c.last);
                             });
}

}  // extern "C"
