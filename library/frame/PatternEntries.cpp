// Named entries of the candle patterns and the trend lines.
#include <algorithm>
#include <cstdint>

#include "Frame.h"
#include "kernels/CandlePatterns.h"
#include "kernels/TrendLines.h"

using namespace zentrik;

namespace {

// The first bar that Trend writes; bars before it keep 0.0.
constexpr std::int32_t kFirstTrendBar = 15;

// The window start i - period of Trend's bar i, computed in 64 bits and
// brought into the range where it cannot overflow without changing what
// the slope angle returns: a start below 0 is raised to 0 (as the kernel
// does itself), a start past i + 1 (a negative period) becomes i + 1, the
// empty window that reads nothing and gives 0.
std::int32_t TrendWindowStart(std::int32_t i, std::int32_t period) {
    const std::int64_t start = std::int64_t{i} - period;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(start, 0, std::int64_t{i} + 1));
}

}  // namespace

extern "C" {

// Candle pattern `pattern` (1 .. 23): 1.0 on every bar where it completes,
// 0.0 elsewhere. Every int is accepted: numbers outside 1 .. 23, and the
// patterns 17 and 18 whose conditions contradict each other, give all zeros.
ZENTRIK_API int32_t ZENTRIK_CALL Svecha(double* result, int32_t count, const Bar* bars, int32_t pattern) {
    const unsigned columns = kOpenColumn | kHighColumn | kLowColumn | kCloseColumn;
    return RunIndicatorEntry(result, count, bars, columns, true, [&](const PriceColumns& c) {
        CandlePattern(result, c.open, c.high, c.low, c.close, pattern, c.last);
    });
}

// Slope angle of the closes of bars i - period .. i, for every bar i from
// 15 on; bars 0 .. 14 keep 0.0 whatever the period. Every int is accepted:
// a period above i uses the closes from bar 0, a period of 0 (one bar) or
// below (an empty window) gives 0.0. No window start overflows: it is
// formed in 64 bits and clipped to 0 .. i + 1, where the slope angle
// returns the same as for the unclipped start. Cost grows with count times
// the window length.
ZENTRIK_API int32_t ZENTRIK_CALL Trend(double* result, int32_t count, const Bar* bars, int32_t period) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, true, [&](const PriceColumns& c) {
        for (std::int32_t i = kFirstTrendBar; i <= c.last; ++i) {
            result[i] = TrendSlopeAngle(c.close, TrendWindowStart(i, period), i + 1);
        }
    });
}

// Hilbert trend line of the closes, written from bar 100 on; histories of
// 100 bars or fewer give all zeros. No parameter.
ZENTRIK_API int32_t ZENTRIK_CALL TrendMode(double* result, int32_t count, const Bar* bars) {
    return RunIndicatorEntry(result, count, bars, kCloseColumn, true, [&](const PriceColumns& c) {
        HilbertTrendline(result, c.close, c.last);
    });
}

}  // extern "C"
