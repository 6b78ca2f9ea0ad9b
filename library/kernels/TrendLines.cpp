#include "TrendLines.h"

#include <algorithm>
#include <cmath>

#include "Extended.h"
#include "HilbertPipeline.h"
#include "MovingAverages.h"
#include "Scratch.h"

namespace zentrik {
namespace {

// 1 / 3.1415926 in extended precision: the angle scale uses pi to seven
// decimals, not the full constant.
constexpr Extended kInverseShortPi = 1.0L / 3.1415926L;

// The first bar that the Hilbert trend line and the alligator flags write.
constexpr std::int32_t kFirstWrittenBar = 100;

// The three alligator lines of one call, each last + 5 doubles.
struct AlligatorLines {
    Series jaw, teeth, lips;
};

// J = SMA13, E = SMA8, P = SMA5 of the close over bars 0 .. last, then
// shifted forward 8, 5 and 3 bars for n = last down to 51, so every shifted
// value is an unshifted average. Needs last >= 51.
AlligatorLines MakeAlligatorLines(const double* close, std::int32_t last) {
    AlligatorLines lines{MakeSeries(std::int64_t{last} + 5), MakeSeries(std::int64_t{last} + 5),
                         MakeSeries(std::int64_t{last} + 5)};
    SimpleAverage(lines.jaw.data(), close, 13, last);
    SimpleAverage(lines.teeth.data(), close, 8, last);
    SimpleAverage(lines.lips.data(), close, 5, last);
    for (std::int32_t n = last; n >= 51; --n) {
        const auto i = static_cast<std::size_t>(n);
        lines.jaw[i] = lines.jaw[i - 8];
        lines.teeth[i] = lines.teeth[i - 5];
        lines.lips[i] = lines.lips[i - 3];
    }
    return lines;
}

// Runs one flag rule over bars 100 .. last.
template <class Rule>
void WriteAlligatorFlags(std::uint8_t* flags, const double* close, std::int32_t last, Rule rule) {
    if (last < kFirstWrittenBar) return;
    const AlligatorLines lines = MakeAlligatorLines(close, last);
    for (std::int32_t i = kFirstWrittenBar; i <= last; ++i) {
        const auto k = static_cast<std::size_t>(i);
        flags[i] = rule(close[i], lines.jaw[k], lines.teeth[k], lines.lips[k]) ? 1 : 0;
    }
}

}  // namespace

double TrendSlopeAngle(const double* series, std::int32_t start, std::int32_t end) {
    const std::int64_t first = std::max<std::int32_t>(start, 0);
    double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0, n = 0.0;
    for (std::int64_t j = first; j < end; ++j) {
        const std::int64_t x = j - first;
        sx = ToDouble(Extended(sx) + x);
        sy = ToDouble(Extended(sy) + series[j]);
        sxx = ToDouble(Extended(sxx) + x * x);  // x squared as an integer
        sxy = ToDouble(Extended(sxy) + Extended(x) * series[j]);
        n = n + 1.0;
    }
    if (n == 0.0) return 0.0;
    const double d = ToDouble(Extended(sx) * sx - Extended(n) * sxx);
    const double numerator = ToDouble(Extended(sx) * sy - Extended(n) * sxy);
    const double m = d == 0.0 ? numerator : ToDouble(Extended(numerator) / d);
    return ToDouble(std::atan(10.0L * n * m) * 90.0L * kInverseShortPi);
}

void HilbertTrendline(double* result, const double* series, std::int32_t last) {
    if (last < kFirstWrittenBar) return;
    // Degrees per radian, 180 / (4 atan(1)), rounded to double.
    const double degreesPerRadian = ToDouble(180.0L / (4.0L * std::atan(1.0L)));
    HilbertPipeline pipeline(series, last, 0, 34, degreesPerRadian);  // first bar 37

    double sp = 0.0;                      // smoothed cycle period
    double t1 = 0.0, t2 = 0.0, t3 = 0.0;  // T of the three bars before (0 before bar 37)
    while (pipeline.Step()) {
        const HilbertState& h = pipeline.State();
        const std::int32_t i = h.bar;
        sp = ToDouble(0.33L * h.period + 0.67L * sp);
        std::int64_t length = static_cast<std::int64_t>(Extended(sp) + 0.5L);
        // The period is limited to 50 and starts from 0, so the cycle length
        // never reaches back before bar 0; clipped all the same.
        length = std::min<std::int64_t>(length, std::int64_t{i} + 1);
        double trend = 0.0;
        if (length > 0) {
            // The mean of series[i], series[i - 1], ..., series[i - L + 1],
            // summed in a double in that order (newest price first).
            double sum = 0.0;
            for (std::int64_t j = i; j > i - length; --j) sum = ToDouble(Extended(sum) + series[j]);
            trend = ToDouble(Extended(sum) / static_cast<Extended>(length));
        }
        const double line = ToDouble((4.0L * trend + 3.0L * t1 + 2.0L * t2 + t3) * 0.1L);
        t3 = t2;
        t2 = t1;
        t1 = trend;
        if (i >= kFirstWrittenBar) result[i] = line;
    }
}

void AlligatorRisingFlags(std::uint8_t* flags, const double* /*high*/, const double* /*low*/,
                          const double* close, std::int32_t last) {
    WriteAlligatorFlags(flags, close, last,
                        [](double, double jaw, double teeth, double lips) { return lips > teeth && teeth > jaw; });
}

void AlligatorFallingFlags(std::uint8_t* flags, const double* /*high*/, const double* /*low*/,
                           const double* close, std::int32_t last) {
    WriteAlligatorFlags(flags, close, last,
                        [](double, double jaw, double teeth, double lips) { return jaw > teeth && teeth > lips; });
}

void PriceAboveAlligatorFlags(std::uint8_t* flags, const double* /*high*/, const double* /*low*/,
                              const double* close, std::int32_t last) {
    WriteAlligatorFlags(flags, close, last, [](double c, double jaw, double teeth, double lips) {
        return c > lips && c > teeth && c > jaw;
    });
}

void PriceBelowAlligatorFlags(std::uint8_t* flags, const double* /*high*/, const double* /*low*/,
                              const double* close, std::int32_t last) {
    WriteAlligatorFlags(flags, close, last, [](double c, double jaw, double teeth, double lips) {
        return c < lips && c < teeth && c < jaw;
    });
}

}  // namespace zentrik
