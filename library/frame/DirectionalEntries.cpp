// Named entries of the directional-movement lines and the parabolic stops.
//
// None of these kernels can be made to reach outside the arrays by its
// period: windows are clipped at bar 0, warm-up lengths (2n' + 50, n' + 49)
// are computed in 64 bits, and a kernel writes nothing beyond the last bar.
// So every period is accepted; periods without meaning give the kernel's
// own result, or a floating-point status where the kernel divides by zero.
#include "Frame.h"
#include "kernels/DirectionalMovement.h"
#include "kernels/StopLines.h"

using namespace zentrik;

extern "C" {

// Accepted periods: every int32 value. The smoothing factor is 2 / (p + 1):
// p = -1 divides by zero (ZENTRIK_EZeroDivide); other periods below 1 give
// factors outside 0 .. 1 and a result without meaning, but stay inside the
// arrays.
ZENTRIK_API int32_t ZENTRIK_CALL AvgDirMov(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn | kCloseColumn, true,
                             [&](const PriceColumns& c) {
                                 AverageDirectionalMovement(c.high, c.low, c.close, c.last, period, result);
                             });
}

// Accepted periods: every int32 value. Periods below 1 average empty windows
// and give 0 from bar 1 on; periods beyond the history average from bar 0.
ZENTRIK_API int32_t ZENTRIK_CALL DMI(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn, true, [&](const PriceColumns& c) {
        DirectionalMovementIndex(result, c.high, c.low, period, c.last);
    });
}

// No parameter.
ZENTRIK_API int32_t ZENTRIK_CALL ADX(double* result, int32_t count, const Bar* bars) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn, true,
                             [&](const PriceColumns& c) { DirectionalSpread(result, c.high, c.low, c.last); });
}

// Accepted periods: every int32 value; periods below 2 count as 2. Bars
// 0 .. 99 read 50.0 (as far as the history reaches), the running sum is
// written from bar max(p, 2) + 49 on; a history that short of it keeps only
// the 50.0 fill and zeros.
ZENTRIK_API int32_t ZENTRIK_CALL PlusDM(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn, true, [&](const PriceColumns& c) {
        SmoothedPlusDm(result, c.high, c.low, period, c.count);
    });
}

// Accepted periods: as PlusDM.
ZENTRIK_API int32_t ZENTRIK_CALL MinusDM(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn, true, [&](const PriceColumns& c) {
        SmoothedMinusDm(result, c.high, c.low, period, c.count);
    });
}

// Accepted regression lengths: every int32 value. Bars before bar 0 are left
// out of the regression window; a length below 1 has an empty window and a
// zero slope, so only bar 200 starts a leg and later bars keep the close.
// With fewer than 201 bars the result is the close.
ZENTRIK_API int32_t ZENTRIK_CALL Parabolic(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn | kCloseColumn, true,
                             [&](const PriceColumns& c) {
                                 RegressionParabolic(result, c.high, c.low, c.close, period, c.last);
                             });
}

// No parameter.
ZENTRIK_API int32_t ZENTRIK_CALL SAR(double* result, int32_t count, const Bar* bars) {
    return RunIndicatorEntry(result, count, bars, kHighColumn | kLowColumn | kCloseColumn, true,
                             [&](const PriceColumns& c) { ParabolicSar(result, c.high, c.low, c.close, c.last); });
}

}  // extern "C"
