#include "DirectionalMovement.h"

#include <algorithm>
#include <cmath>

#include "Extended.h"
#include "MovingAverages.h"
#include "PriceHelpers.h"
#include "Scratch.h"

namespace zentrik {
namespace {

// Up move of bar k: high[k] - high[k-1].
double UpMove(const double* high, std::int64_t k) { return ToDouble(Extended(high[k]) - high[k - 1]); }

// Down move of bar k: low[k-1] - low[k].
double DownMove(const double* low, std::int64_t k) { return ToDouble(Extended(low[k - 1]) - low[k]); }

// The ratios of DirectionalMovementIndex (scale 1) and DirectionalSpread
// (scale 100) for bars 1 .. last; a bar without range carries the previous
// ratios over. P[0] and M[0] stay 0.
void RangeRatios(Series& plus, Series& minus, const double* high, const double* low, std::int32_t last,
                 bool percent) {
    for (std::int32_t i = 1; i <= last; ++i) {
        const double g = ToDouble(Extended(high[i]) - low[i]);
        if (g == 0.0) {
            plus[i] = plus[i - 1];
            minus[i] = minus[i - 1];
        } else if (percent) {
            plus[i] = ToDouble((Extended(high[i]) - high[i - 1]) * 100.0L / g);
            minus[i] = ToDouble((Extended(low[i - 1]) - low[i]) * 100.0L / g);
        } else {
            plus[i] = ToDouble((Extended(high[i]) - high[i - 1]) / g);
            minus[i] = ToDouble((Extended(low[i - 1]) - low[i]) / g);
        }
    }
}

// Wilder's running sum of one side of the movement (SmoothedPlusDm and
// SmoothedMinusDm), n' = max(n, 2). The plus side adds up when up > 0 and
// up > down; the minus side adds down when down > 0 and up < down.
void RunningSum(double* result, const double* high, const double* low, std::int32_t n, std::int32_t count,
                bool plusSide) {
    const std::int64_t fillEnd = std::min<std::int64_t>(99, std::int64_t{count} - 1);
    for (std::int64_t i = 0; i <= fillEnd; ++i) result[i] = 50.0;
    const std::int64_t period = std::max<std::int64_t>(n, 2);
    const Extended periodX = static_cast<Extended>(period);
    double s = 0.0;
    for (std::int64_t k = 1; k < count; ++k) {
        const double up = UpMove(high, k);
        const double down = DownMove(low, k);
        if (k >= period) s = ToDouble(Extended(s) - Extended(s) / periodX);
        if (plusSide) {
            if (up > 0.0 && up > down) s = ToDouble(Extended(s) + up);
        } else if (down > 0.0 && up < down) {
            s = ToDouble(Extended(s) + down);
        }
        if (k >= period + 49) result[k] = s;
    }
}

}  // namespace

void AverageDirectionalMovement(const double* high, const double* low, const double* close,
                                std::int32_t last, std::int32_t n, double* result) {
    if (last < 0) return;
    const std::int64_t size = std::int64_t{last} + 1;
    Series plus = MakeSeries(size), minus = MakeSeries(size);
    for (std::int32_t i = 1; i <= last; ++i) {
        double u = high[i] > high[i - 1] ? UpMove(high, i) : 0.0;
        double d = low[i] < low[i - 1] ? DownMove(low, i) : 0.0;
        // Only the larger move counts; a tie counts for neither.
        if (u < d) {
            u = 0.0;
        } else if (d < u) {
            d = 0.0;
        } else {
            u = 0.0;
            d = 0.0;
        }
        const double previousClose = close[i - 1];
        // The third term reaches from the previous low to the current high.
        const double r = MaxOfThree(ToDouble(std::fabs(Extended(low[i]) - previousClose)),
                                    ToDouble(std::fabs(Extended(high[i]) - previousClose)),
                                    ToDouble(std::fabs(Extended(high[i]) - low[i - 1])));
        if (r == 0.0) {
            plus[i] = 0.0;
            minus[i] = 0.0;
        } else {
            plus[i] = ToDouble(Extended(u) / r);
            minus[i] = ToDouble(Extended(d) / r);
        }
    }
    Series smoothedPlus = MakeSeries(size), smoothedMinus = MakeSeries(size), spread = MakeSeries(size);
    ExponentialSmoothing(smoothedPlus.data(), plus.data(), n, last);
    ExponentialSmoothing(smoothedMinus.data(), minus.data(), n, last);
    for (std::int32_t i = 0; i <= last; ++i) {
        const double ep = smoothedPlus[i];
        const double em = smoothedMinus[i];
        spread[i] = ToDouble(std::fabs((Extended(ep) - em) * 100.0L / (Extended(ep) + em + kEpsilon)));
    }
    ExponentialSmoothing(result, spread.data(), n, last);
}

void DirectionalMovementIndex(double* result, const double* high, const double* low, std::int32_t n,
                              std::int32_t last) {
    if (last < 1) return;
    const std::int64_t size = std::int64_t{last} + 1;
    Series plus = MakeSeries(size), minus = MakeSeries(size);
    RangeRatios(plus, minus, high, low, last, false);
    Series averagePlus = MakeSeries(size), averageMinus = MakeSeries(size);
    SimpleAverage(averagePlus.data(), plus.data(), n, last);
    SimpleAverage(averageMinus.data(), minus.data(), n, last);
    for (std::int32_t i = 1; i <= last; ++i) result[i] = ToDouble(Extended(averagePlus[i]) - averageMinus[i]);
}

void DirectionalSpread(double* result, const double* high, const double* low, std::int32_t last) {
    if (last < 1) return;
    const std::int64_t size = std::int64_t{last} + 1;
    Series plus = MakeSeries(size), minus = MakeSeries(size);
    RangeRatios(plus, minus, high, low, last, true);
    for (std::int32_t i = 1; i <= last; ++i) result[i] = ToDouble(std::fabs(Extended(plus[i]) - minus[i]));
}

void WilderAdx(double* result, const double* high, const double* low, const double* /*close*/, std::int32_t n,
               std::int32_t count) {
    const std::int64_t period = std::max<std::int64_t>(n, 1);
    const Extended periodX = static_cast<Extended>(period);
    const Extended keepX = static_cast<Extended>(period - 1);
    const std::int64_t firstWritten = 2 * period + 50;
    if (std::int64_t{count} - 1 < firstWritten) return;  // too few bars for the warm-up
    double sumMinus = 0.0;
    double sumPlus = 0.0;
    double total = 0.0;
    double average = 0.0;
    for (std::int64_t k = 1; k < count; ++k) {
        if (k > period) {
            sumMinus = ToDouble(Extended(sumMinus) - Extended(sumMinus) / periodX);
            sumPlus = ToDouble(Extended(sumPlus) - Extended(sumPlus) / periodX);
        }
        const double up = UpMove(high, k);
        const double down = DownMove(low, k);
        if (down > 0.0 && up < down) {
            sumMinus = ToDouble(Extended(sumMinus) + down);
        } else if (up > 0.0 && up > down) {
            sumPlus = ToDouble(Extended(sumPlus) + up);
        }
        if (k <= period) continue;
        // No directional movement at all so far: the index is 0.
        const double dx = (sumMinus == 0.0 && sumPlus == 0.0)
                              ? 0.0
                              : ToDouble(100.0L * std::fabs(Extended(sumMinus) - sumPlus) /
                                         (Extended(sumMinus) + sumPlus));
        if (k <= 2 * period) {
            total = ToDouble(Extended(total) + dx);
            if (k == 2 * period) average = ToDouble(Extended(total) / periodX);
            continue;
        }
        average = ToDouble((keepX * average + dx) / periodX);
        if (k >= firstWritten) result[k] = average;
    }
}

void SmoothedPlusDm(double* result, const double* high, const double* low, std::int32_t n,
                    std::int32_t count) {
    RunningSum(result, high, low, n, count, true);
}

void SmoothedMinusDm(double* result, const double* high, const double* low, std::int32_t n,
                     std::int32_t count) {
    RunningSum(result, high, low, n, count, false);
}

}  // namespace zentrik
