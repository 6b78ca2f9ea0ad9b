#include "MomentumOscillators.h"

#include <algorithm>
#include <cmath>

#include "Extended.h"
#include "MovingAverages.h"
#include "Scratch.h"

namespace zentrik {
namespace {

// The commodity channel scale, an extended constant.
constexpr Extended kChannelScale = 0.015L;

// First bar at which the commodity channel has a deviation.
constexpr std::int32_t kChannelFirstBar = 90;

// The centre of gravity of both weightings. `oldestFirst` selects the
// weights ((j + 1) - i) + n (1 on the oldest bar); otherwise (i + 1) - j
// (n + 1 on the oldest bar). The mid price (high + low) * 0.5 is never
// stored: each term is weight * (high + low) * 0.5 in extended precision.
void CentreOfGravity(double* result, const double* high, const double* low, std::int32_t n,
                     std::int32_t last, bool oldestFirst) {
    for (std::int32_t i = 0; i <= last; ++i) result[i] = 0.0;
    // A negative length has an empty window: every bar stays 0.
    for (std::int32_t i = std::max<std::int32_t>(n, 0); i <= last; ++i) {
        double weighted = 0.0;  // N
        double sum = 0.0;       // Q
        for (std::int64_t j = std::int64_t{i} - n; j <= i; ++j) {
            const std::int64_t weight = oldestFirst ? ((j + 1) - i) + n : (std::int64_t{i} + 1) - j;
            const Extended highPlusLow = Extended(high[j]) + low[j];
            weighted = ToDouble(Extended(weighted) + static_cast<Extended>(weight) * highPlusLow * 0.5L);
            sum = ToDouble(Extended(sum) + highPlusLow * 0.5L);
        }
        if (sum != 0.0) result[i] = ToDouble(-Extended(weighted) / sum);
    }
}

}  // namespace

void MomentumPerMille(double* result, const double* series, std::int32_t n, std::int32_t last) {
    for (std::int32_t i = 0; i <= last; ++i) {
        const std::int64_t reference = std::int64_t{i} - n;
        // A reference bar outside 0 .. last (n < 0) does not exist either.
        if (reference < 0 || reference > last) {
            result[i] = 0.0;
            continue;
        }
        const double p = series[reference];
        result[i] = p > 0.0 ? ToDouble((Extended(series[i]) - p) * 1000.0L / p) : 0.0;
    }
}

void MacdLine(double* result, const double* series, std::int32_t a, std::int32_t b, std::int32_t last) {
    if (last < 0) return;
    const std::int64_t size = std::int64_t{last} + 1;
    Series fast = MakeSeries(size);
    Series slow = MakeSeries(size);
    ExponentialAverage(fast.data(), series, a, last);
    ExponentialAverage(slow.data(), series, b, last);
    for (std::int32_t i = 0; i <= last; ++i) result[i] = ToDouble(Extended(fast[i]) - slow[i]);
}

void MacdSignal(double* result, const double* series, std::int32_t last) {
    if (last < 0) return;  // ExponentialSmoothing writes bar 0 in any case
    const std::int64_t size = std::int64_t{last} + 1;
    Series e12 = MakeSeries(size);
    Series e26 = MakeSeries(size);
    ExponentialSmoothing(e12.data(), series, 12, last);
    ExponentialSmoothing(e26.data(), series, 26, last);
    Series macd = MakeSeries(size);
    for (std::int32_t i = 0; i <= last; ++i) macd[i] = ToDouble(Extended(e12[i]) - e26[i]);
    ExponentialSmoothing(result, macd.data(), 9, last);
}

void RelativeStrength(double* result, const double* series, std::int32_t n, std::int32_t last) {
    if (last < 0) return;
    // n - 1 and n as integers converted to extended; 64 bits so that no
    // length overflows. A length of 0 divides by zero, which the entry
    // reports as a floating-point fault.
    const Extended keep = static_cast<Extended>(std::int64_t{n} - 1);
    const Extended length = static_cast<Extended>(n);
    double averageUp = 0.0;    // AU
    double averageDown = 0.0;  // AD
    result[0] = 0.0;
    for (std::int32_t i = 1; i <= last; ++i) {
        const double d = ToDouble(Extended(series[i]) - series[i - 1]);
        const double up = d > 0.0 ? d : 0.0;
        const double fall = ToDouble(Extended(series[i - 1]) - series[i]);
        const double down = fall > 0.0 ? fall : 0.0;
        averageUp = ToDouble((keep * averageUp + up) / length);
        averageDown = ToDouble((keep * averageDown + down) / length);
        result[i] = ToDouble(100.0L * averageUp / (Extended(averageUp) + averageDown + kEpsilon));
    }
}

void CommodityChannel(double* result, const double* x1, const double* x2, const double* x3,
                      std::int32_t a, std::int32_t b, std::int32_t last) {
    if (last < 0) return;
    const std::int64_t size = std::int64_t{last} + 1;
    // T[0] and V[0 .. 89] are never computed; the working series are
    // zero-filled, so the averages that reach them count them as 0.
    Series typical = MakeSeries(size);
    for (std::int32_t i = 1; i <= last; ++i) {
        typical[i] = ToDouble((Extended(x1[i]) + x3[i] + x2[i]) * kOneThird);
        result[i] = 0.0;
    }
    Series average = MakeSeries(size);
    SimpleAverage(average.data(), typical.data(), a, last);
    Series deviation = MakeSeries(size);
    for (std::int32_t i = kChannelFirstBar; i <= last; ++i) {
        deviation[i] = ToDouble(std::fabs(Extended(typical[i]) - average[i]));
    }
    Series meanDeviation = MakeSeries(size);
    SimpleAverage(meanDeviation.data(), deviation.data(), b, last);
    for (std::int32_t i = kChannelFirstBar; i <= last; ++i) {
        result[i] = meanDeviation[i] == 0.0
                        ? 0.0
                        : ToDouble((Extended(typical[i]) - average[i]) / (kChannelScale * meanDeviation[i]));
    }
}

void CenterOfGravity(double* result, const double* high, const double* low, std::int32_t n,
                     std::int32_t last) {
    CentreOfGravity(result, high, low, n, last, false);
}

void CenterOfGravityOscillator(double* result, const double* high, const double* low, std::int32_t n,
                               std::int32_t last) {
    CentreOfGravity(result, high, low, n, last, true);
}

}  // namespace zentrik
