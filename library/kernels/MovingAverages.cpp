#include "MovingAverages.h"

#include <algorithm>

#include "Extended.h"

namespace zentrik {
namespace {

// First index of the window of `period` bars ending at `index`, clipped at 0.
// Computed in 64 bits so that no period value overflows.
std::int64_t WindowStart(std::int32_t period, std::int32_t index) {
    return std::max<std::int64_t>(0, std::int64_t{index} - period + 1);
}

// a = 2 / (period + 1), rounded once to double.
double SmoothingFactor(std::int32_t period) {
    return ToDouble(2.0L / static_cast<Extended>(std::int64_t{period} + 1));
}

constexpr double kMaxSentinel = -10000000.0;
constexpr double kMinSentinel = 10000000.0;

}  // namespace

void SimpleAverage(double* out, const double* src, std::int32_t period, std::int32_t last) {
    for (std::int32_t i = 0; i <= last; ++i) {
        double sum = 0.0;
        double n = 0.0;
        for (std::int64_t j = WindowStart(period, i); j <= i; ++j) {
            sum = ToDouble(Extended(sum) + src[j]);
            n = n + 1.0;
        }
        out[i] = n > 0.0 ? ToDouble(Extended(sum) / n) : 0.0;
    }
}

void ExponentialSmoothing(double* out, const double* src, std::int32_t period, std::int32_t last) {
    const double a = SmoothingFactor(period);
    out[0] = src[0];
    for (std::int32_t i = 1; i <= last; ++i) {
        out[i] = ToDouble(Extended(a) * src[i] + (1.0L - a) * out[i - 1]);
    }
}

void ExponentialAverage(double* out, const double* src, std::int32_t period, std::int32_t last) {
    if (last < 0) return;
    const double a = SmoothingFactor(period);
    const std::int32_t leadEnd = std::min<std::int32_t>(50, last);
    double e = src[0];
    for (std::int32_t k = 0; k <= leadEnd; ++k) {
        e = ToDouble(Extended(e) + (Extended(src[k]) - e) * a);
    }
    for (std::int32_t k = 0; k <= leadEnd; ++k) out[k] = src[k];
    for (std::int32_t i = 51; i <= last; ++i) {
        e = ToDouble(Extended(e) + (Extended(src[i]) - e) * a);
        out[i] = e;
    }
}

void WeightedAverage(double* out, const double* src, std::int32_t period, std::int32_t last) {
    for (std::int32_t i = 0; i <= last; ++i) {
        double w = 1.0;
        double s = 0.0;
        double ws = 0.0;
        for (std::int64_t j = WindowStart(period, i); j <= i; ++j) {
            s = ToDouble(Extended(s) + Extended(src[j]) * w);
            ws = ws + w;
            w = w + 1.0;
        }
        // An empty window (period < 1) divides 0 by 0: an invalid operation
        // that the entry reports.
        out[i] = ToDouble(Extended(s) / ws);
    }
}

double WindowMax(const double* src, std::int32_t period, std::int32_t index) {
    double best = kMaxSentinel;
    for (std::int64_t j = WindowStart(period, index); j <= index; ++j) {
        if (src[j] > best) best = src[j];
    }
    return best == kMaxSentinel ? 0.0 : best;
}

double WindowMin(const double* src, std::int32_t period, std::int32_t index) {
    double best = kMinSentinel;
    for (std::int64_t j = WindowStart(period, index); j <= index; ++j) {
        if (src[j] < best) best = src[j];
    }
    return best == kMinSentinel ? 0.0 : best;
}

}  // namespace zentrik
