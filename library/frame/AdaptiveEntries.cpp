// Named entries of the adaptive averages and the regression and forecast
// kernels, all over the close column.
#include <limits>

#include "Frame.h"
#include "kernels/AdaptiveAverages.h"
#include "kernels/RegressionForecast.h"

using namespace zentrik;

namespace {

// A forecast period that PriceForecast can use: 0 or more, and small enough
// that the first computed bar, period + 10, is a 32-bit index.
bool ForecastPeriodValid(std::int32_t period) {
    return period >= 0 && period <= std::numeric_limits<std::int32_t>::max() - 10;
}

}  // namespace

extern "C" {

// Kaufman's adaptive average of the closes; bars 101 .. count - 1 (fewer than
// 102 bars: all zeros). No parameters.
ZENTRIK_API int32_t ZENTRIK_CALL KAMA(double* result, int32_t count, const Bar* bars) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, true, [&](const PriceColumns& c) {
        KaufmanAdaptiveAverage(result, c.close, c.last);
    });
}

// MESA adaptive average of the closes; bars 100 .. count - 1 (fewer than 63
// bars: all zeros). No parameters.
ZENTRIK_API int32_t ZENTRIK_CALL MAMA(double* result, int32_t count, const Bar* bars) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, true, [&](const PriceColumns& c) {
        MesaAdaptiveAverage(result, c.close, c.last);
    });
}

// 14-bar least-squares line of the closes at the current bar; bars 50 ..
// count - 1. No parameters.
ZENTRIK_API int32_t ZENTRIK_CALL Regress(double* result, int32_t count, const Bar* bars) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, true, [&](const PriceColumns& c) {
        LinRegLine14(result, c.close, c.last);
    });
}

// 14-bar least-squares line of the closes one bar ahead; bars 100 ..
// count - 1. No parameters.
ZENTRIK_API int32_t ZENTRIK_CALL TSF(double* result, int32_t count, const Bar* bars) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, true, [&](const PriceColumns& c) {
        TimeSeriesForecast14(result, c.close, c.last);
    });
}

// Forecast of the next close minus the current close from the
// (period + 1)-bar weighted average; bars period + 10 .. count - 1.
// Accepted: 0 <= period <= 2147483637 (so that period + 10 is an index);
// anything else returns ZENTRIK_ERangeError and touches nothing.
ZENTRIK_API int32_t ZENTRIK_CALL Prognoz(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, ForecastPeriodValid(period),
                             [&](const PriceColumns& c) { PriceForecast(result, c.close, period, c.count); });
}

// Slope of the 14-bar least-squares line through the log-returns of the
// closes, in degrees per radian; bars 50 .. count - 1. No parameters.
ZENTRIK_API int32_t ZENTRIK_CALL UgolLog(double* result, int32_t count, const Bar* bars) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, true, [&](const PriceColumns& c) {
        LogTrendAngle(result, c.close, c.count);
    });
}

}  // extern "C"
