#include "RangeOscillators.h"

#include <algorithm>

#include "Extended.h"
#include "MovingAverages.h"
#include "Scratch.h"

namespace zentrik {
namespace {

// 4/7 rounded to extended precision (the blend's normalising factor).
constexpr Extended kFourSevenths = 4.0L / 7.0L;

// The factor -0.01 of the Williams range, an extended constant.
constexpr Extended kMinusOneHundredth = -0.01L;

// The raw stochastic of one length for TripleStochastic: (close - L) / (H - L)
// over the p-bar window ending at i, 0 when the window's low equals its high.
double RawStochastic(const double* high, const double* low, const double* close, std::int32_t p,
                     std::int32_t i) {
    const double windowLow = WindowMin(low, p, i);
    const double windowHigh = WindowMax(high, p, i);
    if (windowLow == windowHigh) return 0.0;
    return ToDouble((Extended(close[i]) - windowLow) / (Extended(windowHigh) - windowLow));
}

}  // namespace

void SlowStochastic(double* result, const double* high, const double* low, const double* close,
                    std::int32_t n, std::int32_t m, std::int32_t last) {
    if (last < 0) return;
    const std::int64_t size = std::int64_t{last} + 1;
    Series num = MakeSeries(size);
    Series den = MakeSeries(size);
    for (std::int32_t i = 0; i <= last; ++i) {
        const double windowHigh = WindowMax(high, n, i);
        const double windowLow = WindowMin(low, n, i);
        num[i] = ToDouble(Extended(close[i]) - windowLow);
        den[i] = ToDouble(Extended(windowHigh) - windowLow);
    }
    Series averageNum = MakeSeries(size);
    Series averageDen = MakeSeries(size);
    SimpleAverage(averageNum.data(), num.data(), 3, last);
    SimpleAverage(averageDen.data(), den.data(), 3, last);

    // The first two bars keep the averaged numerator in price units.
    Series k = MakeSeries(size);
    for (std::int32_t i = 0; i <= std::min<std::int32_t>(1, last); ++i) k[i] = averageNum[i];
    for (std::int32_t i = 2; i <= last; ++i) {
        if (averageDen[i] == 0.0) averageDen[i] = kEpsilon;
        k[i] = ToDouble(Extended(averageNum[i]) * 100.0L / averageDen[i]);
    }
    SimpleAverage(result, k.data(), m, last);
}

void FastStochastic(double* result, const double* high, const double* low, const double* close,
                    std::int32_t n, std::int32_t m, std::int32_t last) {
    if (last < 0) return;
    Series k = MakeSeries(std::int64_t{last} + 1);
    // The first two bars carry the window highs in price units.
    for (std::int32_t i = 0; i <= std::min<std::int32_t>(1, last); ++i) k[i] = WindowMax(high, n, i);
    for (std::int32_t i = 2; i <= last; ++i) {
        const double windowHigh = WindowMax(high, n, i);
        const double windowLow = WindowMin(low, n, i);
        double d = ToDouble(Extended(windowHigh) - windowLow);
        if (d == 0.0) d = kEpsilon;
        k[i] = ToDouble((Extended(close[i]) - windowLow) * 100.0L / d);
    }
    SimpleAverage(result, k.data(), m, last);
}

void PriceChannelRange(double* result, const double* high, const double* low, const double* close,
                       std::int32_t n, std::int32_t last) {
    // A negative length would start before bar 0; nothing exists there.
    for (std::int32_t i = std::max<std::int32_t>(n, 0); i <= last; ++i) {
        const double windowHigh = WindowMax(high, n, i);
        const double windowLow = WindowMin(low, n, i);
        const double r = ToDouble(Extended(windowHigh) - windowLow);
        result[i] = r == 0.0 ? 0.0 : ToDouble((Extended(windowHigh) - close[i]) * 100.0L / r);
    }
}

void WilliamsR14(double* result, const double* high, const double* low, const double* close,
                 std::int32_t last) {
    double lowest = 0.0;
    double highest = 0.0;
    std::int32_t lowestAt = -1;  // none known yet
    std::int32_t highestAt = -1;
    for (std::int32_t i = 100; i <= last; ++i) {
        const std::int32_t j = i - 13;
        if (lowestAt < j) {
            lowest = low[j];
            lowestAt = j;
            for (std::int32_t k = j + 1; k <= i; ++k) {
                if (low[k] < lowest) {
                    lowest = low[k];
                    lowestAt = k;
                }
            }
        } else if (low[i] <= lowest) {
            lowest = low[i];
            lowestAt = i;
        }
        if (highestAt < j) {
            highest = high[j];
            highestAt = j;
            for (std::int32_t k = j + 1; k <= i; ++k) {
                if (high[k] > highest) {
                    highest = high[k];
                    highestAt = k;
                }
            }
        } else if (high[i] >= highest) {
            highest = high[i];
            highestAt = i;
        }
        const double s = ToDouble((Extended(highest) - lowest) * kMinusOneHundredth);
        result[i] = s == 0.0 ? 0.0 : ToDouble((Extended(close[i]) - highest) / s);
    }
}

void TripleStochastic(double* result, const double* high, const double* low, const double* close,
                      std::int32_t last) {
    for (std::int32_t i = 15; i <= last; ++i) {
        const double k7 = RawStochastic(high, low, close, 7, i);
        const double k14 = RawStochastic(high, low, close, 14, i);
        const double k28 = RawStochastic(high, low, close, 28, i);
        result[i] = ToDouble((Extended(k7) * 0.25L + Extended(k14) * 0.5L + k28) * 100.0L * kFourSevenths);
    }
}

}  // namespace zentrik
