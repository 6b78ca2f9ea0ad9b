// Named entries of the three moving averages of the close.
#include "Frame.h"
#include "kernels/MovingAverages.h"

using namespace zentrik;

extern "C" {

ZENTRIK_API int32_t ZENTRIK_CALL Srednee(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, true, [&](const PriceColumns& c) {
        SimpleAverage(result, c.close, period, c.last);
    });
}

ZENTRIK_API int32_t ZENTRIK_CALL SredneeX(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, true, [&](const PriceColumns& c) {
        ExponentialAverage(result, c.close, period, c.last);
    });
}

ZENTRIK_API int32_t ZENTRIK_CALL SredneeW(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, true, [&](const PriceColumns& c) {
        WeightedAverage(result, c.close, period, c.last);
    });
}

}  // extern "C"
