#include "StopLines.h"

#include <algorithm>
#include <cmath>

#include "Extended.h"
#include "MovingAverages.h"
#include "PriceHelpers.h"
#include "Scratch.h"

namespace zentrik {
namespace {

// Acceleration step and ceiling of both parabolic stops (doubles).
constexpr double kStep = 0.02;
constexpr double kCap = 0.2;

// The bar at which RegressionParabolic starts its first leg.
constexpr std::int32_t kParabolicStart = 200;

// Longest run of bars over which a trailing stop takes its extreme.
constexpr std::int32_t kRunCap = 50;

// a + step, capped at the ceiling.
double Accelerate(double a) {
    const double next = ToDouble(Extended(a) + kStep);
    return next > kCap ? kCap : next;
}

// One step of a stop towards its extreme point: s + a * (e - s).
double Approach(double s, double a, double e) { return ToDouble(Extended(s) + Extended(a) * (Extended(e) - s)); }

// The sums of a least-squares fit of values against their bar index j,
// each held as a double (j * j formed as an integer).
struct RegressionSums {
    double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
    void Add(std::int64_t j, double value) {
        sx = ToDouble(Extended(sx) + static_cast<Extended>(j));
        sy = ToDouble(Extended(sy) + value);
        sxx = ToDouble(Extended(sxx) + static_cast<Extended>(j * j));
        sxy = ToDouble(Extended(sxy) + static_cast<Extended>(j) * value);
    }
};

// The rules shared by SwingTrend and ChannelSwingTrend over a high and a low
// series.
void SwingRules(double* result, const double* high, const double* low, std::int32_t last) {
    if (last < 0) return;
    for (std::int32_t i = 0; i <= last; ++i) result[i] = 0.0;
    result[0] = high[0];
    double v = high[0];
    bool up = true;
    for (std::int32_t i = 2; i <= last; ++i) {
        if (up) {
            if (v < high[i] && low[i] > low[i - 1]) {
                v = high[i];
            } else if (v > high[i - 1] && v > high[i] && low[i] < low[i - 1] && low[i] < low[i - 2]) {
                up = false;
                v = low[i];
            }
        } else {
            if (v > low[i] && high[i] < high[i - 1]) {
                v = low[i];
            } else if (v < low[i - 1] && v < low[i] && high[i] > high[i - 1] && high[i] > high[i - 2]) {
                up = true;
                v = high[i];
            }
        }
        result[i] = v;
    }
}

// The run state of a trailing stop: the stop in force and the run length.
struct TrailingRun {
    double stop;
    double length = 0.0;  // held as a double

    // True when `value` lies on the other side of the stop than `before`.
    bool Crossed(double before, double value) const {
        return (before > stop && value < stop) || (before < stop && value > stop);
    }

