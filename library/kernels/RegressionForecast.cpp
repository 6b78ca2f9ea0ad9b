#include "RegressionForecast.h"

#include <cmath>

#include "Extended.h"
#include "Scratch.h"

namespace zentrik {
namespace {

constexpr Extended kDegreesPerRadian = 57.29577951308232L;
constexpr std::int32_t kLongestLineWindow = 51;

// The constants of an n-bar least-squares window, computed once per call.
// Sx and Sxx are exact integers; D = Sx^2 - n Sxx.
struct LineWindow {
    std::int32_t n;
    double sx;
    double sxx;
    double d;

    explicit LineWindow(std::int32_t length) : n(length) {
        const std::int64_t len = length;
        const std::int64_t sumX = len * (len - 1) / 2;
        const std::int64_t sumXX = len * (len - 1) * (2 * len - 1) / 6;
        sx = static_cast<double>(sumX);
        sxx = static_cast<double>(sumXX);
        d = ToDouble(Extended(sx) * sx - Extended(n) * sxx);
    }
};

// The fitted line of the window ending at bar i: c is its value at the
// oldest bar of the window, m its slope per bar forward in time.
struct Line {
    double c;
    double m;
};

Line FitLine(const LineWindow& w, const double* y, std::int32_t i) {
    double sy = 0.0;
    double sxy = 0.0;
    for (std::int32_t k = w.n - 1; k >= 0; --k) {  // oldest bar first
        const double value = y[i - k];
        sy = ToDouble(Extended(sy) + value);
        sxy = ToDouble(Extended(sxy) + Extended(k) * value);
    }
    // D is 0 only for a one-bar window; its line is taken as flat.
    const double m = w.d == 0.0 ? 0.0 : ToDouble((Extended(w.n) * sxy - Extended(w.sx) * sy) / w.d);
    const double c = ToDouble((Extended(sy) - Extended(m) * w.sx) / w.n);
    return {c, m};
}

// result[i] = c + t * m for bars first .. last.
void WriteLineValue(double* result, const double* source, std::int32_t last, std::int32_t n,
                    std::int32_t t, std::int32_t first) {
    const LineWindow window(n);
    for (std::int32_t i = first; i <= last; ++i) {
        const Line line = FitLine(window, source, i);
        result[i] = ToDouble(Extended(line.c) + Extended(t) * line.m);
    }
}

}  // namespace

void LinRegLine14(double* result, const double* source, std::int32_t last) {
    WriteLineValue(result, source, last, 14, 13, 50);
}

void LinRegLine14Late(double* result, const double* source, std::int32_t last) {
    WriteLineValue(result, source, last, 14, 13, 100);
}

void TimeSeriesForecast14(double* result, const double* source, std::int32_t last) {
    WriteLineValue(result, source, last, 14, 14, 100);
}

bool LinRegLineNWindowFits(std::int32_t n) { return n >= 1 && n <= kLongestLineWindow; }

void LinRegLineN(double* result, const double* source, std::int32_t last, std::int32_t n) {
    if (!LinRegLineNWindowFits(n)) return;
    WriteLineValue(result, source, last, n, n - 1, 50);
}

void LinRegAngle14(double* result, const double* source, std::int32_t last) {
    const LineWindow window(14);
    for (std::int32_t i = 50; i <= last; ++i) {
        const Line line = FitLine(window, source, i);
        result[i] = ToDouble(Extended(line.m) * kDegreesPerRadian);
    }
}

void LogTrendAngle(double* result, const double* source, std::int32_t count) {
    if (count < 1) return;
    Series returns = MakeSeries(std::int64_t{count} + 10);  // zero-filled: bar 0 and skipped bars read 0
    for (std::int32_t j = 1; j < count; ++j) {
        // A zero or non-finite price gives no ratio inside the band; it is
        // skipped without dividing, so it raises no floating-point fault.
        if (source[j - 1] == 0.0 || !std::isfinite(source[j - 1]) || !std::isfinite(source[j])) continue;
        const double q = ToDouble(Extended(source[j]) / source[j - 1]);
        if (q >= 0.5 && q <= 2.0) returns[j] = ToDouble(std::log(Extended(q)));
    }
    LinRegAngle14(result, returns.data(), count - 1);
}

namespace {

// Linearly weighted sum of `terms` bars ending at bar `end`, accumulated from
// bar `end` backwards with weights terms, terms - 1, ..., 1. The weight and
// the number of terms summed are doubles.
double WeightedSum(const double* source, std::int64_t end, std::int64_t terms, double& termCount) {
    double sum = 0.0;
    double weight = static_cast<double>(terms);
    termCount = 0.0;
    for (std::int64_t k = 0; k < terms; ++k) {
        sum = ToDouble(Extended(sum) + Extended(weight) * source[end - k]);
        weight = weight - 1.0;
        termCount = termCount + 1.0;
    }
    return sum;
}

// Linearly weighted average of the `terms` bars ending at `end`; the divisor
// is c (c + 1) / 2 with c the number of terms summed.
double WeightedMean(const double* source, std::int64_t end, std::int64_t terms) {
    double c = 0.0;
    const double sum = WeightedSum(source, end, terms, c);
    return ToDouble(Extended(sum) / (Extended(c) * (Extended(c) + 1.0L) / 2.0L));
}

}  // namespace

void PriceForecast(double* result, const double* source, std::int32_t L, std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) result[i] = 0.0;
    if (L < 0) return;
    const std::int64_t terms = std::int64_t{L} + 1;
    const Extended fullWeight = Extended(terms) * (Extended(terms) + 1.0L) / 2.0L;  // (L+1)(L+2)/2
    for (std::int64_t i = std::int64_t{L} + 10; i < count; ++i) {
        const double w1 = WeightedMean(source, i, terms);
        const double w2 = WeightedMean(source, i - 1, terms);
        const double d = ToDouble(2.0L * w1 - w2);
        double unusedCount = 0.0;
        const double s = WeightedSum(source, i, terms - 1, unusedCount);
        const double f = ToDouble((fullWeight * d - s) / Extended(terms));
        result[i] = ToDouble(Extended(f) - source[i]);
    }
}

}  // namespace zentrik
