#include "AdaptiveAverages.h"

#include <algorithm>
#include <cmath>

#include "Extended.h"
#include "HilbertPipeline.h"

namespace zentrik {
namespace {

// Kaufman constants: s = 2/31 and d = 2/3 - 2/31, both rounded to double.
constexpr double kSlowConstant = 0.06451612903225806;
constexpr double kFastMinusSlow = 0.6021505376344085;
constexpr std::int32_t kEfficiencyWindow = 50;
constexpr std::int32_t kKaufmanFirstWritten = 101;

// MESA limits (doubles).
constexpr double kFastLimit = 0.5;
constexpr double kSlowLimit = 0.05;
constexpr std::int32_t kMesaBase = 50;
constexpr std::int32_t kMesaWarmUp = 9;
constexpr std::int32_t kMesaFirstBar = kMesaBase + 3 + kMesaWarmUp;  // 62
constexpr std::int32_t kMesaFirstWritten = 100;

// pi rounded to extended precision.
constexpr Extended kPi = 3.14159265358979323846264338327950288L;

// |a - b| formed in extended precision.
Extended AbsDifference(double a, double b) { return std::fabs(Extended(a) - b); }

// c = (E * d + s)^2, each step rounded to double.
double KaufmanFactor(double efficiency) {
    double c = ToDouble(Extended(efficiency) * kFastMinusSlow + kSlowConstant);
    c = ToDouble(Extended(c) * c);
    return c;
}

// E = |net / V|, 0 when the path is 0.
double KaufmanEfficiency(double net, double path) {
    return path == 0.0 ? 0.0 : ToDouble(std::fabs(Extended(net) / path));
}

}  // namespace

double EfficiencyRatio(const double* series, const double* /*unused*/, std::int32_t n, std::int32_t i) {
    if (n < 1) return 0.0;
    const std::int64_t first = std::int64_t{i} - n;
    if (first < 0) return 0.0;
    const double net = ToDouble(AbsDifference(series[i - 1], series[first]));
    double path = 0.0;
    for (std::int64_t j = first + 1; j <= std::int64_t{i} - 1; ++j) {
        path = ToDouble(Extended(path) + AbsDifference(series[j], series[j - 1]));
    }
    const Extended total = Extended(net) + path;
    if (total == 0.0L) return 0.0;
    return ToDouble(Extended(net) / total);
}

void KaufmanAdaptiveAverage(double* result, const double* series, std::int32_t last) {
    if (last < kKaufmanFirstWritten) return;

    // Path over the first window: the 50 single-bar moves up to bar 50.
    double path = 0.0;
    for (std::int32_t k = 1; k <= kEfficiencyWindow; ++k) {
        path = ToDouble(Extended(path) + AbsDifference(series[k - 1], series[k]));
    }

    double average = series[kEfficiencyWindow - 1];
    {
        const double net = ToDouble(Extended(series[kEfficiencyWindow]) - series[0]);
        const double c = KaufmanFactor(KaufmanEfficiency(net, path));
        average = ToDouble(Extended(average) + Extended(c) * (Extended(series[kEfficiencyWindow]) - average));
    }

    for (std::int32_t b = kEfficiencyWindow + 1; b <= last; ++b) {
        // Running path: the oldest move leaves, the newest enters.
        path = ToDouble(Extended(path) - AbsDifference(series[b - 51], series[b - 50]) +
                        AbsDifference(series[b], series[b - 1]));
        const double net = ToDouble(Extended(series[b]) - series[b - kEfficiencyWindow]);
        const double c = KaufmanFactor(KaufmanEfficiency(net, path));
        average = ToDouble(Extended(average) + Extended(c) * (Extended(series[b]) - average));
        if (b >= kKaufmanFirstWritten) result[b] = average;
    }
}

void MesaAdaptiveAverage(double* result, const double* series, std::int32_t last) {
    if (last < kMesaFirstBar) return;
    // Degrees per radian: 180 / pi.
    const double degreesPerRadian = ToDouble(180.0L / kPi);

    HilbertPipeline pipeline(series, last, kMesaBase, kMesaWarmUp, degreesPerRadian);
    double previousPhase = 0.0;
    double average = 0.0;
    while (pipeline.Step()) {
        const HilbertState& h = pipeline.State();
        const std::int32_t i = h.bar;
        const double phase =
            h.inPhase == 0.0 ? 0.0
                             : ToDouble(std::atan(Extended(h.quadrature) / h.inPhase) * degreesPerRadian);
        double delta = ToDouble(Extended(previousPhase) - phase);
        delta = std::max(delta, 1.0);
        double alpha = kFastLimit;
        if (delta > 1.0) {
            const Extended ratio = Extended(kFastLimit) / delta;
            alpha = ratio > kSlowLimit ? ToDouble(ratio) : kSlowLimit;
        }
        average = ToDouble(Extended(alpha) * series[i] + (1.0L - alpha) * average);
        previousPhase = phase;
        if (i >= kMesaFirstWritten) result[i] = average;
    }
}

}  // namespace zentrik