    // Restarts the run after a crossing from bar i-1 (and bar i-2 when
    // `hasTwoBack`), counts the bar and returns the window length.
    std::int32_t Advance(const double* series, std::int32_t i, bool hasOneBack, bool hasTwoBack) {
        if ((hasOneBack && Crossed(series[i - 1], series[i])) || (hasTwoBack && Crossed(series[i - 2], series[i]))) {
            length = 0.0;
        }
        const bool belowCap = length < kRunCap;
        length = length + 1.0;
        return belowCap ? static_cast<std::int32_t>(length) : kRunCap;
    }
};

}  // namespace

void RegressionParabolic(double* result, const double* high, const double* low, const double* close,
                         std::int32_t n, std::int32_t last) {
    for (std::int32_t i = 0; i <= last; ++i) result[i] = close[i];
    if (last < kParabolicStart) return;
    const Extended lengthX = static_cast<Extended>(n);
    double extremeHigh = high[kParabolicStart];
    double extremeLow = low[kParabolicStart];
    double a = kStep;
    double previousSlope = 0.0;
    // Sums over bars 0 .. prefixEnd - 1, for the windows clipped at bar 0.
    RegressionSums prefix;
    std::int64_t prefixEnd = 0;
    for (std::int32_t i = kParabolicStart; i <= last; ++i) {
        // Least-squares slope of the closes of bars i-n .. i-1 against the
        // bar index, bars before 0 skipped. Each window is summed oldest bar
        // first; a window clipped at bar 0 is the previous clipped window
        // plus its newest bars, so its sums continue the running ones (the
        // same additions in the same order as summing afresh).
        const std::int64_t start = std::max<std::int64_t>(0, std::int64_t{i} - n);
        RegressionSums sums;
        if (start == 0) {
            for (; prefixEnd <= i - 1; ++prefixEnd) prefix.Add(prefixEnd, close[prefixEnd]);
            sums = prefix;
        } else {
            for (std::int64_t j = start; j <= i - 1; ++j) sums.Add(j, close[j]);
        }
        const double sx = sums.sx, sy = sums.sy, sxx = sums.sxx, sxy = sums.sxy;
        const double d = ToDouble(Extended(sx) * sx - lengthX * sxx);
        const double numerator = ToDouble(Extended(sx) * sy - lengthX * sxy);
        const double m = d == 0.0 ? numerator : ToDouble(Extended(numerator) / d);

        const bool turn = i == kParabolicStart || (previousSlope > 0.0 && m < 0.0) || (previousSlope < 0.0 && m > 0.0);
        if (turn) {
            extremeHigh = high[i];
            extremeLow = low[i];
            a = kStep;
            double range = 0.0;
            for (std::int32_t k = i - 5; k <= i - 1; ++k) range = ToDouble(Extended(range) + TrueRange(high, low, close, k));
            const double c = 5.0;
            if (m > 0.0) {
                result[i] = ToDouble(Extended(close[i]) - 3.0L * range / c);
            } else {
                result[i] = ToDouble(Extended(close[i]) + 3.0L * range / c);
            }
        } else {
            if (extremeHigh < high[i] && m > 0.0) {
                extremeHigh = high[i];
                a = ToDouble(Extended(a) + kStep);
            }
            if (extremeLow > low[i] && m < 0.0) {
                extremeLow = low[i];
                a = ToDouble(Extended(a) + kStep);
            }
            if (a > kCap) a = kCap;
            const double r = result[i - 1];
            if (m > 0.0) {
                result[i] = Approach(r, a, extremeHigh);
            } else if (m < 0.0) {
                result[i] = Approach(r, a, extremeLow);
            }  // a zero slope keeps the close
        }
        previousSlope = m;
    }
}

void ParabolicSar(double* result, const double* high, const double* low, const double* /*close*/,
                  std::int32_t last) {
    if (last < 0) return;
    // Short, with the stop and extreme at the first low: bar 0 turns long.
    bool isLong = false;
    double stop = low[0];
    double extreme = low[0];
    double a = kStep;
    for (std::int32_t k = 0; k <= last; ++k) {
        const std::int32_t previous = k > 0 ? k - 1 : 0;
        if (isLong) {
            if (low[k] > stop) {
                result[k] = stop;
                if (high[k] > extreme) {
                    extreme = high[k];
                    a = Accelerate(a);
                }
                stop = Approach(stop, a, extreme);
                stop = MinOfTwo(stop, low[previous]);
                stop = MinOfTwo(stop, low[k]);
            } else {
                isLong = false;
                stop = extreme;
                stop = MaxOfTwo(stop, high[previous]);
                stop = MaxOfTwo(stop, high[k]);
                result[k] = stop;
                a = kStep;
                extreme = low[k];
                stop = Approach(stop, a, extreme);
                stop = MaxOfTwo(stop, high[previous]);
                stop = MaxOfTwo(stop, high[k]);
            }
        } else {
            if (high[k] < stop) {
                result[k] = stop;
                if (low[k] < extreme) {
                    extreme = low[k];
                    a = Accelerate(a);
                }
                stop = Approach(stop, a, extreme);
                stop = MaxOfTwo(stop, high[previous]);
                stop = MaxOfTwo(stop, high[k]);
            } else {
                isLong = true;
                stop = extreme;
                stop = MinOfTwo(stop, low[previous]);
                stop = MinOfTwo(stop, low[k]);
                result[k] = stop;
                a = kStep;
                extreme = high[k];
                stop = Approach(stop, a, extreme);
                stop = MinOfTwo(stop, low[previous]);
                stop = MinOfTwo(stop, low[k]);
            }
        }
    }
}

void SwingTrend(double* result, const double* high, const double* low, const double* /*close*/, std::int32_t last) {
    SwingRules(result, high, low, last);
}

void ChannelSwingTrend(double* result, const double* high, const double* low, const double* /*close*/,
                       std::int32_t last, std::int32_t n) {
    if (last < 0) return;
    const std::int64_t size = std::int64_t{last} + 1;
    Series channelHigh = MakeSeries(size), channelLow = MakeSeries(size);
    for (std::int32_t i = 0; i <= last; ++i) {
        channelHigh[i] = WindowMax(high, n, i);
        channelLow[i] = WindowMin(low, n, i);
        result[i] = 0.0;
    }
    SwingRules(result, channelHigh.data(), channelLow.data(), last);
}

void WatrTrailingStop(double* result, const double* high, const double* low, const double* close,
                      std::int32_t last, std::int32_t n, double x) {
    if (last < 0) return;
    const std::int64_t size = std::int64_t{last} + 1;
    // T[0] is never computed and stays 0.
    Series trueRange = MakeSeries(size), weighted = MakeSeries(size);
    for (std::int32_t i = 1; i <= last; ++i) {
        const double previousClose = close[i - 1];
        // The third term reaches from the previous low to the current high.
        trueRange[i] = MaxOfThree(ToDouble(std::fabs(Extended(low[i]) - previousClose)),
                                  ToDouble(std::fabs(Extended(high[i]) - previousClose)),
                                  ToDouble(std::fabs(Extended(high[i]) - low[i - 1])));
    }
    if (last >= 1) WeightedAverage(weighted.data(), trueRange.data(), n, last);

    TrailingRun run{close[0]};
    result[0] = close[0];
    for (std::int32_t i = 1; i <= last; ++i) {
        const bool rising = close[i] > run.stop;
        const std::int32_t k = run.Advance(close, i, true, i > 1);
        if (rising) {
            run.stop = ToDouble(Extended(WindowMax(close, k, i)) - Extended(x) * weighted[i]);
        } else {
            run.stop = ToDouble(Extended(WindowMin(close, k, i)) + Extended(x) * weighted[i]);
        }
        result[i] = run.stop;
    }
}

void PercentTrailingStop(double* result, const double* series, double p, std::int32_t last) {
    if (last < 0) return;
    // The same factor on both sides.
    const double f = ToDouble(1.0L - 0.01L * p);
    TrailingRun run{series[0]};
    result[0] = series[0];
    for (std::int32_t i = 0; i <= last; ++i) {
        const bool rising = series[i] > run.stop;
        const std::int32_t k = run.Advance(series, i, i > 0, i > 1);
        if (rising) {
            run.stop = ToDouble(Extended(WindowMax(series, k, i)) * f);
        } else {
            run.stop = ToDouble(Extended(WindowMin(series, k, i)) * f);
        }
        result[i] = run.stop;
    }
}

}  // namespace zentrik
